#include "site/UrlScheme.h"

#include "site/Text.h"

namespace site {

namespace {

// `text` from its k-th character on: all of it for k < 1, empty past the end.
QString From(const QString& text, qsizetype k) { return Copy(text, k, text.size()); }

QString TidyUrl(const QString& url) {
  QString tidy = LowerAZ(url);
  tidy = LowerAZ(tidy.replace(QStringLiteral("-/"), QStringLiteral("/")));
  return LowerAZ(tidy.replace(u'\'', u'-'));
}

}  // namespace

QString NameSlug(const QString& Name) {
  QString slug = Name;
  slug.replace(u' ', u'-');
  slug = LowerAZ(slug);
  // The "-/" pass runs before apostrophes turn into dashes, so "O'/X" keeps "o-/x".
  slug.replace(QStringLiteral("-/"), QStringLiteral("/"));
  slug.replace(u'\'', u'-');
  return slug;
}

QString WorkerSlug(const QString& Name) {
  QString slug = Name;
  slug.replace(u' ', u'-');
  slug = LowerAZ(slug);
  slug.replace(u'\'', u'-');
  return LowerAZ(slug);
}

QString PageSlug(const QString& Caption) { return WorkerSlug(Caption); }

QString RawSlug(const QString& Caption) {
  QString slug = Caption;
  return LowerAZ(slug.replace(u' ', u'-'));
}

QString FirstListingPageUrl(const QString& MainSiteUrl, const QString& Name) {
  return LowerAZ(MainSiteUrl + u'/' + NameSlug(Name) + QStringLiteral("/wallpapers/"));
}

QString NamesIndexUrl(const QString& MainSiteUrl) { return MainSiteUrl + QStringLiteral("/babes/"); }

QString GetWallpaperID(const QString& Slug, const QString& Link) {
  const qsizetype p = Pos(Slug, Link);
  const QString rest = From(Link, p + Slug.size() + 1);
  const qsizetype q = Pos(QStringLiteral("/"), rest);
  return q == 0 ? QString() : rest.left(q - 1);
}

QString GetWallpaperRes(const QString& Id, const QString& Link) { return From(Link, Pos(Id, Link) + Id.size() + 1); }

QString ImageUrl(const QString& ImageHostUrl, const QString& Slug, const QString& Size, const QString& Id) {
  return ImageHostUrl + Slug + u'/' + Slug + u'-' + Size + u'-' + Id + QStringLiteral(".jpg");
}

QString ThumbPageUrl(const QString& MainSiteUrl, const QString& Caption) {
  return TidyUrl(MainSiteUrl + u'/' + RawSlug(Caption) + QStringLiteral("/wallpapers/"));
}

QString ThumbImageUrl(const QString& ImageHostUrl, const QString& Caption, const QString& Size, const QString& Id) {
  return TidyUrl(ImageUrl(ImageHostUrl, RawSlug(Caption), Size, Id));
}

}  // namespace site
