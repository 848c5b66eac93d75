#include "cli/GetCommand.h"

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/Account.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"
#include "control/FolderLock.h"
#include "control/IniFile.h"
#include "control/LastSession.h"
#include "control/RunCore.h"
#include "download/DiskLayout.h"
#include "download/ThumbnailPass.h"
#include "site/Discovery.h"
#include "site/Retry.h"
#include "site/UrlScheme.h"

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

// How often the progress line is drawn anew while a name runs.
constexpr std::chrono::milliseconds kRedraw{200};

void Write(std::FILE* stream, const QString& text) {
  std::fputs(text.toUtf8().constData(), stream);
  std::fflush(stream);
}

// Settings.ini is only read: the window owns it.
control::TRunSettings SettingsFor(const TGetOptions& options, const TGetTimings& timings) {
  control::TIniFile ini;
  ini.Load(download::SettingsFilePath(options.Dir));
  const control::TLastSession session = control::ReadLastSession(ini);
  control::TRunSettings settings;
  settings.Dir = options.Dir;
  settings.Fetch = timings.Fetch;
  settings.Timings = timings.Download;
  settings.Site = control::ReadSiteUrls(ini, site::TSiteUrls());
  settings.Threads = options.Threads.value_or(control::ThreadCountFromText(session.Threads));
  if (options.Sizes) {
    settings.Sizes = *options.Sizes;
  } else {
    for (download::TResolution r : download::FolderOrder())
      if (session.Sizes[r]) settings.Sizes.Include(r);
  }
  return settings;
}

// Where the command's lines go, and whether the progress line is drawn there.
struct TSink {
  std::FILE* Stream;
  bool Live;   // a terminal: the progress line is drawn in place
  bool Quiet;  // only failures
  int Columns;
};

TSink SinkFor(const TGetOptions& options, const TOutput& output) {
  // With --json the standard output holds the account alone.
  std::FILE* stream = options.Json ? output.Err : output.Out;
  const bool terminal = options.Json ? output.ErrIsTerminal : output.OutIsTerminal;
  return {stream, terminal && !options.Quiet, options.Quiet, output.Columns};
}

// Follows the runs of the names in turn: counts what each link came to, draws
// the progress line, and prints each name's end. The runs' threads call in one
// at a time; the progress line is drawn from the command's own thread.
class TNameWatch : public control::TBatchObserver {
 public:
  explicit TNameWatch(const TSink& sink) : Sink_(sink) {}

  void EntryStarted(const QString& name) override {
    std::lock_guard lock(Mutex_);
    Current_ = TNameAccount{};
    Current_.Name = name;
    Links_ = Processed_ = Selected_ = 0;
    Started_ = Clock::now();
    Running_ = true;
  }
  void SearchEnded(int links) override {
    std::lock_guard lock(Mutex_);
    Links_ = links;
  }
  void LinkEnded(const download::TLinkEnd& end) override {
    std::lock_guard lock(Mutex_);
    ++Processed_;
    switch (end.Outcome) {
      case download::TLinkOutcome::Skipped: return;
      case download::TLinkOutcome::OnDisk: ++Current_.AlreadyOnDisk; break;
      case download::TLinkOutcome::Fetched: ++Current_.Fetched; break;
      case download::TLinkOutcome::Failed: Current_.Failures << TFailure{end.Id, end.Size, end.Reason}; break;
    }
    ++Selected_;
  }
  void EntryEnded(const QString&, const control::TRunReport& report) override {
    std::lock_guard lock(Mutex_);
    Running_ = false;
    Current_.Found = Selected_;
    Current_.Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - Started_);
    switch (report.Refusal) {
      case control::TRunStart::TRefusal::None:
        Current_.SiteUnreachable = report.Outcome == control::TSearchOutcome::Unreachable;
        if (Current_.SiteUnreachable) Current_.SiteProblem = report.FirstPage.Describe();
        Current_.Stopped = report.Stopped;
        break;
      case control::TRunStart::TRefusal::BadAddress:
        // No site can be reached at an address that cannot be sent.
        Current_.SiteUnreachable = true;
        Current_.SiteProblem = report.Problem;
        break;
      case control::TRunStart::TRefusal::NoName:
      case control::TRunStart::TRefusal::BadFolder:
        Current_.Stopped = true;
        Write(stderr, "ostrana-get: " + PrintableText(report.Problem) + u'\n');
        break;
    }
    if (!report.Problem.isEmpty() && report.Refusal == control::TRunStart::TRefusal::None)
      Write(stderr, "ostrana-get: " + PrintableText(report.Problem) + u'\n');
    PrintEnd(Current_);
    Accounts << Current_;
  }

  // Draws the progress line of the name under way, on a terminal.
  void Draw() {
    std::lock_guard lock(Mutex_);
    if (!Sink_.Live || !Running_) return;
    TProgress progress;
    progress.Name = Current_.Name;
    progress.Done = Current_.AlreadyOnDisk + Current_.Fetched;
    progress.Failed = Current_.Failed();
    // The links still to come are expected in the same share of selected sizes.
    progress.Found = Processed_ == 0 ? Links_ : Selected_ + (Links_ - Processed_) * Selected_ / Processed_;
    progress.Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - Started_);
    Write(Sink_.Stream, ProgressLine(progress, Sink_.Columns));
  }

  QList<TNameAccount> Accounts;

 private:
  void PrintEnd(const TNameAccount& account) {
    if (Sink_.Quiet) {
      if (account.SiteUnreachable) Write(Sink_.Stream, PlainEndLine(account) + u'\n');
      for (const TFailure& failure : account.Failures) Write(Sink_.Stream, PlainFailureLine(account.Name, failure) + u'\n');
      return;
    }
    if (Sink_.Live) {
      // The name's progress line gives way to its end.
      Write(Sink_.Stream, QStringLiteral("\r\x1b[K") + SummaryText({account}));
      return;
    }
    QString text = PlainEndLine(account) + u'\n';
    for (const TFailure& failure : account.Failures) text += PlainFailureLine(account.Name, failure) + u'\n';
    Write(Sink_.Stream, text);
  }

  const TSink Sink_;
  std::mutex Mutex_;
  TNameAccount Current_;
  int Links_ = 0, Processed_ = 0, Selected_ = 0;
  Clock::time_point Started_;
  bool Running_ = false;
};

// Runs `work` on a thread of its own while this one draws the progress line.
void WhileDrawing(TNameWatch& watch, const std::function<void()>& work) {
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::thread worker([&] {
    work();
    std::lock_guard lock(mutex);
    done = true;
    ended.notify_all();
  });
  {
    std::unique_lock lock(mutex);
    while (!ended.wait_for(lock, kRedraw, [&] { return done; })) {
      lock.unlock();
      watch.Draw();
      lock.lock();
    }
  }
  worker.join();
}

int Finish(const TGetOptions& options, const TOutput& output, const TSink& sink, const QList<TNameAccount>& accounts,
           TUndone undone) {
  if (options.Json)
    Write(output.Out, QString::fromUtf8(AccountJson(accounts, undone)));
  else if (!sink.Quiet && accounts.size() > 1)
    Write(sink.Stream, TotalLine(accounts));
  return ExitStatus(accounts, undone);
}

int Download(const TGetOptions& options, const TOutput& output, const control::TRunSettings& settings,
             const std::atomic<bool>& stop) {
  const TSink sink = SinkFor(options, output);
  TNameWatch watch(sink);
  WhileDrawing(watch, [&] {
    for (const QString& name : options.Names) {
      if (stop) break;
      watch.EntryStarted(name);
      const control::TRunReport report = control::RunName(name, settings, watch, stop);
      watch.EntryEnded(name, report);
      if (report.Refusal == control::TRunStart::TRefusal::BadAddress) break;  // so is every other name's
    }
  });
  // A stop between names leaves the rest unasked.
  const bool stoppedEarly = stop && watch.Accounts.size() < options.Names.size();
  return Finish(options, output, sink, watch.Accounts, {.Stopped = stoppedEarly});
}

int Batch(const TGetOptions& options, const TOutput& output, const control::TRunSettings& settings,
          const std::atomic<bool>& stop) {
  const TSink sink = SinkFor(options, output);
  TNameWatch watch(sink);
  control::TBatchEnd end;
  WhileDrawing(watch, [&] { end = control::RunBatch(settings, watch, stop); });
  if (!end.Saved) Write(output.Err, QStringLiteral("ostrana-get: Batch.ini could not be saved; see the line above\n"));
  if (watch.Accounts.isEmpty() && !end.Stopped && !options.Quiet)
    Write(output.Err, "ostrana-get: no ticked entry in " + download::BatchFilePath(options.Dir) + u'\n');
  return Finish(options, output, sink, watch.Accounts, {.Stopped = end.Stopped, .Unsaved = !end.Saved});
}

// The index of names, as the window's "Load Girls" fetches it; none and a
// line on stderr when it could not be fetched.
std::optional<QStringList> FetchNames(const control::TRunSettings& settings, const TOutput& output,
                                      const std::atomic<bool>& stop) {
  if (const QString problem = control::SiteAddressProblem(settings.Site); !problem.isEmpty()) {
    Write(output.Err, "ostrana-get: " + PrintableText(problem) + u'\n');
    return std::nullopt;
  }
  // No download run: the index's own calls are its retries, one try each.
  const std::atomic<bool> working{false};
  const site::TRunContext context{working, stop, settings.Fetch, nullptr};
  const QString url = site::NamesIndexUrl(settings.Site.MainSiteUrl);
  QStringList names;
  const site::TFetchResult result = site::GetNames(url, names, context);
  if (!result && names.isEmpty()) {
    Write(output.Err, "ostrana-get: " + PrintableText(site::PageFailureLine(url, result)) + u'\n');
    return std::nullopt;
  }
  return names;
}

int ListNames(const TOutput& output, const control::TRunSettings& settings, const std::atomic<bool>& stop) {
  const std::optional<QStringList> names = FetchNames(settings, output, stop);
  if (!names) return stop ? kExitIncomplete : kExitSiteUnreachable;
  QString text;
  for (const QString& name : *names) text += PrintableText(name) + u'\n';
  Write(output.Out, text);
  return kExitAllOnDisk;
}

// The thumbnail pass over the index of names, without a window: nothing to show.
class TThumbnailWatch : public download::TThumbnailView {
 public:
  TThumbnailWatch(const QStringList& names, const TSink& sink) : Names_(names), States_(names.size()), Sink_(sink) {}

  int ItemCount() override { return int(Names_.size()); }
  std::optional<QString> Caption(int i) override {
    if (i < 0 || i >= Names_.size()) return std::nullopt;
    return Names_[i];
  }
  void ShowProgress(const QString& caption) override {
    if (Sink_.Live) Write(Sink_.Stream, u'\r' + PrintableText("thumbnails: " + caption) + QStringLiteral("\x1b[K"));
  }
  void SetState(int i, const QString&, download::TThumbState state) override { States_[i] = state; }
  bool ShowThumbnail(const QString&, const QString&) override { return true; }
  void AddLog(const QString& line) override {
    if (!line.startsWith(QStringLiteral("ERR"))) return;  // the window logs each page it asks for too
    ++Errors;
    Write(Sink_.Stream, (Sink_.Live ? QStringLiteral("\r\x1b[K") : QString()) + PrintableText(line) + u'\n');
  }

  int Errors = 0;

  int Count(download::TThumbState state) const { return int(std::count(States_.begin(), States_.end(), state)); }

 private:
  const QStringList& Names_;
  std::vector<std::optional<download::TThumbState>> States_;
  const TSink Sink_;
};

int Thumbnails(const TGetOptions& options, const TOutput& output, const control::TRunSettings& settings,
               const std::atomic<bool>& stop) {
  const std::optional<QStringList> names = FetchNames(settings, output, stop);
  if (!names) return stop ? kExitIncomplete : kExitSiteUnreachable;
  // The window keeps its catalogue in AllGirls/; a folder that has none yet gets one.
  if (const download::TWriteResult made = download::MakeFolder(download::AllGirlsFolder(settings.Dir)); !made) {
    Write(output.Err, "ostrana-get: Can not save thumbnails - " + PrintableText(made.Describe()) + u'\n');
    return kExitIncomplete;
  }
  const TSink sink = SinkFor(options, output);
  TThumbnailWatch watch(*names, sink);
  const std::atomic<bool> alive{true};
  download::TThumbnailPass({settings.Dir, settings.Site, settings.Fetch}, watch, alive, stop).Run();
  const int stored = watch.Count(download::TThumbState::Stored);
  const int failed = watch.Count(download::TThumbState::Failed);
  if (!sink.Quiet)
    Write(sink.Stream, QStringLiteral("%1thumbnails: %2 names, %3 stored now, %4 failed%5\n")
                           .arg(sink.Live ? QStringLiteral("\r\x1b[K") : QString())
                           .arg(names->size())
                           .arg(stored)
                           .arg(failed)
                           .arg(stop ? QStringLiteral(", stopped") : QString()));
  return failed > 0 || watch.Errors > 0 || stop ? kExitIncomplete : kExitAllOnDisk;
}

}  // namespace

int RunGetCommand(const TGetOptions& options, const TOutput& output, const std::atomic<bool>& stop,
                  const TGetTimings& timings) {
  switch (options.Mode) {
    case TGetMode::Help: Write(output.Out, HelpText()); return kExitAllOnDisk;
    case TGetMode::Version: Write(output.Out, VersionText()); return kExitAllOnDisk;
    default: break;
  }
  if (!QFileInfo(options.Dir).isDir()) {
    Write(output.Err, "ostrana-get: no such folder: " + PrintableText(options.Dir) + u'\n');
    return kExitUsage;
  }
  // Taken before anything in the folder is read or written: one copy per
  // folder, window or command.
  const control::TFolderLock lock(options.Dir);
  if (lock.State() == control::TFolderLock::TState::HeldByAnother) {
    Write(output.Err, "ostrana-get: " + PrintableText(lock.AnotherCopyMessage()) + u'\n');
    return kExitFolderBusy;
  }
  lock.RemoveLeftovers();
  const control::TRunSettings settings = SettingsFor(options, timings);
  if (const QString notice = control::NoSiteNotice(settings.Dir, settings.Site); !notice.isEmpty())
    Write(output.Err, "ostrana-get: " + PrintableText(notice) + u'\n');
  switch (options.Mode) {
    case TGetMode::Download: return Download(options, output, settings, stop);
    case TGetMode::Batch: return Batch(options, output, settings, stop);
    case TGetMode::ListNames: return ListNames(output, settings, stop);
    case TGetMode::Thumbnails: return Thumbnails(options, output, settings, stop);
    case TGetMode::Help:
    case TGetMode::Version: break;
  }
  return kExitAllOnDisk;
}

}  // namespace cli
