// Figures for the site access: the search over a name of 100 listing pages of
// 30 links each, SortUnique on 100,000 links, and 50 threads fetching images
// at once. Each is set against an ideal measured in the same run.

#include <QCollator>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"
#include "site/Discovery.h"
#include "site/Fetch.h"
#include "site/SortUnique.h"

namespace {

// Stands in for the window: keeps the bar's values, shows nothing.
class TQuietView : public site::TDiscoveryView {
 public:
  QString Name;
  int Max = 100;
  int Position = 0;
  QString NameText() override { return Name; }
  void SetStatus(const QString&) override {}
  void SetLabel2(const QString&) override {}
  void SetProgressMax(int NewMax) override {
    Max = NewMax;
    Position = std::clamp(Position, 0, std::max(Max, 0));
  }
  int ProgressMax() override { return Max; }
  int ProgressPosition() override { return Position; }
  void UpdateProgress(int NewPosition) override { Position = std::clamp(NewPosition, 0, std::max(Max, 0)); }
  void AddLog(const QString&) override {}
};

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

void BenchFindImages() {
  constexpr int kPages = 100;
  constexpr int kLinks = 30;
  constexpr int kRounds = 7;
  fixture::TFixtureSite site;
  const fixture::TSiteName name = fixture::MakeSiteName("Bench Name", kPages, kLinks, {}, 100001,
                                                        {"1024x768", "1280x1024", "1920x1200"});
  site.AddName(name);
  const site::TSiteUrls urls = site.Urls();
  std::atomic<bool> working{true};
  std::atomic<bool> terminating{false};
  const site::TRunContext run{working, terminating, {}};
  TQuietView view;
  view.Name = name.Name;
  site::TDiscovery discovery(run, urls, view);

  std::vector<double> search;
  std::vector<double> fetchOnly;
  qsizetype found = 0;
  for (int round = 0; round < kRounds; ++round) {
    QStringList links;
    QElapsedTimer timer;
    timer.start();
    discovery.FindImagesTask(links);
    search.push_back(double(timer.nsecsElapsed()) / 1e6);
    found = links.size();

    // The ideal: the same 101 page reads with nothing done to their lines.
    timer.restart();
    QStringList lines;
    site::FetchText(site.MainSiteUrl() + QString::fromUtf8(fixture::TFixtureSite::ListingTarget(name.Slug, 1)), lines,
                    terminating);
    for (int p = 1; p <= kPages; ++p)
      site::FetchText(site.MainSiteUrl() + QString::fromUtf8(fixture::TFixtureSite::ListingTarget(name.Slug, p)),
                      lines, terminating);
    fetchOnly.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  const double ms = Median(search);
  const double ideal = Median(fetchOnly);
  std::printf("FindImages, %d pages x %d links (%lld links found), median of %d:\n", kPages, kLinks,
              static_cast<long long>(found), kRounds);
  std::printf("  total %.1f ms, %.3f ms per page, %.1f us per link\n", ms, ms / kPages, ms * 1000 / (kPages * kLinks));
  std::printf("  bare page fetches %.1f ms; search / fetches = %.2f\n", ideal, ms / ideal);
}

void BenchSortUnique() {
  constexpr int kLinks = 100000;
  QStringList base;
  base.reserve(kLinks);
  QRandomGenerator random(42);
  for (int i = 0; i < kLinks; ++i) {
    QString link = QStringLiteral("http://wallpapers.ostrana.test/name-%1/%2/1280x1024")
                       .arg(random.bounded(300))
                       .arg(random.bounded(1000000));
    if (i % 10 == 0) link = link.toUpper();  // case variants, most of them unique
    base << link;
  }
  QStringList ideal = base;
  QElapsedTimer timer;
  timer.start();
  std::sort(ideal.begin(), ideal.end());
  ideal.erase(std::unique(ideal.begin(), ideal.end()), ideal.end());
  const double idealMs = double(timer.nsecsElapsed()) / 1e6;
  std::printf("SortUnique, %d links:\n", kLinks);
  std::printf("  ideal (case-sensitive code-point sort and unique) %.1f ms\n", idealMs);
  for (const QLocale& locale : {QLocale(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
    QStringList list = base;
    timer.restart();
    site::SortUnique(list, locale);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("  locale %-6s %.1f ms (%.2f us per link, %.1f x ideal), %lld left\n", qPrintable(locale.name()), ms,
                ms * 1000 / kLinks, ms / idealMs, static_cast<long long>(list.size()));
  }
}

void BenchParallelImages() {
  constexpr int kThreads = 50;
  constexpr int kFetchesEach = 20;
  fixture::TFixtureSite site;
  const QByteArray jpeg = fixture::MakeJpeg(1280, 1024);
  site.AddName(fixture::MakeSiteName("Bench Name", 1, kThreads, jpeg, 1, {"1280x1024"}));
  std::atomic<bool> terminating{false};
  std::atomic<int> failures{0};
  auto fetchAll = [&](int Threads) {
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
      threads.emplace_back([&, t] {
        const QString url = site.ImageHostUrl() + "bench-name/bench-name-1280x1024-" + QString::number(t + 1) + ".jpg";
        for (int i = 0; i < kFetchesEach; ++i) {
          QByteArray buffer;
          if (!site::FetchBytes(url, buffer, terminating) || buffer.size() != jpeg.size()) ++failures;
        }
      });
    }
    for (auto& t : threads) t.join();
    return double(timer.nsecsElapsed()) / 1e9;
  };
  const double one = fetchAll(1);
  const double many = fetchAll(kThreads);
  const double mb = double(jpeg.size()) / (1024 * 1024);
  std::printf("FetchBytes of a %.0f KiB JPEG, %d fetches per thread:\n", double(jpeg.size()) / 1024, kFetchesEach);
  std::printf("  1 thread: %.2f ms per fetch, %.0f MiB/s\n", one * 1000 / kFetchesEach, mb * kFetchesEach / one);
  std::printf("  %d threads: %.0f fetches/s, %.0f MiB/s (%.1f x one thread), %d failures\n", kThreads,
              kThreads * kFetchesEach / many, mb * kThreads * kFetchesEach / many,
              (kThreads * kFetchesEach / many) / (kFetchesEach / one), failures.load());
}

}  // namespace

int main() {
  BenchFindImages();
  BenchSortUnique();
  BenchParallelImages();
  return 0;
}
