#pragma once
// The URL form of a person's name and the address of the name's first listing page.

#include <QString>

namespace site {

// Blanks to "-", A to Z lower-cased, "-/" to "/", "'" to "-": each step one
// left-to-right pass, nothing trimmed ("  Mary Ann" gives "--mary-ann").
QString NameSlug(const QString& Name);

// MainSiteUrl + "/" + slug + "/wallpapers/", lower-cased as a whole.
QString FirstListingPageUrl(const QString& MainSiteUrl, const QString& Name);

}  // namespace site
