#include <QFont>
#include <QLinearGradient>
#include <QRadialGradient>

#include "ui/art/Drawing.h"
#include "ui/art/Pictures.h"

namespace art {

namespace {

const QColor kAccent(0xd0, 0x34, 0x52);

// The site's mark: a ring with a star in it.
void DrawLogo(QPainter& p, const QRectF& box) {
  const QPointF c = box.center();
  const qreal r = box.width() / 2;
  QLinearGradient ring(box.topLeft(), box.bottomRight());
  ring.setColorAt(0, QColor(0xff, 0x6a, 0x7e));
  ring.setColorAt(1, QColor(0xa8, 0x1c, 0x46));
  p.setPen(Qt::NoPen);
  p.setBrush(ring);
  QPainterPath disc;
  disc.addEllipse(c, r, r);
  QPainterPath hole;
  hole.addEllipse(c, r * 0.70, r * 0.70);
  p.drawPath(disc.subtracted(hole));
  p.setBrush(QColor(0xf6, 0xf2, 0xf0));
  p.drawPath(StarPath(c, r * 0.52, r * 0.22));
}

// A faint field of small stars for the part of the banner that only the full
// layout shows; a fixed sequence, so every build draws the same picture.
void DrawStarField(QPainter& p, const QRectF& area) {
  quint32 seed = 20120817u;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / double(1u << 24);
  };
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 70; ++i) {
    const QPointF at(area.left() + next() * area.width(), area.top() + next() * area.height());
    const qreal fade = (at.x() - area.left()) / area.width();  // brighter toward the right
    const qreal size = 0.5 + next() * 1.1;
    p.setBrush(QColor(0xc8, 0xd8, 0xff, int(30 + 120 * fade * next())));
    p.drawEllipse(at, size, size);
  }
}

}  // namespace

QImage Banner() {
  QImage image(815, 47, QImage::Format_RGB32);
  QPainter p;
  BeginSmooth(p, image);

  QLinearGradient night(QPointF(0, 0), QPointF(0, 47));
  night.setColorAt(0, QColor(0x2c, 0x32, 0x3e));
  night.setColorAt(1, QColor(0x12, 0x15, 0x1b));
  p.fillRect(image.rect(), night);
  QRadialGradient glow(QPointF(650, 10), 260);
  glow.setColorAt(0, QColor(0x4a, 0x5a, 0x88, 90));
  glow.setColorAt(1, QColor(0x4a, 0x5a, 0x88, 0));
  p.fillRect(image.rect(), glow);
  DrawStarField(p, QRectF(440, 3, 370, 40));

  DrawLogo(p, QRectF(8, 6, 34, 34));

  QFont title("DejaVu Sans");
  title.setPixelSize(21);
  title.setBold(true);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  p.setFont(title);
  p.setPen(QColor(0xf4, 0xf4, 0xf6));
  p.drawText(QPointF(51, 25), "OSTRANA");

  QFont subtitle("DejaVu Sans");
  subtitle.setPixelSize(11);
  subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
  p.setFont(subtitle);
  p.setPen(QColor(0xa8, 0xb6, 0xca));
  p.drawText(QPointF(52, 40), "Wallpaper Downloader  v1.5");

  // Thin accent line along the bottom edge.
  p.fillRect(QRectF(0, 46, 815, 1), kAccent);
  p.end();
  return image;
}

}  // namespace art
