#pragma once
// Turning a person's name into the sorted, duplicate-free list of that
// person's wallpaper links: the first listing page gives the further listing
// pages, every listing page gives wallpaper links.

#include <QSet>
#include <QString>
#include <QStringList>

#include "site/RunContext.h"
#include "site/SiteUrls.h"

namespace site {

// The controls the search reads and changes. The main window hands each call
// to the UI thread and waits for it; tests record them.
class TDiscoveryView {
 public:
  virtual ~TDiscoveryView() = default;
  virtual QString NameText() = 0;  // the name typed in NameEdit
  virtual void SetStatus(const QString& Caption) = 0;
  virtual void SetLabel2(const QString& Caption) = 0;
  virtual void SetProgressMax(int Max) = 0;
  virtual int ProgressMax() = 0;
  virtual int ProgressPosition() = 0;
  virtual void UpdateProgress(int Position) = 0;
  virtual void AddLog(const QString& Line) = 0;
};

// Position * 100 div Max followed by "%"; Max must be above 0.
QString PercentCaption(qint64 Position, qint64 Max);

// Appends to SL the wallpaper links found on the page at URL ("/" appended
// when missing). Touches no control, so the thumbnail pass calls it too.
// Returns the outcome of the page's fetch.
TFetchResult GetLinks(const QString& URL, QStringList& SL, const TRunContext& Run, const QString& WallpaperHostUrl);

// The log line for a page that could not be fetched after all its tries.
QString PageFailureLine(const QString& URL, const TFetchResult& Result);

class TDiscovery {
 public:
  TDiscovery(const TRunContext& Run, const TSiteUrls& Urls, TDiscoveryView& View);

  // The search task's body: ImageLinks becomes the links of the name in NameEdit.
  void FindImagesTask(QStringList& ImageLinks);
  // LinkList becomes the links of all listing pages that start from URL.
  // Every page is requested even after a stop, with one try each.
  void FindImages(const QString& URL, QStringList& LinkList);
  // Appends to SL the listing pages found on the page at URL and URL itself,
  // then sorts SL and removes its duplicates.
  void GetPages(const QString& URL, QStringList& SL);
  void GetLinks(const QString& URL, QStringList& SL);

  // Whether the first listing page of the last FindImages arrived (at its
  // first or its second asking), and why not: a name the site does not know
  // still has a page, a site that cannot be reached has none.
  const TFetchResult& FirstPage() const { return FirstPage_; }

 private:
  // Logs a page that could not be fetched, once per address and search; a
  // stopped search says nothing more.
  void Report(const QString& URL, const TFetchResult& Result);

  QSet<QString> Reported_;
  TFetchResult FirstPage_;
  const TRunContext& Run_;
  const TSiteUrls& Urls_;
  TDiscoveryView& View_;
};

}  // namespace site
