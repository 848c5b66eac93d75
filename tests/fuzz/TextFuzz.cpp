// A page body as the site sends it, turned into text and lines.
// Input: one byte for the line cap (255: none), then the body.

#include <algorithm>
#include <limits>

#include "fuzz/FuzzSupport.h"
#include "site/TextDecode.h"

namespace {

// What the lines stand for, joined by "\n": every break made one "\n", and a
// break at the very end gives no further line.
QString Joined(const QString& text) {
  QString joined = text;
  joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  if (joined.endsWith(u'\n')) joined.chop(1);
  return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const qsizetype cap = data[0] == 255 ? std::numeric_limits<qsizetype>::max() - 1 : data[0];
  const QByteArray body = fuzz::Bytes(data + 1, size - 1);

  const QString text = site::DecodeText(body);
  FUZZ_CHECK(!text.contains(QChar(0)));
  const bool marked = body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF") || body.startsWith("\xEF\xBB\xBF");
  if (!marked) {
    // Windows-1252 (or Latin-1): one character a byte, up to the first NUL.
    const qsizetype nul = body.indexOf('\0');
    FUZZ_CHECK(text.size() == (nul < 0 ? body.size() : nul));
  }

  const QStringList all = site::SplitLines(text);
  for (const QString& line : all) FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
  FUZZ_CHECK(all.join(u'\n') == Joined(text));
  FUZZ_CHECK(all.isEmpty() == text.isEmpty());

  const QStringList capped = site::SplitLines(text, cap);
  FUZZ_CHECK(capped.size() == std::min(all.size(), cap + 1));
  for (qsizetype i = 0; i < capped.size(); ++i) FUZZ_CHECK(capped[i] == all[i]);
  return 0;
}
