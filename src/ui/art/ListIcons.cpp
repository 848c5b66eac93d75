#include <QLinearGradient>
#include <QRadialGradient>

#include "ui/art/Drawing.h"
#include "ui/art/Pictures.h"

namespace art {

namespace {

// An arrow pointing up in a 7 x 14 column at `left`; `down` flips it.
void DrawArrow(QPainter& p, qreal left, bool down, const QColor& fill) {
  QPainterPath arrow;
  arrow.moveTo(left + 3.5, 1.0);
  arrow.lineTo(left + 7.0, 6.0);
  arrow.lineTo(left + 5.0, 6.0);
  arrow.lineTo(left + 5.0, 15.0);
  arrow.lineTo(left + 2.0, 15.0);
  arrow.lineTo(left + 2.0, 6.0);
  arrow.lineTo(left + 0.0, 6.0);
  arrow.closeSubpath();
  if (down) {
    QTransform flip;
    flip.translate(0, 16);
    flip.scale(1, -1);
    arrow = flip.map(arrow);
  }
  p.setBrush(fill);
  p.setPen(QPen(fill.darker(170), 0.9));
  p.drawPath(arrow);
}

void DrawBusy(QPainter& p) {
  DrawArrow(p, 0.5, false, QColor(0xff, 0xd4, 0x1c));
  DrawArrow(p, 8.5, true, QColor(0x34, 0xb8, 0x3a));
}

void DrawIdle(QPainter& p) {
  QLinearGradient grey(QPointF(0, 3), QPointF(0, 13));
  grey.setColorAt(0, QColor(0xc4, 0xc8, 0xcc));
  grey.setColorAt(1, QColor(0x8a, 0x8f, 0x94));
  p.setBrush(grey);
  p.setPen(QPen(QColor(0x5c, 0x60, 0x64), 1.0));
  p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
}

void DrawPlay(QPainter& p) {
  QPainterPath triangle;
  triangle.moveTo(4.0, 2.5);
  triangle.lineTo(13.5, 8.0);
  triangle.lineTo(4.0, 13.5);
  triangle.closeSubpath();
  QLinearGradient grey(QPointF(0, 2), QPointF(0, 14));
  grey.setColorAt(0, QColor(0xb4, 0xb8, 0xbc));
  grey.setColorAt(1, QColor(0x78, 0x7c, 0x80));
  p.setBrush(grey);
  p.setPen(QPen(QColor(0x50, 0x54, 0x58), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
  p.drawPath(triangle);
}

void DrawLadybird(QPainter& p) {
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 0.8));
  // Legs and feelers.
  p.drawLine(QPointF(3, 6), QPointF(13, 6));
  p.drawLine(QPointF(2.5, 10), QPointF(13.5, 10));
  p.drawLine(QPointF(6.5, 2.5), QPointF(5.5, 0.8));
  p.drawLine(QPointF(9.5, 2.5), QPointF(10.5, 0.8));
  p.setBrush(QColor(0x18, 0x18, 0x18));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(8, 3.6), 2.6, 2.2);
  QRadialGradient shell(QPointF(6.5, 7.5), 7);
  shell.setColorAt(0, QColor(0xff, 0x5a, 0x3c));
  shell.setColorAt(1, QColor(0xc8, 0x10, 0x10));
  p.setBrush(shell);
  p.setPen(QPen(QColor(0x6a, 0x08, 0x08), 0.8));
  p.drawEllipse(QPointF(8, 9.5), 5.6, 5.6);
  p.setPen(QPen(QColor(0x18, 0x18, 0x18), 0.8));
  p.drawLine(QPointF(8, 4.3), QPointF(8, 15.0));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x18, 0x18, 0x18));
  for (const QPointF& dot : {QPointF(5.3, 8), QPointF(10.7, 8), QPointF(5.6, 12), QPointF(10.4, 12)})
    p.drawEllipse(dot, 1.2, 1.2);
}

}  // namespace

QImage ListIcon(int index) {
  QImage image = Canvas(16, 16);
  QPainter p;
  BeginSmooth(p, image);
  const QRectF box(0, 0, 16, 16);
  switch (index) {
    case 0: DrawBusy(p); break;
    case 1: DrawIdle(p); break;
    case 2: DrawPlay(p); break;
    case 3: DrawMagnifierPlus(p, box); break;
    case 4: DrawLandscape(p, box); break;
    case 5: DrawNoEntry(p, box.adjusted(0.5, 0.5, -0.5, -0.5), QColor(0x8e, 0x12, 0x12)); break;
    case 6: DrawNoEntry(p, box.adjusted(0.5, 0.5, -0.5, -0.5), QColor(0xff, 0x24, 0x24)); break;
    case 7: DrawLadybird(p); break;
    default: break;
  }
  p.end();
  return image;
}

}  // namespace art
