#include "site/Discovery.h"

#include <algorithm>
#include <limits>

#include "site/Markup.h"
#include "site/Retry.h"
#include "site/Slug.h"
#include "site/SortUnique.h"
#include "site/Text.h"

namespace site {

namespace {

// A progress bar counts in int; a page of more lines than that shows a full
// bar rather than a wrapped count.
int BarValue(qsizetype Count) {
  return int(std::min<qsizetype>(Count, std::numeric_limits<int>::max()));
}

}  // namespace

QString PercentCaption(qint64 Position, qint64 Max) {
  return QString::number(Position * 100 / Max) + u'%';
}

void GetLinks(const QString& URL, QStringList& SL, const TRunContext& Run, const QString& WallpaperHostUrl) {
  QStringList lines;
  DownloadPage(WithTrailingSlash(URL), lines, Run);
  for (const QString& line : lines) {
    if (IsWallpaperLinkLine(line, WallpaperHostUrl)) SL.append(WallpaperLinkEntry(line, WallpaperHostUrl));
  }
}

TDiscovery::TDiscovery(const TRunContext& Run, const TSiteUrls& Urls, TDiscoveryView& View)
    : Run_(Run), Urls_(Urls), View_(View) {}

void TDiscovery::FindImagesTask(QStringList& ImageLinks) {
  const QString url = FirstListingPageUrl(Urls_.MainSiteUrl, View_.NameText());
  ImageLinks.clear();
  FindImages(url, ImageLinks);
  SortUnique(ImageLinks);
}

void TDiscovery::FindImages(const QString& URL, QStringList& LinkList) {
  LinkList.clear();
  QStringList pages;
  GetPages(URL, pages);
  View_.SetStatus(QStringLiteral("Searching for Wallpapers..."));
  View_.SetProgressMax(BarValue(pages.size()));
  for (qsizetype i = 0; i < pages.size(); ++i) {
    View_.UpdateProgress(BarValue(i));
    const int max = View_.ProgressMax();
    if (max > 0) View_.SetLabel2(PercentCaption(View_.ProgressPosition(), max));
    GetLinks(pages[i], LinkList);
  }
  View_.UpdateProgress(0);
}

void TDiscovery::GetPages(const QString& URL, QStringList& SL) {
  View_.SetStatus(QStringLiteral("Searching for pages..."));
  const QString url = WithTrailingSlash(URL);
  QStringList lines;
  DownloadPage(url, lines, Run_);
  View_.SetProgressMax(BarValue(lines.size()));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    // The caption shows the bar before this line's step: the previous line's share.
    const int max = View_.ProgressMax();
    if (max > 0) View_.SetLabel2(PercentCaption(View_.ProgressPosition(), max));
    View_.UpdateProgress(BarValue(i));
    if (IsListingPageLine(lines[i])) SL.append(ListingPageEntry(lines[i], Urls_.MainSiteUrl));
  }
  SL.insert(0, url);
  SortUnique(SL);
  View_.UpdateProgress(0);
}

void TDiscovery::GetLinks(const QString& URL, QStringList& SL) const {
  site::GetLinks(URL, SL, Run_, Urls_.WallpaperHostUrl);
}

}  // namespace site
