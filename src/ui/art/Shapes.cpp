#include "ui/art/Drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace art {

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void BeginSmooth(QPainter& painter, QImage& image) {
  painter.begin(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

void DrawMagnifierPlus(QPainter& p, const QRectF& box) {
  const qreal s = box.width();
  const QPointF centre(box.left() + s * 0.40, box.top() + s * 0.40);
  const qreal radius = s * 0.31;

  // Handle first, so the rim covers its inner end.
  QPen handle(QColor(0x5a, 0x3a, 0x1e), s * 0.16, Qt::SolidLine, Qt::RoundCap);
  p.setPen(handle);
  p.drawLine(QPointF(box.left() + s * 0.64, box.top() + s * 0.64),
             QPointF(box.left() + s * 0.90, box.top() + s * 0.90));

  QRadialGradient glass(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
  glass.setColorAt(0, QColor(0xf4, 0xfb, 0xff, 235));
  glass.setColorAt(1, QColor(0xa8, 0xcf, 0xee, 235));
  p.setBrush(glass);
  p.setPen(QPen(QColor(0x3c, 0x44, 0x50), s * 0.09));
  p.drawEllipse(centre, radius, radius);

  QPen plus(QColor(0x1f, 0x7a, 0x2e), s * 0.09, Qt::SolidLine, Qt::RoundCap);
  p.setPen(plus);
  const qreal arm = radius * 0.52;
  p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
  p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void DrawLandscape(QPainter& p, const QRectF& box) {
  const qreal s = box.width();
  const QRectF photo = box.adjusted(s * 0.04, s * 0.14, -s * 0.04, -s * 0.14);
  // White print border with a thin dark edge, as a photo on a desk.
  p.setPen(QPen(QColor(0x55, 0x55, 0x55), qMax<qreal>(1.0, s * 0.04)));
  p.setBrush(QColor(0xfa, 0xfa, 0xfa));
  p.drawRoundedRect(photo, s * 0.06, s * 0.06);

  const QRectF scene = photo.adjusted(s * 0.09, s * 0.09, -s * 0.09, -s * 0.09);
  p.save();
  p.setClipRect(scene);
  QLinearGradient sky(scene.topLeft(), scene.bottomLeft());
  sky.setColorAt(0, QColor(0x4f, 0x9d, 0xe8));
  sky.setColorAt(1, QColor(0xbf, 0xe3, 0xff));
  p.fillRect(scene, sky);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xd2, 0x3f));
  p.drawEllipse(QPointF(scene.right() - scene.width() * 0.22, scene.top() + scene.height() * 0.28),
                scene.height() * 0.17, scene.height() * 0.17);
  QPainterPath far;
  far.moveTo(scene.left(), scene.bottom());
  far.lineTo(scene.left() + scene.width() * 0.38, scene.top() + scene.height() * 0.35);
  far.lineTo(scene.left() + scene.width() * 0.70, scene.bottom());
  p.setBrush(QColor(0x6f, 0x7f, 0x92));
  p.drawPath(far);
  QPainterPath hill;
  hill.moveTo(scene.left(), scene.bottom());
  hill.quadTo(scene.left() + scene.width() * 0.6, scene.top() + scene.height() * 0.45,
              scene.right(), scene.top() + scene.height() * 0.7);
  hill.lineTo(scene.right(), scene.bottom());
  p.setBrush(QColor(0x3f, 0xa3, 0x3c));
  p.drawPath(hill);
  p.restore();
}

void DrawNoEntry(QPainter& p, const QRectF& box, const QColor& disc) {
  const qreal s = box.width();
  const QPointF centre = box.center();
  p.setPen(QPen(disc.darker(150), qMax<qreal>(1.0, s * 0.06)));
  p.setBrush(disc);
  p.drawEllipse(centre, s * 0.45, s * 0.45);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(centre.x() - s * 0.30, centre.y() - s * 0.09, s * 0.60, s * 0.18),
                    s * 0.03, s * 0.03);
}

void DrawPerson(QPainter& p, const QRectF& box) {
  const qreal s = box.width();
  QLinearGradient body(box.topLeft(), box.bottomLeft());
  body.setColorAt(0, QColor(0x5d, 0x7f, 0xa6));
  body.setColorAt(1, QColor(0x27, 0x3f, 0x5c));
  p.setBrush(body);
  p.setPen(QPen(QColor(0x1a, 0x2a, 0x3d), qMax<qreal>(1.0, s * 0.02)));

  QPainterPath shoulders;
  shoulders.moveTo(box.left() + s * 0.08, box.bottom() - s * 0.02);
  shoulders.cubicTo(box.left() + s * 0.08, box.top() + s * 0.62, box.left() + s * 0.28,
                    box.top() + s * 0.56, box.center().x(), box.top() + s * 0.56);
  shoulders.cubicTo(box.right() - s * 0.28, box.top() + s * 0.56, box.right() - s * 0.08,
                    box.top() + s * 0.62, box.right() - s * 0.08, box.bottom() - s * 0.02);
  shoulders.closeSubpath();
  p.drawPath(shoulders);
  p.drawEllipse(QPointF(box.center().x(), box.top() + s * 0.30), s * 0.20, s * 0.22);
}

QPainterPath StarPath(const QPointF& centre, qreal outer, qreal inner) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const qreal radius = (i % 2 == 0) ? outer : inner;
    const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
    const QPointF point = centre + QPointF(qCos(angle), qSin(angle)) * radius;
    if (i == 0)
      star.moveTo(point);
    else
      star.lineTo(point);
  }
  star.closeSubpath();
  return star;
}

}  // namespace art
