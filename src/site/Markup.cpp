#include "site/Markup.h"

#include <algorithm>

#include "site/Text.h"

namespace site {

QString ExtractEntry(const QString& Line, const QString& StartMarker, const QString& EndMarker) {
  const qsizetype s = Pos(StartMarker, Line);
  const qsizetype e = Pos(EndMarker, Line);
  return Copy(Line, std::max<qsizetype>(s, 1), std::max<qsizetype>(e - s, 0));
}

bool IsListingPageLine(const QString& Line) { return Pos(kPageLinkFilter, Line) > 0; }

QString ListingPageEntry(const QString& Line, const QString& MainSiteUrl) {
  return ExtractEntry(Line, MainSiteUrl, kPageLinkEnd);
}

bool IsWallpaperLinkLine(const QString& Line, const QString& WallpaperHostUrl) {
  return Pos(QStringLiteral("<a href=\"") + WallpaperHostUrl + u'/', Line) > 0;
}

QString WallpaperLinkEntry(const QString& Line, const QString& WallpaperHostUrl) {
  return ExtractEntry(Line, WallpaperHostUrl, kWallpaperLinkEnd);
}

std::optional<QString> IndexLineName(const QString& Line) {
  const qsizetype marker = Pos(QStringLiteral("wallpapers for"), Line);
  if (marker == 0) return std::nullopt;
  const qsizetype a = marker + 15;
  const qsizetype b = Pos(QStringLiteral("\">"), Line);
  return Copy(Line, a, b - a);
}

}  // namespace site
