#pragma once
// The name catalogue's rules that need no window: the names of the site's index,
// the addresses of a name's thumbnail, and the thumbnail files in AllGirls.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "download/DiskLayout.h"
#include "site/Retry.h"

// The site's page that lists every name: mainSiteUrl + "/babes/".
QString NamesIndexUrl(const QString& mainSiteUrl);

// Appends to SL the names of the index page at URL ("/" appended when
// missing), asked for with up to site::kIndexPageCalls calls. Returns the
// outcome of the last call.
site::TFetchResult GetNames(const QString& URL, QStringList& SL, const site::TRunContext& Run);

// The name an index line gives: from 15 characters after "wallpapers for" up to
// the first '">' of the line, empty when that comes too early or not at all.
// None when the line holds no "wallpapers for".
std::optional<QString> IndexLineName(const QString& line);

// Blanks to "-", then A to Z lower-cased.
QString RawSlug(const QString& caption);
// Blanks and apostrophes to "-", then A to Z lower-cased: the workers' slug.
QString PageSlug(const QString& caption);
// The address of the name's first listing page, built from its raw slug.
QString ThumbPageUrl(const QString& mainSiteUrl, const QString& caption);
// The address of the name's wallpaper with this size and id, built from its raw slug.
QString ThumbImageUrl(const QString& imageHostUrl, const QString& caption, const QString& size, const QString& id);

// A fetched thumbnail: the bytes as sent, and the width their JPEG header
// gives; data that is no whole JPEG is refused like data that is none.
class TThumbPicture : public site::TPictureDest {
 public:
  void Clear() override;
  bool LoadFromBuffer(const QByteArray& Data) override;
  int Width() const { return Width_; }
  const QByteArray& Data() const { return Data_; }

 private:
  QByteArray Data_;
  int Width_ = 0;
};
