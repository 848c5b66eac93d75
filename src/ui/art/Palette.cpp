#include "ui/art/Drawing.h"

#include <QHash>
#include <QList>

namespace art {

namespace {

// Rounds a channel to `bits` of precision, spread back over 0..255.
int Quantise(int value, int bits) {
  const int levels = (1 << bits) - 1;
  return (value * levels + 127) / 255 * 255 / levels;
}

QRgb QuantisePixel(QRgb pixel, int bits) {
  return qRgba(Quantise(qRed(pixel), bits), Quantise(qGreen(pixel), bits),
               Quantise(qBlue(pixel), bits), Quantise(qAlpha(pixel), bits));
}

}  // namespace

// Qt's own conversion to a palette keeps only on/off transparency, which leaves
// jagged edges; this keeps the alpha levels by lowering the precision of every
// channel just far enough for the colours to fit in 256 entries.
QImage ToPaletteWithAlpha(const QImage& image) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  for (int bits = 8; bits >= 2; --bits) {
    QHash<QRgb, int> index;
    QList<QRgb> table;
    bool fits = true;
    for (int y = 0; y < source.height() && fits; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
      for (int x = 0; x < source.width(); ++x) {
        QRgb pixel = QuantisePixel(line[x], bits);
        if (qAlpha(pixel) == 0) pixel = qRgba(0, 0, 0, 0);
        if (index.contains(pixel)) continue;
        if (table.size() == 256) {
          fits = false;
          break;
        }
        index.insert(pixel, int(table.size()));
        table.append(pixel);
      }
    }
    if (!fits) continue;
    QImage result(source.size(), QImage::Format_Indexed8);
    result.setColorTable(table);
    for (int y = 0; y < source.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
      uchar* out = result.scanLine(y);
      for (int x = 0; x < source.width(); ++x) {
        QRgb pixel = QuantisePixel(line[x], bits);
        if (qAlpha(pixel) == 0) pixel = qRgba(0, 0, 0, 0);
        out[x] = uchar(index.value(pixel));
      }
    }
    return result;
  }
  return source.convertToFormat(QImage::Format_Indexed8);
}

}  // namespace art
