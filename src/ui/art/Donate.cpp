#include <QFont>
#include <QLinearGradient>

#include "ui/art/Drawing.h"
#include "ui/art/Pictures.h"

namespace art {

namespace {

// One small payment card; `kind` picks its colours and marks.
void DrawCard(QPainter& p, const QRectF& card, int kind) {
  static const QColor faces[] = {QColor(0x1c, 0x4f, 0xa6), QColor(0x2a, 0x2a, 0x2e),
                                 QColor(0x2e, 0x8b, 0xd8), QColor(0x2f, 0x8f, 0x4e),
                                 QColor(0x5a, 0x5f, 0x66)};
  const QColor face = faces[kind];
  QLinearGradient shade(card.topLeft(), card.bottomLeft());
  shade.setColorAt(0, face.lighter(125));
  shade.setColorAt(1, face);
  p.setBrush(shade);
  p.setPen(QPen(face.darker(160), 1.0));
  p.drawRoundedRect(card, 2.2, 2.2);
  p.setPen(Qt::NoPen);
  switch (kind) {
    case 0:  // gold band along the bottom
      p.setBrush(QColor(0xf2, 0xb6, 0x2a));
      p.drawRect(QRectF(card.left() + 1, card.bottom() - 4, card.width() - 2, 2.5));
      break;
    case 1:  // two overlapping discs
      p.setBrush(QColor(0xea, 0x32, 0x2c));
      p.drawEllipse(card.center() - QPointF(3, 0), 4.6, 4.6);
      p.setBrush(QColor(0xf7, 0xa2, 0x1b, 220));
      p.drawEllipse(card.center() + QPointF(3, 0), 4.6, 4.6);
      break;
    case 2:  // white lettering lines
      p.setBrush(QColor(255, 255, 255, 230));
      p.drawRect(QRectF(card.left() + 4, card.top() + 5, card.width() - 8, 2));
      p.drawRect(QRectF(card.left() + 4, card.top() + 9, card.width() - 13, 2));
      break;
    case 3:  // a chip
      p.setBrush(QColor(0xf0, 0xcf, 0x6a));
      p.drawRoundedRect(QRectF(card.left() + 4, card.top() + 4, 7, 6), 1.2, 1.2);
      break;
    default:  // silver band
      p.setBrush(QColor(0xd6, 0xda, 0xde));
      p.drawRect(QRectF(card.left() + 1, card.top() + 4, card.width() - 2, 3));
      break;
  }
}

}  // namespace

QImage Donate() {
  QImage image = Canvas(147, 47);
  QPainter p;
  BeginSmooth(p, image);

  const QRectF button(12.5, 1.5, 122, 25);
  QLinearGradient gold(button.topLeft(), button.bottomLeft());
  gold.setColorAt(0, QColor(0xff, 0xe6, 0x8a));
  gold.setColorAt(0.5, QColor(0xff, 0xc8, 0x3c));
  gold.setColorAt(1, QColor(0xf5, 0xa6, 0x16));
  p.setBrush(gold);
  p.setPen(QPen(QColor(0xc2, 0x7a, 0x00), 1.0));
  p.drawRoundedRect(button, 12, 12);

  QFont font("DejaVu Sans");
  font.setPixelSize(14);
  font.setBold(true);
  font.setItalic(true);
  p.setFont(font);
  p.setPen(QColor(0x17, 0x3a, 0x78));
  p.drawText(button, Qt::AlignCenter, "Donate");

  const qreal width = 24, gap = 4;
  const qreal left = (147 - (5 * width + 4 * gap)) / 2;
  for (int kind = 0; kind < 5; ++kind)
    DrawCard(p, QRectF(left + kind * (width + gap) + 0.5, 30.5, width, 15), kind);
  p.end();
  return ToPaletteWithAlpha(image);
}

}  // namespace art
