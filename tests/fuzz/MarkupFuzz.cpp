// A listing page read for its page links and wallpaper links, and each list
// sorted as the search sorts it.
// Input: a page body whose first three lines (once decoded) give the main site
// address, the wallpaper host address and the locale name, then the page.

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <algorithm>

#include "fuzz/FuzzSupport.h"
#include "site/Markup.h"
#include "site/SortUnique.h"
#include "site/TextDecode.h"

namespace {

bool CaseLess(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

// The order SortUnique promises: the locale's, ignoring case, and the
// case-insensitive text where the locale sees no difference.
void CheckSortedUnique(const QStringList& before, const QStringList& after, const QLocale& locale) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  for (qsizetype i = 1; i < after.size(); ++i) {
    const int order = collator.compare(after[i - 1], after[i]);
    FUZZ_CHECK(order < 0 || (order == 0 && CaseLess(after[i - 1], after[i])));
  }

  // No two entries equal ignoring case, and every entry stands for one of the input.
  QStringList folded = after;
  std::sort(folded.begin(), folded.end(), CaseLess);
  for (qsizetype i = 1; i < folded.size(); ++i) FUZZ_CHECK(CaseLess(folded[i - 1], folded[i]));
  const QSet<QString> given(before.begin(), before.end());
  for (const QString& entry : after) FUZZ_CHECK(given.contains(entry));
  for (const QString& entry : before) {
    const auto at = std::lower_bound(folded.begin(), folded.end(), entry, CaseLess);
    FUZZ_CHECK(at != folded.end() && QString::compare(*at, entry, Qt::CaseInsensitive) == 0);
  }
}

// An entry is a piece of its line; with the start marker there, the piece
// that begins where the marker does.
void CheckEntry(const QString& line, const QString& start, const QString& entry) {
  FUZZ_CHECK(line.contains(entry));
  const qsizetype s = start.isEmpty() ? -1 : line.indexOf(start);
  if (s >= 0) FUZZ_CHECK(QStringView(line).sliced(s).startsWith(entry));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList lines = site::SplitLines(site::DecodeText(fuzz::Bytes(data, size)));
  if (lines.size() < 3) return 0;
  const QString mainSiteUrl = lines[0];
  const QString wallpaperHostUrl = lines[1];
  const QLocale locale(lines[2]);

  QStringList pages, links;
  for (const QString& line : lines.mid(3)) {
    if (site::IsListingPageLine(line)) {
      FUZZ_CHECK(line.contains(site::kPageLinkFilter));
      const QString entry = site::ListingPageEntry(line, mainSiteUrl);
      CheckEntry(line, mainSiteUrl, entry);
      pages << entry;
    }
    if (site::IsWallpaperLinkLine(line, wallpaperHostUrl)) {
      FUZZ_CHECK(line.contains(wallpaperHostUrl + u'/'));
      const QString entry = site::WallpaperLinkEntry(line, wallpaperHostUrl);
      CheckEntry(line, wallpaperHostUrl, entry);
      links << entry;
    }
  }

  for (const QStringList& found : {pages, links}) {
    QStringList sorted = found;
    site::SortUnique(sorted, locale);
    CheckSortedUnique(found, sorted, locale);
  }
  return 0;
}
