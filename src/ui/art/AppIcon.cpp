#include <QLinearGradient>
#include <QRadialGradient>

#include "ui/art/Drawing.h"
#include "ui/art/Pictures.h"

namespace art {

QImage AppIcon(int size) {
  QImage image = Canvas(size, size);
  QPainter p;
  BeginSmooth(p, image);
  const qreal s = size;
  const QPointF c(s / 2, s / 2);
  const qreal rim = qMax<qreal>(1.2, s * 0.07);

  QLinearGradient silver(QPointF(0, 0), QPointF(0, s));
  silver.setColorAt(0, QColor(0xf2, 0xf4, 0xf6));
  silver.setColorAt(1, QColor(0xa6, 0xac, 0xb4));
  p.setPen(Qt::NoPen);
  p.setBrush(silver);
  p.drawEllipse(c, s / 2 - 0.5, s / 2 - 0.5);
  QRadialGradient black(c - QPointF(s * 0.12, s * 0.12), s * 0.5);
  black.setColorAt(0, QColor(0x30, 0x30, 0x34));
  black.setColorAt(1, QColor(0x04, 0x04, 0x06));
  p.setBrush(black);
  p.drawEllipse(c, s / 2 - 0.5 - rim, s / 2 - 0.5 - rim);

  QLinearGradient blue(QPointF(0, s * 0.15), QPointF(0, s * 0.85));
  blue.setColorAt(0, QColor(0x7c, 0xb8, 0xff));
  blue.setColorAt(1, QColor(0x1e, 0x5c, 0xe0));
  p.setBrush(blue);
  p.setPen(size >= 32 ? QPen(QColor(0x0e, 0x2c, 0x70), s / 48.0) : Qt::NoPen);
  p.drawPath(StarPath(c + QPointF(0, s * 0.03), s * 0.34, s * 0.14));
  p.end();
  return image;
}

}  // namespace art
