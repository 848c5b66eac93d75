#include "site/Slug.h"

#include "site/Text.h"

namespace site {

QString NameSlug(const QString& Name) {
  QString slug = Name;
  slug.replace(u' ', u'-');
  slug = LowerAZ(slug);
  // The "-/" pass runs before apostrophes turn into dashes, so "O'/X" keeps "o-/x".
  slug.replace(QStringLiteral("-/"), QStringLiteral("/"));
  slug.replace(u'\'', u'-');
  return slug;
}

QString FirstListingPageUrl(const QString& MainSiteUrl, const QString& Name) {
  return LowerAZ(MainSiteUrl + u'/' + NameSlug(Name) + QStringLiteral("/wallpapers/"));
}

}  // namespace site
