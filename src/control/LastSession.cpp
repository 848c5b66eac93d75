#include "control/LastSession.h"

#include <QRegularExpression>
#include <algorithm>

namespace control {

namespace {

const QString kSection = QStringLiteral("Last Session");
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

QString YesNo(bool on) { return on ? kYes : kNo; }

}  // namespace

std::optional<int> NumberInRange(const QString& text, int min, int max) {
  static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
  const QString number = text.trimmed();
  if (!wholeNumber.match(number).hasMatch()) return std::nullopt;
  bool fits = false;
  const qlonglong value = number.toLongLong(&fits);
  if (!fits) return number.startsWith(u'-') ? min : max;
  return static_cast<int>(std::clamp<qlonglong>(value, min, max));
}

int ThreadCountFromText(const QString& text) {
  return NumberInRange(text, kMinThreads, kMaxThreads).value_or(kMinThreads);
}

TLastSession ReadLastSession(const TIniFile& ini) {
  TLastSession s;
  s.Name = ini.ReadString(kSection, QStringLiteral("Name"), QString());
  const QString threads = ini.ReadString(kSection, QStringLiteral("Threads"), s.Threads);
  const std::optional<int> count = NumberInRange(threads, kMinThreads, kMaxThreads);
  s.Threads = count ? QString::number(*count) : threads;
  s.AllResolutions = ini.ReadString(kSection, QStringLiteral("AllResolutions"), kNo) == kYes;
  for (download::TResolution r : download::FolderOrder()) {
    const QString fallback = YesNo(r == download::tr1024x768);
    s.Sizes[r] = ini.ReadString(kSection, download::SizeText(r), fallback) == kYes;
  }
  return s;
}

void WriteLastSession(TIniFile& ini, const TLastSession& s) {
  ini.WriteString(kSection, QStringLiteral("Name"), s.Name);
  ini.WriteString(kSection, QStringLiteral("Threads"), s.Threads);
  ini.WriteString(kSection, QStringLiteral("AllResolutions"), YesNo(s.AllResolutions));
  for (download::TResolution r : download::FolderOrder()) ini.WriteString(kSection, download::SizeText(r), YesNo(s.Sizes[r]));
}

site::TSiteUrls ReadSiteUrls(const TIniFile& ini, const site::TSiteUrls& defaults) {
  const QString section = QStringLiteral("Site");
  auto read = [&](const char* key, const QString& fallback) {
    const QString value = ini.ReadString(section, QString::fromLatin1(key), QString()).trimmed();
    return value.isEmpty() ? fallback : value;
  };
  // Hand-edited addresses get the trailing slash each form needs.
  auto withoutSlash = [](QString url) {
    while (url.endsWith(u'/')) url.chop(1);
    return url;
  };
  site::TSiteUrls urls;
  urls.MainSiteUrl = withoutSlash(read("MainSiteUrl", defaults.MainSiteUrl));
  urls.WallpaperHostUrl = withoutSlash(read("WallpaperHostUrl", defaults.WallpaperHostUrl));
  urls.ImageHostUrl = withoutSlash(read("ImageHostUrl", defaults.ImageHostUrl)) + u'/';
  return urls;
}

}  // namespace control
