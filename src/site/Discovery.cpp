#include "site/Discovery.h"

#include <algorithm>
#include <limits>

#include "site/Markup.h"
#include "site/Retry.h"
#include "site/UrlScheme.h"
#include "site/SortUnique.h"
#include "site/Text.h"

namespace site {

namespace {

// A progress bar counts in int; a page of more lines than that shows a full
// bar rather than a wrapped count.
int BarValue(qsizetype Count) {
  return int(std::min<qsizetype>(Count, std::numeric_limits<int>::max()));
}

qint64 Percent(qint64 Position, qint64 Max) { return Position * 100 / Max; }

}  // namespace

QString PercentCaption(qint64 Position, qint64 Max) { return QString::number(Percent(Position, Max)) + u'%'; }

TFetchResult GetLinks(const QString& URL, QStringList& SL, const TRunContext& Run, const QString& WallpaperHostUrl) {
  QStringList lines;
  TFetchResult result = DownloadPage(WithTrailingSlash(URL), lines, Run);
  for (const QString& line : lines) {
    if (IsWallpaperLinkLine(line, WallpaperHostUrl)) SL.append(WallpaperLinkEntry(line, WallpaperHostUrl));
  }
  return result;
}

QString PageFailureLine(const QString& URL, const TFetchResult& Result) {
  return QStringLiteral("ERR: Can not load page - ") + URL + QStringLiteral(" (") + Result.Describe() + u')';
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
  const int max = BarValue(pages.size());
  View_.SetProgressMax(max);
  const QString first = WithTrailingSlash(URL);
  for (qsizetype i = 0; i < pages.size(); ++i) {
    // The bar is this search's own, so its position is what was just set.
    const int position = std::min(BarValue(i), max);
    View_.UpdateProgress(position);
    if (max > 0) View_.SetLabel2(PercentCaption(position, max));
    const QString page = WithTrailingSlash(pages[i]);
    const TFetchResult result = site::GetLinks(page, LinkList, Run_, Urls_.WallpaperHostUrl);
    Report(page, result);
    if (!FirstPage_ && page.compare(first, Qt::CaseInsensitive) == 0) FirstPage_ = result;
  }
  View_.UpdateProgress(0);
}

void TDiscovery::GetPages(const QString& URL, QStringList& SL) {
  View_.SetStatus(QStringLiteral("Searching for pages..."));
  const QString url = WithTrailingSlash(URL);
  QStringList lines;
  FirstPage_ = DownloadPage(url, lines, Run_);
  Report(url, FirstPage_);
  const int max = BarValue(lines.size());
  View_.SetProgressMax(max);
  // The caption of a line shows the bar as the previous line left it; the
  // first line's, the bar as the new maximum leaves it.
  int previous = max > 0 ? View_.ProgressPosition() : 0;
  qint64 shownPercent = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (IsListingPageLine(lines[i])) SL.append(ListingPageEntry(lines[i], Urls_.MainSiteUrl));
    // Each hand-off waits for the UI thread, so a long page shows only the
    // lines that move the bar by a percent (and its last line); a stopped
    // search shows nothing more.
    const int position = std::min(BarValue(i), max);
    const bool last = i + 1 == lines.size();
    if (!Run_.Stopped() && (Percent(position, max) != shownPercent || last)) {
      View_.SetLabel2(PercentCaption(previous, max));
      View_.UpdateProgress(position);
      shownPercent = Percent(position, max);
    }
    previous = position;
  }
  SL.insert(0, url);
  SortUnique(SL);
  View_.UpdateProgress(0);
}

void TDiscovery::GetLinks(const QString& URL, QStringList& SL) {
  Report(WithTrailingSlash(URL), site::GetLinks(URL, SL, Run_, Urls_.WallpaperHostUrl));
}

void TDiscovery::Report(const QString& URL, const TFetchResult& Result) {
  if (Result || Result.Failure == TFetchFailure::Stopped || Run_.Stopped() || Run_.Terminating) return;
  if (Reported_.contains(URL)) return;
  Reported_.insert(URL);
  View_.AddLog(PageFailureLine(URL, Result));
}

}  // namespace site
