#include "cli/TerminalText.h"

#include <QChar>
#include <QList>
#include <array>

namespace cli {

namespace {

constexpr char32_t kEllipsis = U'\u2026';

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

int CodePointWidth(char32_t c) {
  const QChar::Category category = QChar::category(c);
  if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || category == QChar::Other_Format)
    return 0;
  // The East Asian wide and fullwidth blocks, and the emoji pictographs.
  struct TRange {
    char32_t First, Last;
  };
  static constexpr std::array<TRange, 14> kWide{{
      {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
  }};
  for (const TRange& range : kWide)
    if (c >= range.First && c <= range.Last) return 2;
  return 1;
}

}  // namespace

QString PrintableText(const QString& text) {
  QString printable = text;
  for (QChar& c : printable)
    if (IsControl(c.unicode())) c = u'?';
  return printable;
}

int DisplayWidth(const QString& text) {
  int width = 0;
  for (const uint c : text.toUcs4()) width += CodePointWidth(c);
  return width;
}

QString FitText(const QString& text, int columns) {
  if (DisplayWidth(text) <= columns) return text;
  if (columns <= 0) return QString();
  QList<char32_t> kept;
  int width = 0;
  for (const uint c : text.toUcs4()) {
    const int w = CodePointWidth(c);
    if (width + w > columns - 1) break;  // one column stays for the ellipsis
    kept.append(char32_t(c));
    width += w;
  }
  kept.append(kEllipsis);
  return QString::fromUcs4(kept.constData(), kept.size());
}

}  // namespace cli
