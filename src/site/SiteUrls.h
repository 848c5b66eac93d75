#pragma once
// The three addresses of the wallpaper site. Only MainSiteUrl and ImageHostUrl
// are ever fetched; WallpaperHostUrl only marks the wallpaper links in the
// listing pages. The defaults sit on reserved hosts; [Site] in Settings.ini
// replaces them.

#include <QString>

namespace site {

struct TSiteUrls {
  QString MainSiteUrl = QStringLiteral("http://www.ostrana.example");              // no trailing slash
  QString WallpaperHostUrl = QStringLiteral("http://wallpapers.ostrana.example");  // no trailing slash
  QString ImageHostUrl = QStringLiteral("http://images.ostrana.example/");         // trailing slash

  bool operator==(const TSiteUrls&) const = default;
};

}  // namespace site
