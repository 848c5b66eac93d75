#pragma once
// The state one download run shares between its workers. Each run has its own,
// so workers of a stopped run that are still finishing never count against,
// or read the links of, a newer run.

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>

#include "download/DiskLayout.h"
#include "download/Resolution.h"
#include "site/FetchResult.h"

class QByteArray;

namespace download {

// One HTTP GET of a picture: on success the whole body is in `buffer`; on a
// failure `buffer` is untouched and the result says why.
using TFetchBytesFn = std::function<site::TFetchResult(const QString& url, QByteArray& buffer)>;

struct TDownloadTimings {
  std::chrono::milliseconds FetchPause{200};  // after every fetch attempt
};

struct TDownloadRun {
  QString Dir;           // base folder of Wallpapers/
  QString Name;          // the run's name, fixed when Start was pressed
  QString NameFolder;    // Dir/Wallpapers/<name as a folder name>
  QString ImageHostUrl;  // with its trailing slash
  QStringList ImageLinks;
  // Written by the search, read once it has ended: how its first listing page
  // went, and the lines it logged (kept when the download phase clears the log).
  site::TFetchResult FirstPage;
  QStringList SearchLog;
  TResParams ResParams;
  TDownloadTimings Timings;

  std::atomic<bool> Working{true};  // cleared by Stop
  std::atomic<int> FoundCnt{0};
  std::atomic<int> NotLoadedCnt{0};  // links whose tries ran out ("NOT LOADED" in the log)
  std::atomic<int> ProgressPos{0};
  std::atomic<bool> GotPreview{false};
  std::atomic<bool> LoadingImage{false};
  // The workers that have not yet ended; set before the first starts, so no
  // end comes first. The run ends with the last.
  std::atomic<int> ThreadsLeft{0};
  bool WriteFailureShown = false;     // main thread only: the user is told once per run

  QString SizeFolder(const QString& size) const { return NameFolder + u'/' + size; }
  QString PreviewFile() const { return PreviewFileIn(NameFolder); }

  // One worker has ended; the number still working.
  int CountDown() { return --ThreadsLeft; }
  // Ends the run's work: once this returns, none of its workers changes a
  // file any more, so a newer run of the same name owns the folder.
  void Stop();
  // Runs `change` (a rename or removal in the run's folders) only while the
  // run goes on, and in one step with that check; false when it was stopped.
  template <typename F>
  bool WhileWorking(F&& change) {
    std::lock_guard gate(WriteGate());
    if (!Working) return false;
    change();
    return true;
  }

 private:
  // One for all runs: a stopped run and the newer one that follows it share the folder.
  static std::mutex& WriteGate();
};

}  // namespace download
