#include "ui/art/Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include "ui/art/Drawing.h"

namespace art {

QImage Clock() {
  QImage image = Canvas(24, 24);
  QPainter p;
  BeginSmooth(p, image);
  const QPointF c(12, 12);
  QRadialGradient face(QPointF(10, 9), 12);
  face.setColorAt(0, Qt::white);
  face.setColorAt(1, QColor(0xdd, 0xe4, 0xec));
  p.setBrush(face);
  p.setPen(QPen(QColor(0x2d, 0x4a, 0x73), 2.0));
  p.drawEllipse(c, 10.2, 10.2);
  p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.0, Qt::SolidLine, Qt::RoundCap));
  for (int hour = 0; hour < 12; hour += 3) {
    const qreal a = qDegreesToRadians(hour * 30.0);
    p.drawLine(c + QPointF(qSin(a), -qCos(a)) * 6.8, c + QPointF(qSin(a), -qCos(a)) * 8.3);
  }
  // Ten past ten: the hands frame the face.
  p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.8, Qt::SolidLine, Qt::RoundCap));
  const qreal hourAngle = qDegreesToRadians(305.0);
  p.drawLine(c, c + QPointF(qSin(hourAngle), -qCos(hourAngle)) * 5.0);
  p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.3, Qt::SolidLine, Qt::RoundCap));
  const qreal minuteAngle = qDegreesToRadians(60.0);
  p.drawLine(c, c + QPointF(qSin(minuteAngle), -qCos(minuteAngle)) * 7.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc0, 0x28, 0x28));
  p.drawEllipse(c, 1.3, 1.3);
  p.end();
  return image;
}

QImage LandscapePhoto() {
  QImage image = Canvas(22, 22);
  QPainter p;
  BeginSmooth(p, image);
  DrawLandscape(p, QRectF(0, 0, 22, 22));
  p.end();
  return image;
}

QImage Person() {
  QImage image = Canvas(128, 128);
  QPainter p;
  BeginSmooth(p, image);
  DrawPerson(p, QRectF(0, 0, 128, 128));
  p.end();
  return image;
}

QImage LightBulb() {
  QImage image = Canvas(22, 22);
  QPainter p;
  BeginSmooth(p, image);
  // Soft glow behind the glass.
  QRadialGradient glow(QPointF(11, 8.5), 10);
  glow.setColorAt(0, QColor(255, 236, 120, 150));
  glow.setColorAt(1, QColor(255, 236, 120, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(11, 8.5), 10, 10);

  QPainterPath glass;
  glass.addEllipse(QPointF(11, 8.5), 6.2, 6.2);
  QPainterPath neck;
  neck.moveTo(7.2, 12.5);
  neck.lineTo(14.8, 12.5);
  neck.lineTo(13.6, 16.0);
  neck.lineTo(8.4, 16.0);
  neck.closeSubpath();
  glass = glass.united(neck);
  QRadialGradient fill(QPointF(9.5, 6.5), 7.5);
  fill.setColorAt(0, QColor(0xff, 0xfb, 0xd6));
  fill.setColorAt(1, QColor(0xf7, 0xc8, 0x1e));
  p.setBrush(fill);
  p.setPen(QPen(QColor(0xb0, 0x82, 0x0c), 0.9));
  p.drawPath(glass);

  // Screw base.
  QLinearGradient metal(QPointF(8, 0), QPointF(14, 0));
  metal.setColorAt(0, QColor(0x8a, 0x8f, 0x96));
  metal.setColorAt(0.5, QColor(0xe2, 0xe5, 0xe9));
  metal.setColorAt(1, QColor(0x7a, 0x7f, 0x86));
  p.setBrush(metal);
  p.setPen(QPen(QColor(0x55, 0x5a, 0x60), 0.7));
  p.drawRoundedRect(QRectF(8.3, 16.0, 5.4, 3.6), 0.8, 0.8);
  p.drawLine(QPointF(8.3, 17.8), QPointF(13.7, 17.8));
  p.setBrush(QColor(0x44, 0x44, 0x44));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(9.6, 19.6, 2.8, 1.6), 0.6, 0.6);
  p.end();
  return image;
}

QImage Tools() {
  QImage image = Canvas(64, 64);
  QPainter p;
  BeginSmooth(p, image);

  // Wrench, from bottom left to top right.
  p.save();
  p.translate(32, 32);
  p.rotate(45);
  QLinearGradient steel(QPointF(-5, 0), QPointF(5, 0));
  steel.setColorAt(0, QColor(0x8e, 0x96, 0xa0));
  steel.setColorAt(0.45, QColor(0xee, 0xf1, 0xf4));
  steel.setColorAt(1, QColor(0x7c, 0x84, 0x8e));
  QPainterPath wrench;
  wrench.addRoundedRect(QRectF(-4.5, -18, 9, 40), 4, 4);
  QPainterPath head;
  head.addEllipse(QPointF(0, -21), 11, 11);
  QPainterPath jaw;
  jaw.addRect(QRectF(-4.5, -34, 9, 14));
  wrench = wrench.united(head).subtracted(jaw);
  QPainterPath ring;
  ring.addEllipse(QPointF(0, 24), 8.5, 8.5);
  QPainterPath ringHole;
  ringHole.addEllipse(QPointF(0, 24), 4.5, 4.5);
  wrench = wrench.united(ring).subtracted(ringHole);
  p.setBrush(steel);
  p.setPen(QPen(QColor(0x4a, 0x50, 0x58), 1.4));
  p.drawPath(wrench);
  p.restore();

  // Screwdriver across it, from bottom right to top left.
  p.save();
  p.translate(32, 32);
  p.rotate(-45);
  QLinearGradient shaft(QPointF(-2, 0), QPointF(2, 0));
  shaft.setColorAt(0, QColor(0x9a, 0xa0, 0xa8));
  shaft.setColorAt(0.5, QColor(0xf4, 0xf6, 0xf8));
  shaft.setColorAt(1, QColor(0x86, 0x8c, 0x94));
  p.setBrush(shaft);
  p.setPen(QPen(QColor(0x50, 0x55, 0x5c), 1.0));
  QPainterPath blade;
  blade.moveTo(-2.2, 2);
  blade.lineTo(-2.2, -22);
  blade.lineTo(-3.4, -27);
  blade.lineTo(3.4, -27);
  blade.lineTo(2.2, -22);
  blade.lineTo(2.2, 2);
  blade.closeSubpath();
  p.drawPath(blade);
  QLinearGradient handle(QPointF(-6, 0), QPointF(6, 0));
  handle.setColorAt(0, QColor(0xa8, 0x12, 0x12));
  handle.setColorAt(0.4, QColor(0xf0, 0x4a, 0x3a));
  handle.setColorAt(1, QColor(0x8c, 0x0e, 0x0e));
  p.setBrush(handle);
  p.setPen(QPen(QColor(0x5e, 0x08, 0x08), 1.2));
  p.drawRoundedRect(QRectF(-6, 2, 12, 26), 5, 5);
  p.setPen(QPen(QColor(0xff, 0xd0, 0x40), 2.2));
  p.drawLine(QPointF(-5.2, 8), QPointF(5.2, 8));
  p.restore();
  p.end();
  return image;
}

QImage Magnifier() {
  QImage image = Canvas(22, 22);
  QPainter p;
  BeginSmooth(p, image);
  DrawMagnifierPlus(p, QRectF(0, 0, 22, 22));
  p.end();
  return image;
}

}  // namespace art
