// A run's name and the wallpaper links of its pages, split into id and size
// and made into an image address and a file path, as a worker does.
// Input: a page body whose first two lines (once decoded) give the name and
// the image host address; every further line is a link.

#include "fuzz/FuzzSupport.h"
#include "download/DiskLayout.h"
#include "download/Resolution.h"
#include "site/UrlScheme.h"
#include "site/TextDecode.h"

namespace {

bool HasUpperAZ(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

// The slug differs from the name only where the name has a blank, an
// apostrophe or a letter A to Z.
void CheckSlug(const QString& name, const QString& slug) {
  FUZZ_CHECK(slug.size() == name.size());
  FUZZ_CHECK(!slug.contains(u' ') && !slug.contains(u'\'') && !HasUpperAZ(slug));
  for (qsizetype i = 0; i < name.size(); ++i) {
    const QChar n = name[i];
    if (n != u' ' && n != u'\'' && !(n >= u'A' && n <= u'Z')) FUZZ_CHECK(slug[i] == n);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList lines = site::SplitLines(site::DecodeText(fuzz::Bytes(data, size)));
  if (lines.size() < 2) return 0;
  const QString name = lines[0];
  const QString imageHostUrl = lines[1];
  const QString slug = site::WorkerSlug(name);
  CheckSlug(name, slug);
  const std::optional<QString> folder = download::NameFolder(QStringLiteral("/w"), name);

  for (const QString& link : lines.mid(2)) {
    const QString id = site::GetWallpaperID(slug, link);
    const QString res = site::GetWallpaperRes(id, link);
    // The id is one path step of the link, the size its tail.
    FUZZ_CHECK(!id.contains(u'/') && link.contains(id));
    FUZZ_CHECK(link.endsWith(res));

    const QString url = site::ImageUrl(imageHostUrl, slug, res, id);
    FUZZ_CHECK(url.startsWith(imageHostUrl) && url.endsWith(QStringLiteral(".jpg")));

    // Only a known size makes a file, and the file stays in its size folder.
    if (!folder || !download::ResolutionFromText(res)) continue;
    const QString file = download::WallpaperFile(*folder, res, name, id);
    const QString sizeFolder = *folder + u'/' + res + u'/';
    FUZZ_CHECK(file.startsWith(sizeFolder));
    const QString fileName = file.mid(sizeFolder.size());
    FUZZ_CHECK(!fileName.contains(u'/') && !fileName.contains(QChar(0)));
    FUZZ_CHECK(fileName.endsWith(QStringLiteral(").jpg")));
  }
  return 0;
}
