// The site's index of names read line by line, and each name made into the
// addresses of its thumbnail and the thumbnail's file, as the catalogue does.
// Input: a page body whose first three lines (once decoded) give the main site
// address, the image host address and the first wallpaper link of a name's
// page; every further line is a line of the index.

#include <algorithm>

#include "fuzz/FuzzSupport.h"
#include "download/Catalogue.h"
#include "download/DiskLayout.h"
#include "site/Markup.h"
#include "site/UrlScheme.h"
#include "site/TextDecode.h"

namespace {

bool HasUpperAZ(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

// The site's addresses are lower case and hold no apostrophe.
void CheckTidy(const QString& url) { FUZZ_CHECK(!HasUpperAZ(url) && !url.contains(u'\'')); }

void CheckThumbnailPath(const QString& dir, const QString& caption) {
  const std::optional<QString> path = download::ThumbnailPath(dir, caption);
  if (!path) return;
  const QString folder = dir + QStringLiteral("/AllGirls/");
  FUZZ_CHECK(path->startsWith(folder) && path->endsWith(QStringLiteral(".jpg")));
  const QString fileName = path->mid(folder.size());
  FUZZ_CHECK(!fileName.contains(u'/') && !fileName.contains(QChar(0)));
  // The catalogue lists AllGirls by these names: each must give its caption back.
  FUZZ_CHECK(download::NameFromPart(fileName.chopped(4)) == caption);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList lines = site::SplitLines(site::DecodeText(fuzz::Bytes(data, size)));
  if (lines.size() < 3) return 0;
  const QString mainSiteUrl = lines[0];
  const QString imageHostUrl = lines[1];
  const QString link = lines[2];

  for (const QString& line : lines.mid(3)) {
    const std::optional<QString> name = site::IndexLineName(line);
    FUZZ_CHECK(name.has_value() == line.contains(QStringLiteral("wallpapers for")));
    if (!name) continue;
    FUZZ_CHECK(line.contains(*name) && !name->contains(QStringLiteral("\">")));

    const QString raw = site::RawSlug(*name);
    FUZZ_CHECK(raw.size() == name->size() && !raw.contains(u' ') && !HasUpperAZ(raw));
    FUZZ_CHECK(site::PageSlug(*name) == site::WorkerSlug(*name));

    const QString pageUrl = site::ThumbPageUrl(mainSiteUrl, *name);
    CheckTidy(pageUrl);
    FUZZ_CHECK(pageUrl.endsWith(QStringLiteral("/wallpapers/")));

    const QString id = site::GetWallpaperID(site::PageSlug(*name), link);
    const QString res = site::GetWallpaperRes(id, link);
    const QString imageUrl = site::ThumbImageUrl(imageHostUrl, *name, res, id);
    CheckTidy(imageUrl);
    FUZZ_CHECK(imageUrl.endsWith(QStringLiteral(".jpg")));

    CheckThumbnailPath(QStringLiteral("/w"), *name);
  }
  return 0;
}
