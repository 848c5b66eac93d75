#pragma once
// What the system reads out of the site's listing pages. A line is searched
// for the first occurrence of each marker only, so it yields one entry at most.

#include <QString>
#include <optional>

namespace site {

// A line naming a further listing page contains this text.
inline const QString kPageLinkFilter = QStringLiteral("/wallpapers/page/");
// A listing-page entry ends before slash, double quote, greater-than.
inline const QString kPageLinkEnd = QStringLiteral("/\">");
// A wallpaper-link entry ends before slash, double quote.
inline const QString kWallpaperLinkEnd = QStringLiteral("/\"");

// The part of Line from max(s, 1), max(e - s, 0) characters long, with s and e
// the 1-based positions of StartMarker and EndMarker (0 when absent), both
// searched from the start of the line. A missing start marker gives the line's
// first e characters; a missing or earlier end marker gives "".
QString ExtractEntry(const QString& Line, const QString& StartMarker, const QString& EndMarker);

bool IsListingPageLine(const QString& Line);
QString ListingPageEntry(const QString& Line, const QString& MainSiteUrl);

// The line holds <a href=" + WallpaperHostUrl + "/".
bool IsWallpaperLinkLine(const QString& Line, const QString& WallpaperHostUrl);
QString WallpaperLinkEntry(const QString& Line, const QString& WallpaperHostUrl);

// The name a line of the index of names gives: from 15 characters after
// "wallpapers for" up to the first '">' of the line, empty when that comes too
// early or not at all. None when the line holds no "wallpapers for".
std::optional<QString> IndexLineName(const QString& Line);

}  // namespace site
