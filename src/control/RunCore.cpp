#include "control/RunCore.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "control/LastSession.h"
#include "download/DiskLayout.h"
#include "download/FileStore.h"
#include "site/Discovery.h"

namespace control {

namespace {

// How often a waiting run looks at its stop flag: a stop ends the fetches in
// progress within the same slice.
constexpr std::chrono::milliseconds kStopSlice{50};

// What the threads of one headless run share; every call into the observer
// holds the lock, so the observer sees one call at a time.
struct TRunState {
  explicit TRunState(TRunObserver& observer) : Observer(observer) {}

  void Log(const QString& line) {
    std::lock_guard lock(Mutex);
    Observer.Log(line);
  }

  TRunObserver& Observer;
  std::mutex Mutex;
  std::condition_variable Ended;
  std::optional<download::TWriteResult> WriteFailure;
};

// The search reads and sets its progress as the window's would, and logs.
class THeadlessDiscoveryView : public site::TDiscoveryView {
 public:
  THeadlessDiscoveryView(download::TDownloadRun& run, TRunState& state) : Run_(run), State_(state) {}

  QString NameText() override { return Run_.Name; }
  void SetStatus(const QString&) override {}
  void SetLabel2(const QString&) override {}
  void SetProgressMax(int max) override { Max_ = max; }
  int ProgressMax() override { return Max_; }
  int ProgressPosition() override { return Position_; }
  void UpdateProgress(int position) override { Position_ = position; }
  void AddLog(const QString& line) override {
    Run_.SearchLog << line;
    State_.Log(line);
  }

 private:
  download::TDownloadRun& Run_;
  TRunState& State_;
  int Max_ = 0, Position_ = 0;
};

class THeadlessWorkerHost : public download::TWorkerHost {
 public:
  THeadlessWorkerHost(download::TDownloadRun& run, TRunState& state) : Run_(run), State_(state) {}

  void Report(int, const QStringList& lines, const QString&) override {
    std::lock_guard lock(State_.Mutex);
    for (const QString& line : lines) State_.Observer.Log(line);
  }
  void EndLink(int, const download::TLinkEnd& end) override {
    std::lock_guard lock(State_.Mutex);
    for (const QString& line : end.Lines) State_.Observer.Log(line);
    State_.Observer.LinkEnded(end);
  }
  // Preview.jpg is the worker's own; there is no preview to show.
  void ShowPreview(const QString&, const QString&) override {}
  void StopForWriteFailure(const download::TWriteResult& failure) override {
    Run_.Stop();
    std::lock_guard lock(State_.Mutex);
    if (State_.WriteFailure) return;  // said once per run
    State_.WriteFailure = failure;
    State_.Observer.Log("ERR: Can not save - " + failure.Describe());
  }
  void AnnounceDone() override {
    std::lock_guard lock(State_.Mutex);
    State_.Observer.Log("LEFT THREADS: " + QString::number(Run_.CountDown()));
    State_.Ended.notify_all();
  }

 private:
  download::TDownloadRun& Run_;
  TRunState& State_;
};

// Starts the workers and waits for the last, stopping the run once `stop` is set.
void RunWorkers(download::TDownloadRun& run, const TRunSettings& settings, TRunState& state,
                const std::atomic<bool>& stop) {
  const int workers = std::clamp(settings.Threads, kMinThreads, kMaxThreads);
  THeadlessWorkerHost host(run, state);
  const site::TFetchOptions options = settings.Fetch;
  auto fetch = [&stop, &run, options](const QString& url, QByteArray& buffer) {
    return site::FetchBytes(url, buffer, site::TFetchStop(stop, &run.Working), options);
  };
  const std::atomic<bool> active{true};
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(workers));
  run.ThreadsLeft = workers;
  for (int n = 1; n <= workers; ++n) {
    try {
      threads.emplace_back([&, n] {
        download::TWallpaperWorker(run, host, fetch, active, stop).Run(ShareOf(n, workers));
      });
    } catch (const std::system_error& error) {
      // A worker that never ran still counts as one that has finished.
      state.Log("Thread #" + QString::number(n) + "  ERR: the thread could not be started: " +
                QString::fromLocal8Bit(error.what()));
      host.AnnounceDone();
    }
  }
  {
    std::unique_lock lock(state.Mutex);
    while (run.ThreadsLeft > 0) {
      state.Ended.wait_for(lock, kStopSlice);
      if (stop) run.Stop();
    }
  }
  for (std::thread& thread : threads) thread.join();
}

}  // namespace

QString SiteAddressProblem(const site::TSiteUrls& site) {
  const struct {
    const char* Key;
    const QString& Url;
  } addresses[] = {{"MainSiteUrl", site.MainSiteUrl}, {"ImageHostUrl", site.ImageHostUrl}};
  for (const auto& address : addresses) {
    const QString reason = site::AddressProblem(address.Url);
    if (!reason.isEmpty())
      return QStringLiteral("The site address %1=%2 in [Site] of Settings.ini can not be used: %3.")
          .arg(QString::fromLatin1(address.Key), address.Url, reason);
  }
  return {};
}

QString NoSiteNotice(const QString& dir, const site::TSiteUrls& site) {
  if (site != site::TSiteUrls()) return {};
  return "No site is configured: the built-in addresses (" + site.MainSiteUrl +
         " and the others) reach no site. Add a [Site] section with MainSiteUrl, "
         "WallpaperHostUrl and ImageHostUrl to " + download::SettingsFilePath(dir) + " to point the program at one.";
}

TRunStart PrepareRun(const QString& name, const TRunSettings& settings) {
  TRunStart start;
  if (name.isEmpty()) {
    start.Refusal = TRunStart::TRefusal::NoName;
    start.Problem = QStringLiteral("Enter Girl's Neme First!!!");
    return start;
  }
  // The name becomes a folder under Wallpapers/: one that cannot be a folder
  // name is refused before anything is fetched or written.
  const std::optional<QString> folder = download::NameFolder(settings.Dir, name);
  if (!folder) {
    start.Refusal = TRunStart::TRefusal::BadFolder;
    start.Problem = "ERR: Name can not be used as a folder - " + name;
    return start;
  }
  if (const QString problem = SiteAddressProblem(settings.Site); !problem.isEmpty()) {
    start.Refusal = TRunStart::TRefusal::BadAddress;
    start.Problem = "ERR: " + problem;
    return start;
  }
  auto run = std::make_shared<download::TDownloadRun>();
  run->Dir = settings.Dir;
  run->Name = name;
  run->NameFolder = *folder;
  run->ImageHostUrl = settings.Site.ImageHostUrl;
  run->ResParams = settings.Sizes;
  run->Timings = settings.Timings;
  start.Run = std::move(run);
  return start;
}

TSearchOutcome SearchOutcome(const download::TDownloadRun& run) {
  if (!run.ImageLinks.isEmpty()) return TSearchOutcome::Links;
  if (run.FirstPage) return TSearchOutcome::NoWallpapers;
  // A site that never sent the first listing page is not a name without wallpapers.
  return run.FirstPage.Failure == site::TFetchFailure::Stopped ? TSearchOutcome::Stopped : TSearchOutcome::Unreachable;
}

download::TWorkerShare ShareOf(int n, int workers) { return {.Start = n - 1, .TaskCnt = workers, .TaskIDX = n}; }

download::TWriteResult MakeRunFolders(const download::TDownloadRun& run) {
  QStringList folders{run.NameFolder};
  for (download::TResolution r : download::FolderOrder()) folders << run.SizeFolder(download::SizeText(r));
  for (const QString& folder : folders) {
    const download::TWriteResult made = download::MakeFolder(folder);
    if (!made) return made;
    // What a killed earlier run left half-written goes first.
    download::RemoveLeftoverTemporaries(folder);
  }
  return {};
}

TRunReport RunName(const QString& name, const TRunSettings& settings, TRunObserver& observer,
                   const std::atomic<bool>& stop, TRunIn in) {
  TRunReport report;
  const TRunStart start = PrepareRun(name, settings);
  if (!start.Run) {
    report.Refusal = start.Refusal;
    report.Problem = start.Problem;
    return report;
  }
  download::TDownloadRun& run = *start.Run;
  TRunState state(observer);
  {
    // The run's own flag: its stop gives up the search's fetch in progress.
    const site::TRunContext context{run.Working, stop, settings.Fetch, &run.Working};
    THeadlessDiscoveryView view(run, state);
    site::TDiscovery discovery(context, settings.Site, view);
    discovery.FindImagesTask(run.ImageLinks);
    run.FirstPage = discovery.FirstPage();
  }
  report.FirstPage = run.FirstPage;
  report.Outcome = stop ? TSearchOutcome::Stopped : SearchOutcome(run);
  {
    std::lock_guard lock(state.Mutex);
    observer.SearchEnded(static_cast<int>(run.ImageLinks.size()));
  }
  const bool links = report.Outcome == TSearchOutcome::Links;
  if (links || (in == TRunIn::Batch && report.Outcome == TSearchOutcome::NoWallpapers)) {
    if (const download::TWriteResult made = MakeRunFolders(run); !made) {
      state.WriteFailure = made;
      observer.Log("ERR: Can not save - " + made.Describe());
    } else if (links) {
      run.GotPreview = QFile::exists(run.PreviewFile());
      RunWorkers(run, settings, state, stop);
    }
  }
  run.Stop();  // from here on no file changes
  report.Stopped = report.Outcome == TSearchOutcome::Stopped || stop || state.WriteFailure.has_value();
  if (state.WriteFailure) report.Problem = "Can not save - " + state.WriteFailure->Describe();
  report.Found = run.FoundCnt;
  report.NotLoaded = run.NotLoadedCnt;
  return report;
}

TBatchStep BatchStepAfter(const TRunReport& report) {
  switch (report.Refusal) {
    case TRunStart::TRefusal::None: break;
    case TRunStart::TRefusal::NoName:
    case TRunStart::TRefusal::BadFolder: return TBatchStep::Untick;
    case TRunStart::TRefusal::BadAddress: return TBatchStep::End;
  }
  if (report.Stopped) return TBatchStep::End;
  if (report.Outcome == TSearchOutcome::Unreachable) return TBatchStep::PassOver;
  return TBatchStep::Record;
}

void RecordBatchRun(TBatchEntry& entry, int found) {
  entry.Found = QString::number(found);
  entry.Done = QStringLiteral("Yes");
  entry.Checked = false;
}

TBatchEnd RunBatch(const TRunSettings& settings, TBatchObserver& observer, const std::atomic<bool>& stop) {
  TBatchFile file(download::BatchFilePath(settings.Dir));
  QList<TBatchEntry> entries = file.Load();
  auto save = [&] {
    const download::TWriteResult saved = file.Save(entries, TBatchSave::Update);
    if (!saved) observer.Log("ERR: Can not save - " + saved.Describe());
    return bool(saved);
  };
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (!entries[i].Checked) continue;
    if (stop) return {.Stopped = true};
    const QString name = entries[i].Name;
    observer.EntryStarted(name);
    const TRunReport report = RunName(name, settings, observer, stop, TRunIn::Batch);
    observer.EntryEnded(name, report);
    // Each save shares the list with the file's memory of it, so every change
    // goes through the list, which then makes a copy of its own.
    TBatchEntry& entry = entries[i];
    switch (BatchStepAfter(report)) {
      case TBatchStep::Record: RecordBatchRun(entry, report.Found); break;
      case TBatchStep::Untick: entry.Checked = false; break;
      case TBatchStep::PassOver: continue;
      case TBatchStep::End: return {.Stopped = bool(stop)};
    }
    if (!save()) return {.Saved = false};
  }
  return {};
}

}  // namespace control
