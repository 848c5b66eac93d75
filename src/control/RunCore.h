#pragma once
// A download run without a window: what both faces of the program share of a
// run (the checks before it starts, the search's outcome, the split of the links
// among the workers, the run's folders), and a whole run of one name and a
// batch of names on threads of their own, for the command line. The window
// drives its runs through its task manager and the UI thread, with the same
// pieces.

#include <QList>
#include <QString>
#include <atomic>
#include <memory>

#include "control/BatchList.h"
#include "download/DownloadRun.h"
#include "download/LoadImages.h"
#include "download/Resolution.h"
#include "download/WorkerHost.h"
#include "site/Fetch.h"
#include "site/SiteUrls.h"

namespace control {

// What a run is made from, copied when it starts.
struct TRunSettings {
  QString Dir;  // the working folder, without a trailing separator
  site::TSiteUrls Site;
  site::TFetchOptions Fetch;
  download::TDownloadTimings Timings;
  download::TResParams Sizes;
  int Threads = 1;
};

// Why the site's addresses cannot be used at all; empty when they can.
QString SiteAddressProblem(const site::TSiteUrls& site);

// What to tell the user when `site` holds the built-in addresses, which reach
// no site; empty once [Site] of the folder's Settings.ini points elsewhere.
QString NoSiteNotice(const QString& dir, const site::TSiteUrls& site);

// A run of `name` ready to search, or why there can be none.
struct TRunStart {
  std::shared_ptr<download::TDownloadRun> Run;
  enum class TRefusal { None, NoName, BadFolder, BadAddress } Refusal = TRefusal::None;
  QString Problem;  // the log's words for a refusal
};
TRunStart PrepareRun(const QString& name, const TRunSettings& settings);

// What the search left for the download phase.
enum class TSearchOutcome {
  Links,         // there is something to download
  NoWallpapers,  // the site answered without a wallpaper link
  Unreachable,   // the first listing page never arrived
  Stopped,       // stopped before it found any
};
TSearchOutcome SearchOutcome(const download::TDownloadRun& run);

// Worker n (from 1) of `workers` takes every workers-th link from link n - 1.
download::TWorkerShare ShareOf(int n, int workers);

// The name's folder and its size folders, with what an earlier run killed
// half-way left behind removed; the first failure, when one could not be made.
download::TWriteResult MakeRunFolders(const download::TDownloadRun& run);

// Called from the run's threads, one call at a time.
class TRunObserver {
 public:
  virtual ~TRunObserver() = default;
  // Every line the window's log would show, in its order per thread.
  virtual void Log(const QString& line) { (void)line; }
  // The search has ended with `links` links to go through.
  virtual void SearchEnded(int links) { (void)links; }
  virtual void LinkEnded(const download::TLinkEnd& end) = 0;
};

struct TRunReport {
  TRunStart::TRefusal Refusal = TRunStart::TRefusal::None;
  QString Problem;  // a refusal, or the write failure that stopped the run
  TSearchOutcome Outcome = TSearchOutcome::Links;
  site::TFetchResult FirstPage;
  bool Stopped = false;  // by `stop` or a write failure, before its end
  int Found = 0;         // wallpapers on disk at the end
  int NotLoaded = 0;
};

// Where a run is made: a batch makes a name's folders even when the site
// lists no wallpaper for it, as the window's batch does; a run of its own
// makes none then.
enum class TRunIn { Alone, Batch };

// Runs `name` to its end: the search, then settings.Threads workers. `stop`
// (Ctrl-C) ends it as Stop does: the fetches in progress give up at once, and
// once this returns no file changes any more.
TRunReport RunName(const QString& name, const TRunSettings& settings, TRunObserver& observer,
                   const std::atomic<bool>& stop, TRunIn in = TRunIn::Alone);

// The batch as the window's "Start Batch" runs it, on Batch.ini: the ticked
// entries in order; one done is recorded (Found, "Yes", unticked) and saved at
// once; one the site could not be reached for, or that was stopped, stays
// ticked; a name no folder can hold is unticked. A write failure or `stop`
// ends the batch.
class TBatchObserver : public TRunObserver {
 public:
  virtual void EntryStarted(const QString& name) { (void)name; }
  virtual void EntryEnded(const QString& name, const TRunReport& report) = 0;
};
struct TBatchEnd {
  bool Saved = true;     // false when Batch.ini could not be saved (the reason is logged)
  bool Stopped = false;  // `stop` ended it with a ticked entry not yet run to its end
};
TBatchEnd RunBatch(const TRunSettings& settings, TBatchObserver& observer, const std::atomic<bool>& stop);

// What a batch does with an entry once its run has ended or could not start.
enum class TBatchStep {
  Record,    // the run went to its end: Found, "Yes", unticked, and the batch goes on
  Untick,    // no folder can hold its name: unticked, so it stops no later batch; the batch goes on
  PassOver,  // its site could not be reached: it stays ticked, and the batch goes on
  End,       // stopped, a disk that takes no file, or site addresses no entry can mend: it stays ticked
};
TBatchStep BatchStepAfter(const TRunReport& report);

// An entry whose run went to its end.
void RecordBatchRun(TBatchEntry& entry, int found);

}  // namespace control
