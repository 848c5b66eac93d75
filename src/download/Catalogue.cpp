#include "download/Catalogue.h"

#include "download/Jpeg.h"
#include "download/WallpaperLink.h"
#include "site/Retry.h"
#include "site/Text.h"

using site::LowerAZ;
using site::Pos;

namespace {

// The site's addresses never hold "-/" or an apostrophe: each is replaced in
// one left-to-right pass, lower-casing after each step.
QString TidyUrl(const QString& url) {
  QString tidy = LowerAZ(url);
  tidy = LowerAZ(tidy.replace(QStringLiteral("-/"), QStringLiteral("/")));
  return LowerAZ(tidy.replace(u'\'', u'-'));
}

}  // namespace

QString NamesIndexUrl(const QString& mainSiteUrl) { return mainSiteUrl + QStringLiteral("/babes/"); }

site::TFetchResult GetNames(const QString& URL, QStringList& SL, const site::TRunContext& Run) {
  QStringList lines;
  const site::TFetchResult result = site::DownloadIndexPage(site::WithTrailingSlash(URL), lines, Run);
  for (const QString& line : lines)
    if (const std::optional<QString> name = IndexLineName(line)) SL.append(*name);
  return result;
}

std::optional<QString> IndexLineName(const QString& line) {
  const qsizetype marker = Pos(QStringLiteral("wallpapers for"), line);
  if (marker == 0) return std::nullopt;
  const qsizetype a = marker + 15;
  const qsizetype b = Pos(QStringLiteral("\">"), line);
  return site::Copy(line, a, b - a);
}

QString RawSlug(const QString& caption) {
  QString slug = caption;
  return LowerAZ(slug.replace(u' ', u'-'));
}

QString PageSlug(const QString& caption) { return WorkerSlug(caption); }

QString ThumbPageUrl(const QString& mainSiteUrl, const QString& caption) {
  return TidyUrl(mainSiteUrl + u'/' + RawSlug(caption) + QStringLiteral("/wallpapers/"));
}

QString ThumbImageUrl(const QString& imageHostUrl, const QString& caption, const QString& size, const QString& id) {
  return TidyUrl(ImageUrl(imageHostUrl, RawSlug(caption), size, id));
}

void TThumbPicture::Clear() {
  Data_.clear();
  Width_ = 0;
}

bool TThumbPicture::LoadFromBuffer(const QByteArray& Data) {
  const std::optional<JpegHeader> header = ReadWholeJpeg(Data);
  if (!header) {
    Clear();
    return false;
  }
  Data_ = Data;
  Width_ = header->width;
  return true;
}
