#pragma once
// Splitting a wallpaper page link (host/slug/id/size) and building the image
// address and file path from it. Positions follow the site's link form: the
// id follows the slug, and the size follows the first occurrence of the id.

#include <QString>

// A worker's slug of the run's name: blanks and apostrophes become dashes.
QString WorkerSlug(const QString& name);

QString GetWallpaperID(const QString& slug, const QString& link);
QString GetWallpaperRes(const QString& id, const QString& link);

// imageHostUrl + slug/slug-size-id.jpg, as built (not lower-cased).
QString ImageUrl(const QString& imageHostUrl, const QString& slug, const QString& size, const QString& id);
