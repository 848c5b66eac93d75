#include "control/IniFile.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "control/IniText.h"

// The packaged header compiles the method bodies only on request; the library
// holds them for its own instances, not for the one below.
#define SI_CONVERT_ICU
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <optional>
#include <string>

namespace control {

namespace {

// A stored name or value as text. QString::fromUtf8 drops a U+FEFF at the start
// as if it marked the encoding; here it is a character of the name.
QString FromStore(const char* stored) {
  // Nearly every name and value is ASCII, which needs no decoder.
  const char* end = stored;
  while (*end && static_cast<unsigned char>(*end) < 0x80) ++end;
  if (!*end) return QString::fromLatin1(stored, end - stored);
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                     QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(QByteArrayView(stored));
}

// SimpleIni folds only A to Z; names such as "Ñandu" and "ñandu" must share a
// section as well, as they do under the Windows profile functions.
struct Utf8NoCase {
  bool operator()(const char* left, const char* right) const {
    // Names are nearly always ASCII, and a batch file holds thousands: as far
    // as both are ASCII, bytes with A to Z folded order them as the decoded
    // comparison would, without decoding.
    for (const char *l = left, *r = right;; ++l, ++r) {
      const auto a = static_cast<unsigned char>(*l), b = static_cast<unsigned char>(*r);
      if (a >= 0x80 || b >= 0x80) break;
      const int fa = a >= 'A' && a <= 'Z' ? a + 32 : a, fb = b >= 'A' && b <= 'Z' ? b + 32 : b;
      if (fa != fb) return fa < fb;
      if (a == 0) return false;
    }
    return QString::compare(FromStore(left), FromStore(right), Qt::CaseInsensitive) < 0;
  }
};

using Ini = CSimpleIniTempl<char, Utf8NoCase, SI_ConvertA<char>>;

// A settings or batch file is a few kilobytes; anything far larger is not one
// of ours, and reading it whole would only cost memory.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// What a single line can hold: line breaks and NUL would end the entry early.
QString OneLine(QString text) {
  for (QChar& c : text)
    if (c == u'\r' || c == u'\n' || c == QChar(0)) c = u' ';
  return text;
}

// The reader drops blanks around names, so they never count.
QString TrimBlanks(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

std::optional<std::string> SectionName(const QString& name) {
  const QString trimmed = TrimBlanks(OneLine(name));
  if (IsEmptyName(trimmed) || trimmed.contains(u']')) return std::nullopt;
  return trimmed.toStdString();
}

std::optional<std::string> KeyName(const QString& name) {
  const QString trimmed = TrimBlanks(OneLine(name));
  if (IsEmptyName(trimmed) || trimmed.contains(u'=') || trimmed.front() == u'[' ||
      trimmed.front() == u';' || trimmed.front() == u'#')
    return std::nullopt;
  return trimmed.toStdString();
}

bool InMatchingQuotes(const QString& text) {
  return text.size() >= 2 && text.front() == text.back() &&
         (text.front() == u'"' || text.front() == u'\'');
}

// The reader trims blanks at the ends of a value and the Windows functions
// take off matching quotes; quoting such a value keeps it as it was.
std::string StoredValue(const QString& value) {
  const QString line = OneLine(value);
  const bool quote = !line.isEmpty() &&
                     (IsBlank(line.front()) || IsBlank(line.back()) || InMatchingQuotes(line));
  return (quote ? u'"' + line + u'"' : line).toStdString();
}

QString ValueRead(const char* stored) {
  const QString text = FromStore(stored);
  return InMatchingQuotes(text) ? text.mid(1, text.size() - 2) : text;
}

}  // namespace

struct TIniFile::TData {
  TData() {
    ini.SetUnicode(true);
    // Duplicate keys of a hand-edited file are kept; the first one counts.
    ini.SetMultiKey(true);
    ini.SetSpaces(false);
  }
  Ini ini;
  std::string trailer;  // the comments after the last entry, which SimpleIni drops
};

TIniFile::TIniFile() : Data_(std::make_unique<TData>()) {}
TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

TIniFile::TLoadStatus TIniFile::Load(const QString& path) {
  Clear();
  const QFileInfo info(path);
  if (!info.exists()) return TLoadStatus::Missing;
  if (!info.isFile()) return TLoadStatus::Unreadable;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return TLoadStatus::Unreadable;
  // Sized by the file, not the cap: read(n) sets aside n bytes whatever the file holds.
  if (file.size() > kMaxFileSize) return TLoadStatus::Invalid;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return TLoadStatus::Unreadable;
  if (bytes.size() > kMaxFileSize) return TLoadStatus::Invalid;
  const std::optional<QString> text = DecodeIniFile(bytes);
  if (!text) return TLoadStatus::Invalid;
  const std::string parsed = ParserText(*text);
  if (Data_->ini.LoadData(parsed) < 0) {
    Clear();
    return TLoadStatus::Invalid;
  }
  Data_->trailer = TrailingComments(parsed);
  return TLoadStatus::Loaded;
}

download::TWriteResult TIniFile::LoadForUpdate(const QString& path) {
  const TLoadStatus status = Load(path);
  if (status == TLoadStatus::Unreadable) return {EACCES, path};
  if (status == TLoadStatus::Invalid) {
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) return {errno != 0 ? errno : EIO, aside};
  }
  return {0, path};
}

download::TWriteResult TIniFile::Save(const QString& path) const {
  std::string text;
  if (Data_->ini.Save(text) < 0) return {ENOMEM, path};
  if (!Data_->trailer.empty()) {
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += Data_->trailer;
  }
  return download::WriteFileAtomically(path, QByteArray::fromStdString(text));
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  const auto s = SectionName(section);
  const auto k = KeyName(key);
  if (!s || !k) return defaultValue;
  const char* stored = Data_->ini.GetValue(s->c_str(), k->c_str(), nullptr);
  return stored ? ValueRead(stored) : defaultValue;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  const auto s = SectionName(section);
  const auto k = KeyName(key);
  if (!s || !k) return false;
  // Replacing drops any duplicates of the key and keeps the place of the first,
  // but not its spelling, which the file keeps under the Windows functions.
  // (A copy: replacing frees the stored name.)
  std::string name = *k;
  if (const Ini::TKeyVal* keys = Data_->ini.GetSection(s->c_str())) {
    const auto found = keys->find(Ini::Entry(k->c_str()));
    if (found != keys->end()) name = found->first.pItem;
  }
  return Data_->ini.SetValue(s->c_str(), name.c_str(), StoredValue(value).c_str(), nullptr,
                             true) >= 0;
}

QStringList TIniFile::ReadSections() const {
  Ini::TNamesDepend sections;
  Data_->ini.GetAllSections(sections);
  sections.sort(Ini::Entry::LoadOrder());
  QStringList names;
  for (const Ini::Entry& section : sections)
    if (*section.pItem) names.append(FromStore(section.pItem));
  return names;
}

QList<TIniFile::TSection> TIniFile::ReadAllSections() const {
  Ini::TNamesDepend sections;
  Data_->ini.GetAllSections(sections);
  sections.sort(Ini::Entry::LoadOrder());
  QList<TSection> all;
  all.reserve(qsizetype(sections.size()));
  const Utf8NoCase less;
  for (const Ini::Entry& section : sections) {
    if (!*section.pItem) continue;
    TSection read{FromStore(section.pItem), {}};
    if (const Ini::TKeyVal* keys = Data_->ini.GetSection(section.pItem)) {
      // Keys of one name stand together, the first read from the file first.
      const char* previous = nullptr;
      for (const auto& [key, value] : *keys) {
        if (previous && !less(previous, key.pItem)) continue;
        previous = key.pItem;
        read.Keys.append({FromStore(key.pItem), ValueRead(value)});
      }
    }
    all.append(std::move(read));
  }
  return all;
}

bool TIniFile::HoldsSectionName(const QString& name) {
  const auto s = SectionName(name);
  return s && FromStore(s->c_str()) == name;
}

bool TIniFile::SameSection(const QString& a, const QString& b) {
  const auto s = SectionName(a), t = SectionName(b);
  const Utf8NoCase less;
  return s && t && !less(s->c_str(), t->c_str()) && !less(t->c_str(), s->c_str());
}

void TIniFile::Clear() {
  Data_->ini.Reset();
  Data_->trailer.clear();
}

}  // namespace control
