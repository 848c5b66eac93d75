#pragma once
// The site's URL scheme: how a person's name becomes the slugs of its addresses,
// the addresses built from them, and how a wallpaper page link splits into its
// id and size.
//
// The four slugs of one name differ only in their steps, each one left-to-right
// pass ("A-Z" lower-cases those letters only, so É keeps its case):
//
//   slug          steps                                    used for
//   NameSlug      blank→"-", A-Z, "-/"→"/", "'"→"-"        the listing pages the search walks
//   WorkerSlug    blank→"-", A-Z, "'"→"-"                  a run's image addresses and link split
//   PageSlug      = WorkerSlug                             the catalogue's link split
//   RawSlug       blank→"-", A-Z                           the catalogue's thumbnail addresses,
//                                                          tidied afterwards as a whole URL
//
// So "Ann /Bee" is "ann/bee" to the search but "ann-/bee" to a run's workers,
// and "O'Neil" keeps its apostrophe in RawSlug until the thumbnail address is
// tidied.

#include <QString>

namespace site {

QString NameSlug(const QString& Name);
QString WorkerSlug(const QString& Name);
QString PageSlug(const QString& Caption);
QString RawSlug(const QString& Caption);

// MainSiteUrl + "/" + NameSlug + "/wallpapers/", lower-cased as a whole.
QString FirstListingPageUrl(const QString& MainSiteUrl, const QString& Name);
// The site's page that lists every name: MainSiteUrl + "/babes/".
QString NamesIndexUrl(const QString& MainSiteUrl);

// A wallpaper page link is host/slug/id/size. The id follows the slug (where the
// slug is missing, the rest starts at position length(slug) + 1), and the size
// follows the first occurrence of the id in the link.
QString GetWallpaperID(const QString& Slug, const QString& Link);
QString GetWallpaperRes(const QString& Id, const QString& Link);

// ImageHostUrl + slug/slug-size-id.jpg, as built (the workers lower-case it when fetching).
QString ImageUrl(const QString& ImageHostUrl, const QString& Slug, const QString& Size, const QString& Id);

// The catalogue's addresses of a name's thumbnail: built from RawSlug, then
// lower-cased with "-/" made "/" and "'" made "-".
QString ThumbPageUrl(const QString& MainSiteUrl, const QString& Caption);
QString ThumbImageUrl(const QString& ImageHostUrl, const QString& Caption, const QString& Size, const QString& Id);

}  // namespace site
