#include "control/IniText.h"

#include <QStringDecoder>
#include <algorithm>

namespace control {

namespace {

using Flag = QStringConverter::Flag;

// Stateless: a sequence cut off at the end is an error, not held back for more.
// ConvertInitialBom: a U+FEFF at the start of what is decoded stays; the file's
// own mark has been taken off before, so one found here is text.
constexpr auto kFlags = Flag::Stateless | Flag::ConvertInitialBom;

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes, bool* error = nullptr) {
  QStringDecoder decoder(encoding, kFlags);
  QString text = decoder.decode(bytes);
  if (error) *error = decoder.hasError();
  return text;
}

// Every byte stands for a character in Windows-1252 (the five it leaves unused
// become the control characters of the same number, as under Windows). Qt knows
// the code page through ICU; without ICU, Latin-1 is the closest it has, which
// differs only in 0x80 to 0x9F.
QString FromWindows1252(const QByteArray& bytes) {
  QStringDecoder decoder("windows-1252", kFlags);
  return decoder.isValid() ? QString(decoder.decode(bytes)) : QString::fromLatin1(bytes);
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView WithoutLeadingBlanks(QStringView line) {
  qsizetype first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  return line.sliced(first);
}

enum class LineKind {
  Section,    // "[name]", whatever follows the "]"
  Nameless,   // "[]", or only white space between the brackets
  Unclosed,   // a "[" without its "]"
  Comment,    // begins with ";" or "#"
  Blank,
  Key,        // name=value
  Other,      // no "=", or no name before it: no key a caller can ask for
};

// What `line`, the blanks it begins with taken off, is to SimpleIni.
LineKind KindOf(QStringView line) {
  if (line.isEmpty()) return LineKind::Blank;
  if (line.front() == u';' || line.front() == u'#') return LineKind::Comment;
  if (line.front() == u'[') {
    const qsizetype close = line.indexOf(u']');
    if (close < 0) return LineKind::Unclosed;
    return IsEmptyName(line.sliced(1, close - 1)) ? LineKind::Nameless : LineKind::Section;
  }
  const qsizetype equals = line.indexOf(u'=');
  return equals < 0 || IsEmptyName(line.first(equals)) ? LineKind::Other : LineKind::Key;
}

}  // namespace

bool IsEmptyName(QStringView name) {
  return std::all_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); });
}

std::optional<QString> DecodeIniFile(const QByteArray& bytes) {
  QString text;
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    // An odd byte at the end becomes U+FFFD; a lone surrogate, which UTF-8
    // cannot hold, is written back as "?".
    const auto encoding = bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
    text = Decode(encoding, QByteArrayView(bytes).sliced(2));
  } else if (bytes.contains('\0')) {
    return std::nullopt;
  } else if (bytes.startsWith("\xEF\xBB\xBF")) {
    text = Decode(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
  } else {
    bool error = false;
    text = Decode(QStringConverter::Utf8, bytes, &error);
    if (error) text = FromWindows1252(bytes);
  }
  if (text.contains(QChar(0))) return std::nullopt;
  return text;
}

// Each line SimpleIni would misread is kept as a comment, and it is one for the
// Windows functions as well: a line they take for a key that no caller here can
// ask for, or one in a section none can ask for.
// - SimpleIni starts a section at a "[" line without its "]" and runs the name
//   on into the lines after it, up to the next "=", so the name holds a line
//   break, and every save writes it back as a longer broken line. The Windows
//   functions take the line for a key (no key name here begins with "["), and
//   the keys after it stay in the section before, as they do now.
// - A section without a name: SimpleIni adds its keys to those before the first
//   section and writes them at the top of the file, and each save would move
//   lines again.
// - A line with no key (no "=", or nothing before it) SimpleIni would drop; one
//   whose name is white space it would keep as a key no caller can ask for.
// - A key before the first section that begins with U+FEFF (the file's own mark
//   is gone by now, so this one is text) would be written at the start of a file
//   without a mark, and taken for one on the next load.
// Blank lines at the start go, and blanks that begin a line (SimpleIni skips
// them anyway), so that comments at the top are always the file's comment:
// SimpleIni writes a comment that leads the first entry at the very start,
// where the next load would take it for the file's.
std::string ParserText(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  bool beforeSections = true;
  bool inNameless = false;
  qsizetype begin = 0;
  while (begin < text.size()) {
    qsizetype end = begin;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') ++end;
    const QStringView line = WithoutLeadingBlanks(QStringView(text).sliced(begin, end - begin));
    const bool crlf = end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
    begin = end + (crlf ? 2 : 1);

    const LineKind kind = KindOf(line);
    if (kind == LineKind::Blank && out.isEmpty()) continue;
    if (kind == LineKind::Section || kind == LineKind::Nameless) {
      beforeSections = false;
      inNameless = kind == LineKind::Nameless;
    }
    const bool asComment =
        kind == LineKind::Unclosed || kind == LineKind::Nameless || kind == LineKind::Other ||
        (kind == LineKind::Key && (inNameless || (beforeSections && line.startsWith(QChar(0xFEFF)))));
    if (asComment) out += u"; ";
    out += line;
    out += u'\n';
  }
  return out.toStdString();
}

std::string TrailingComments(std::string_view parserText) {
  std::size_t afterEntry = std::string_view::npos;  // where the line after the last entry begins
  bool comment = false;                               // a comment follows it
  for (std::size_t begin = 0; begin < parserText.size();) {
    const std::size_t newline = parserText.find('\n', begin);
    const std::size_t end = newline == std::string_view::npos ? parserText.size() : newline + 1;
    const char first = parserText[begin];
    if (first == ';' || first == '#') {
      comment = true;
    } else if (first != '\n') {
      afterEntry = end;
      comment = false;
    }
    begin = end;
  }
  if (afterEntry == std::string_view::npos || !comment) return {};
  std::string trailer(parserText.substr(afterEntry));
  while (trailer.size() > 1 && trailer.ends_with("\n\n")) trailer.pop_back();
  return trailer;
}

}  // namespace control
