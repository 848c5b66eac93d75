// Figures for a whole download run through the main window, offscreen, against
// the fixture site: one name of 1000 wallpapers of about 200 KB fetched by 50
// workers with the real 200 ms pause, then the same name again with every file
// already on disk. The UI thread runs its event loop wired to the engine as the
// program's entry wires it. Then the same download through ostrana-get, as a
// process of its own, into a fresh folder against the same site.
//
// Usage: download_bench [links [workers]]   (defaults 1000 and 50)

#include <sys/resource.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "ChildLauncher.h"
#include "download/DiskLayout.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"
#include "task/MainThread.h"
#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace {

using bench::Clock;
using bench::Millis;
using bench::ProcStatusMb;
using bench::Seconds;

constexpr int kLinksPerPage = 30;
constexpr int kDistinctImages = 5;
constexpr qsizetype kImageBytes = 200 * 1024;
constexpr int kTickMs = 5;
constexpr std::chrono::seconds kRunBound{300};

// Targets on the 2-core machine the program is built for.
constexpr double kRatioTarget = 1.03;
constexpr double kCommandRatioTarget = 1.02;
constexpr double kStallTargetMs = 100;
constexpr double kRssTargetMb = 200;
constexpr double kRerunTargetS = 2;


double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return s(usage.ru_utime) + s(usage.ru_stime);
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}


// A real 1024x768 JPEG of about kImageBytes, the size of a typical wallpaper,
// filled with picture data: the program refuses a file whose end-of-image
// marker lies further than 64 KiB from its end.
QByteArray WallpaperJpeg(int seed) { return fixture::MakeNoisyJpeg(1024, 768, seed); }

// The UI thread's view of a run: the gaps between the ticks of a precise 5 ms
// timer (any longer gap is time the event loop could not react), and the
// hand-offs from the task threads, how long each waited to be run and how
// long each batch of them took.
struct TLoopProbe {
  Clock::time_point LastTick;
  Clock::duration LongestGap{};
  int GapsOver20 = 0;
  int GapsOver50 = 0;
  int GapsOver100 = 0;

  int Wakes = 0;
  Clock::duration LongestWakeDelay{};
  Clock::duration TotalWakeDelay{};
  Clock::duration LongestBatch{};
  Clock::duration TotalBatch{};
  int Batches = 0;

  void Reset() {
    LastTick = Clock::now();
    LongestGap = {};
    GapsOver20 = GapsOver50 = GapsOver100 = 0;
    Wakes = 0;
    LongestWakeDelay = TotalWakeDelay = LongestBatch = TotalBatch = {};
    Batches = 0;
  }
  void Tick() {
    const Clock::time_point now = Clock::now();
    const Clock::duration gap = now - LastTick;
    LastTick = now;
    LongestGap = std::max(LongestGap, gap);
    const double ms = Millis(gap);
    GapsOver20 += ms > 20;
    GapsOver50 += ms > 50;
    GapsOver100 += ms > 100;
  }
  // On the UI thread, for a wake-up queued at `posted`.
  void RunHandOffs(Clock::time_point posted) {
    const Clock::time_point start = Clock::now();
    ++Wakes;
    LongestWakeDelay = std::max(LongestWakeDelay, start - posted);
    TotalWakeDelay += start - posted;
    if (task::CheckSynchronize()) {
      const Clock::duration took = Clock::now() - start;
      LongestBatch = std::max(LongestBatch, took);
      TotalBatch += took;
      ++Batches;
    }
  }
};

// Counts the preview's paints: each picture a worker hands over is painted
// once, at once, while the worker waits.
class TPaintCounter : public QObject {
 public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    Paints += event->type() == QEvent::Paint;
    return false;
  }
};

struct TRunFigures {
  bool Ended = false;
  double TotalS = 0;     // Start pressed to the last worker's end
  double SearchS = 0;    // Start pressed to the first worker's row
  double DownloadS = 0;  // first worker's row to the last worker's end
  double CpuS = 0;
  double UiCpuS = 0;
  int ImageRequests = 0;
  int PreviewPaints = 0;
  TLoopProbe Probe;
};

// ostrana-get's run, timed from outside: it has no search timing of its own,
// so its search is taken to end at the site's first image request.
struct TCommandFigures {
  bench::TChildRun Child;
  double TotalS = 0;     // started to reaped
  double SearchS = -1;   // started to the first image request; -1: none came
  double DownloadS = 0;  // the first image request to its end
  double BenchCpuS = 0;  // this process meanwhile: the fixture server's threads
  int ImageRequests = 0;
  QString Output;        // what it printed
  QString MissingFiles;  // the wallpapers and the preview not on disk, whole
  QString Problems;      // everything that went wrong, those too
};

class TBench {
 public:
  TBench(int links, int workers) : Links(links), Workers(workers) {
    if (!WorkDir.isValid()) throw std::runtime_error("no temporary folder");
    QList<QByteArray> images;
    for (int s = 0; s < kDistinctImages; ++s) images << WallpaperJpeg(s + 1);
    const int pages = (Links + kLinksPerPage - 1) / kLinksPerPage;
    Name = fixture::MakeSiteName(kName, pages, kLinksPerPage, {}, 100001, {"1024x768"});
    Name.Pages.last().resize(Links - (pages - 1) * kLinksPerPage);
    int k = 0;
    for (auto& page : Name.Pages)
      for (fixture::TWallpaper& w : page) w.Image = images[k++ % kDistinctImages];
    Site.AddName(Name);

    Environment = ui::CompiledEnvironment(WorkDir.path(), Platform);
    Environment.Site = Site.Urls();
    Form = std::make_unique<ui::TForm1>(Environment);
    Form->SpinEdit1->setValue(Workers);
    Form->Image1->installEventFilter(&Previews);
    Form->show();
    QObject::connect(Form->ListView3->model(), &QAbstractItemModel::rowsInserted, [this] {
      if (RowsAt == Clock::time_point{}) RowsAt = Clock::now();
    });
    // As the program's entry wires the engine to the event loop, with the wake-ups timed.
    task::SetWakeUpHook([this] {
      const Clock::time_point posted = Clock::now();
      QMetaObject::invokeMethod(
          qApp, [this, posted] { Current.Probe.RunHandOffs(posted); }, Qt::QueuedConnection);
    });
  }

  ~TBench() {
    Form.reset();  // waits for the task threads
    task::SetWakeUpHook({});
    QCoreApplication::removePostedEvents(qApp);  // wake-ups that point at this object
  }

  double PauseSeconds() const { return double(Environment.Download.FetchPause.count()) / 1000; }

  TRunFigures Run() {
    Current = TRunFigures{};
    Site.Server().ClearLog();
    RowsAt = {};
    Previews.Paints = 0;
    Current.Probe.Reset();
    const double cpu0 = ProcessCpuSeconds();
    const double ui0 = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();

    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    Clock::time_point end;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      Current.Probe.Tick();
      const bool over = !Form->Working && task::LiveThreadCount() == 0;
      if (over || Clock::now() - start > kRunBound) {
        end = Clock::now();
        Current.Ended = over;
        loop.quit();
      }
    });
    Form->NameEdit->setEditText(kName);
    Form->Button1Click();
    tick.start();
    loop.exec();
    tick.stop();

    Current.CpuS = ProcessCpuSeconds() - cpu0;
    Current.UiCpuS = ThreadCpuSeconds() - ui0;
    Current.TotalS = Seconds(end - start);
    Current.PreviewPaints = Previews.Paints;
    if (RowsAt != Clock::time_point{}) {
      Current.SearchS = Seconds(RowsAt - start);
      Current.DownloadS = Seconds(end - RowsAt);
    }
    for (const fixture::TRequestRecord& r : Site.Server().Requests())
      Current.ImageRequests += r.Host == fixture::TFixtureSite::kImageHost;
    return Current;
  }

  // Every wallpaper on disk, whole, and the window's count saying so.
  QString Problems() const {
    QString problems = FileProblems(WorkDir.path());
    if (Form->Found->text() != "Found: " + QString::number(Links))
      problems += "Found shows " + Form->Found->text() + "; ";
    return problems;
  }

  // The same name through ostrana-get, started by `launcher` into a fresh
  // folder that points at this site.
  TCommandFigures RunCommand(bench::TChildLauncher& launcher) {
    TCommandFigures figures;
    const QTemporaryDir scratch;
    const QString dir = scratch.path() + "/work";
    if (!scratch.isValid() || !QDir().mkpath(dir)) {
      figures.Problems = "no folder for ostrana-get; ";
      return figures;
    }
    QFile settings(download::SettingsFilePath(dir));
    const site::TSiteUrls urls = Site.Urls();
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("[Site]\nMainSiteUrl=" + urls.MainSiteUrl.toUtf8() + "\nWallpaperHostUrl=" +
                       urls.WallpaperHostUrl.toUtf8() + "\nImageHostUrl=" + urls.ImageHostUrl.toUtf8() + "\n") < 0) {
      figures.Problems = "Settings.ini for ostrana-get could not be written; ";
      return figures;
    }
    settings.close();

    Site.Server().ClearLog();
    std::atomic<bool> over{false};
    Clock::time_point firstImage{};
    std::thread watch([&] {
      std::size_t seen = 0;
      while (!over) {
        if (!Site.Server().WaitForRequests(int(seen) + 1, std::chrono::milliseconds(100))) continue;
        const std::vector<fixture::TRequestRecord> log = Site.Server().Requests();
        for (std::size_t i = seen; i < log.size(); ++i)
          if (log[i].Host == fixture::TFixtureSite::kImageHost) {
            firstImage = Clock::now();
            return;
          }
        seen = log.size();
      }
    });
    const double cpu0 = ProcessCpuSeconds();
    const std::vector<std::string> argv{OSTRANA_GET_PATH, "--dir", dir.toStdString(), "--threads",
                                        std::to_string(Workers), "--sizes", "1024x768", "--quiet", kName};
    const QString output = scratch.path() + "/output.txt";
    try {
      figures.Child = launcher.Run(argv, output.toStdString(), kRunBound);
    } catch (const std::exception& e) {
      figures.Problems = QString("ostrana-get: ") + e.what() + "; ";
    }
    over = true;
    watch.join();
    figures.BenchCpuS = ProcessCpuSeconds() - cpu0;
    if (!figures.Problems.isEmpty()) return figures;

    figures.TotalS = Seconds(figures.Child.End - figures.Child.Start);
    if (firstImage != Clock::time_point{}) {
      figures.SearchS = Seconds(firstImage - figures.Child.Start);
      figures.DownloadS = Seconds(figures.Child.End - firstImage);
    }
    for (const fixture::TRequestRecord& r : Site.Server().Requests())
      figures.ImageRequests += r.Host == fixture::TFixtureSite::kImageHost;
    QFile printed(output);
    if (printed.open(QIODevice::ReadOnly)) figures.Output = QString::fromUtf8(printed.readAll()).trimmed();

    if (!figures.Child.Ended) figures.Problems += "ostrana-get did not end and was killed; ";
    else if (figures.Child.Signal)
      figures.Problems += "ostrana-get ended by signal " + QString::number(figures.Child.Signal) + "; ";
    else if (figures.Child.ExitStatus != 0)
      figures.Problems += "ostrana-get exited with " + QString::number(figures.Child.ExitStatus) + "; ";
    if (figures.SearchS < 0) figures.Problems += "ostrana-get fetched no image; ";
    if (figures.ImageRequests != Links)
      figures.Problems += QString::number(figures.ImageRequests) + " image requests by ostrana-get; ";
    figures.MissingFiles = FileProblems(dir);
    figures.Problems += figures.MissingFiles;
    return figures;
  }

  static constexpr const char* kName = "Bench Name";
  const int Links;
  const int Workers;

 private:
  // Every wallpaper whole in `dir`'s folder of the name, and its preview.
  QString FileProblems(const QString& dir) const {
    const QDir folder(dir + "/Wallpapers/" + kName + "/1024x768");
    int bad = 0;
    for (const auto& page : Name.Pages)
      for (const fixture::TWallpaper& w : page) {
        const QFileInfo file(folder.filePath(QString(kName) + " (" + w.Id + ").jpg"));
        bad += !file.exists() || file.size() != w.Image.size();
      }
    QString problems;
    if (bad) problems += QString::number(bad) + " wallpaper files missing or of the wrong size; ";
    if (!QFile::exists(dir + "/Wallpapers/" + kName + "/Preview.jpg")) problems += "no Preview.jpg; ";
    return problems;
  }

  fixture::TFixtureSite Site;
  fixture::TSiteName Name;
  QTemporaryDir WorkDir;
  ui::TRecordingPlatform Platform;
  ui::TEnvironment Environment;
  std::unique_ptr<ui::TForm1> Form;
  TPaintCounter Previews;
  Clock::time_point RowsAt;
  TRunFigures Current;
};

void PrintLoop(const TRunFigures& run) {
  const TLoopProbe& p = run.Probe;
  std::printf(
      "  UI loop: longest gap between %d ms ticks %.1f ms (target <= %.0f); gaps > 20 ms: %d, > 50 ms: %d, "
      "> 100 ms: %d\n",
      kTickMs, Millis(p.LongestGap), kStallTargetMs, p.GapsOver20, p.GapsOver50, p.GapsOver100);
  std::printf(
      "  hand-offs: %d wake-ups, %d batches run; wake-up waited %.2f ms on average, %.1f ms at most; "
      "batches took %.3f s in all, %.1f ms at most\n",
      p.Wakes, p.Batches, p.Wakes ? Millis(p.TotalWakeDelay) / p.Wakes : 0.0, Millis(p.LongestWakeDelay),
      Seconds(p.TotalBatch), Millis(p.LongestBatch));
  std::printf("  preview painted %d times\n", run.PreviewPaints);
}

void PrintCommand(const TCommandFigures& run, int links, int workers, double pause, double ideal) {
  std::printf("ostrana-get (--threads %d --sizes 1024x768 --quiet, a fresh folder, its own process):\n", workers);
  const bench::TChildRun& child = run.Child;
  if (child.Start == bench::TChildRun{}.Start) {
    std::printf("  not started: %s\n", qPrintable(run.Problems));
    return;
  }
  if (!child.Ended)
    std::printf("  did not end within %lld s: killed\n", static_cast<long long>(kRunBound.count()));
  else if (child.Signal)
    std::printf("  ended by signal %d\n", child.Signal);
  else
    std::printf("  exit status %d (0: every wallpaper on disk)\n", child.ExitStatus);
  std::printf(
      "  whole run %.3f s (started to reaped): search %.3f s (to the site's first image request), "
      "download phase %.3f s (from it to the end)\n",
      run.TotalS, run.SearchS, run.DownloadS);
  const double ratio = run.DownloadS / ideal;
  std::printf("  download phase / ideal (ceil(%d/%d) x %.1f s = %.1f s) = %.3f (target <= %.2f: %s)\n", links, workers,
              pause, ideal, ratio, kCommandRatioTarget,
              run.SearchS >= 0 && ratio <= kCommandRatioTarget ? "met" : "not met");
  std::printf("  CPU %.2f s for the command (this process meanwhile, the fixture server: %.2f s), %d image requests\n",
              child.CpuS, run.BenchCpuS, run.ImageRequests);
  std::printf("  peak resident memory %.1f MiB (its own ru_maxrss)\n", child.PeakRssMb);
  std::printf("  every file on disk, and Preview.jpg: %s\n",
              run.MissingFiles.isEmpty() ? "yes" : qPrintable(run.MissingFiles));
  if (!run.Output.isEmpty()) std::printf("  it printed:\n%s\n", qPrintable(run.Output));
}

}  // namespace

int main(int argc, char** argv) {
  // Before the process grows, so that ostrana-get's peak memory is its own.
  std::unique_ptr<bench::TChildLauncher> launcher;
  try {
    launcher = std::make_unique<bench::TChildLauncher>();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "download_bench: %s\n", e.what());
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int links = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const int workers = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 50) : 50;

  std::unique_ptr<TBench> bench;
  try {
    bench = std::make_unique<TBench>(links, workers);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "download_bench: %s\n", e.what());
    return 1;
  }

  const double rssBefore = ProcStatusMb("VmRSS:");
  const double pause = bench->PauseSeconds();
  const double ideal = std::ceil(double(links) / workers) * pause;
  std::printf("Download run: %d wallpapers of %lld KiB (%d distinct JPEGs 1024x768), %d workers, %.0f ms pause\n",
              links, static_cast<long long>(kImageBytes / 1024), kDistinctImages, workers, pause * 1000);

  const TRunFigures first = bench->Run();
  const double hwmFirst = ProcStatusMb("VmHWM:");
  std::printf("First run (nothing on disk):\n");
  std::printf("  whole run %.3f s: search %.3f s, download phase %.3f s\n", first.TotalS, first.SearchS,
              first.DownloadS);
  std::printf("  download phase / ideal (ceil(%d/%d) x %.1f s = %.1f s) = %.3f (target <= %.2f)\n", links, workers,
              pause, ideal, first.DownloadS / ideal, kRatioTarget);
  PrintLoop(first);
  std::printf(
      "  CPU %.2f s for the process (UI thread %.2f s; the fixture server's threads count too), "
      "%d image requests\n",
      first.CpuS, first.UiCpuS, first.ImageRequests);
  std::printf("  resident memory: %.1f MiB before the run, peak %.1f MiB (target <= %.0f)\n", rssBefore, hwmFirst,
              kRssTargetMb);
  QString problems;
  if (!first.Ended) problems += "the first run did not end; ";
  if (first.ImageRequests != links)
    problems += QString::number(first.ImageRequests) + " image requests in the first run; ";
  problems += bench->Problems();

  const TRunFigures second = bench->Run();
  std::printf("Second run (every file on disk):\n");
  std::printf("  whole run %.3f s (target <= %.0f): search %.3f s, download phase %.3f s\n", second.TotalS,
              kRerunTargetS, second.SearchS, second.DownloadS);
  PrintLoop(second);
  std::printf("  CPU %.2f s (UI thread %.2f s), %d image requests, peak resident memory %.1f MiB\n", second.CpuS,
              second.UiCpuS, second.ImageRequests, ProcStatusMb("VmHWM:"));
  if (!second.Ended) problems += "the second run did not end; ";
  if (second.ImageRequests != 0)
    problems += QString::number(second.ImageRequests) + " image requests in the second run; ";
  problems += bench->Problems();

  const TCommandFigures command = bench->RunCommand(*launcher);
  PrintCommand(command, links, workers, pause, ideal);
  problems += command.Problems;

  bench.reset();
  if (task::LiveThreadCount() != 0) problems += "task threads left after closing; ";
  if (!problems.isEmpty()) {
    std::fprintf(stderr, "download_bench: %s\n", qPrintable(problems));
    return 1;
  }
  return 0;
}
