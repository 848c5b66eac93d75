#include "site/TextDecode.h"

#include <QStringDecoder>

#include <algorithm>

namespace site {

namespace {

bool StartsWith(const QByteArray& Body, const char* Mark, qsizetype Length) {
  return Body.size() >= Length && std::equal(Mark, Mark + Length, Body.constData());
}

}  // namespace

QString DecodeText(const QByteArray& Body) {
  // The mark is cut off here; a second one right behind it is text and kept.
  // An odd byte at the end of UTF-16 text stays in the decoder and is dropped.
  constexpr auto keepBom = QStringConverter::Flag::ConvertInitialBom;
  const QByteArrayView bytes(Body);
  QString text;
  if (StartsWith(Body, "\xFF\xFE", 2)) {
    text = QStringDecoder(QStringConverter::Utf16LE, keepBom).decode(bytes.sliced(2));
  } else if (StartsWith(Body, "\xFE\xFF", 2)) {
    text = QStringDecoder(QStringConverter::Utf16BE, keepBom).decode(bytes.sliced(2));
  } else if (StartsWith(Body, "\xEF\xBB\xBF", 3)) {
    text = QStringDecoder(QStringConverter::Utf8, keepBom).decode(bytes.sliced(3));
  } else {
    // Qt knows Windows-1252 through ICU; a build without it still reads the
    // page, as Latin-1, which differs only in 0x80 to 0x9F.
    QStringDecoder cp1252("windows-1252");
    text = cp1252.isValid() ? cp1252.decode(bytes) : QString::fromLatin1(Body);
  }
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  if (nul >= 0) text.truncate(nul);
  return text;
}

QStringList SplitLines(const QString& Text, qsizetype MaxLines) {
  QStringList lines;
  const qsizetype n = Text.size();
  qsizetype i = 0;
  while (i < n && lines.size() <= MaxLines) {
    qsizetype j = i;
    while (j < n && Text[j] != u'\r' && Text[j] != u'\n') ++j;
    lines.append(Text.mid(i, j - i));
    if (j < n && Text[j] == u'\r') ++j;
    if (j < n && Text[j] == u'\n') ++j;
    i = j;
  }
  return lines;
}

}  // namespace site
