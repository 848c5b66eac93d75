#pragma once
// The body of one download worker: takes every N-th link of the run from its
// start index, keeps the selected sizes, and accepts a valid file already on
// disk or fetches the image, with bounded retries.

#include <QByteArray>
#include <QString>
#include <atomic>

#include "download/DownloadRun.h"
#include "download/WorkerHost.h"

namespace download {

struct TWorkerShare {
  int Start = 0;    // index of the first link
  int TaskCnt = 1;  // stride
  int TaskIDX = 1;  // worker number, from 1
};

class TWallpaperWorker {
 public:
  TWallpaperWorker(TDownloadRun& run, TWorkerHost& host, TFetchBytesFn fetch, const std::atomic<bool>& threadActive,
                  const std::atomic<bool>& terminating)
      : Run_(run), Host_(host), Fetch_(std::move(fetch)), ThreadActive_(threadActive), Terminating_(terminating) {}

  // Runs the worker to its end, which is announced exactly once whatever
  // happens inside, an exception included.
  void Run(const TWorkerShare& share);

  // Accepts a stored file when it is a whole JPEG at least 300 wide (feeding
  // the preview and the name's Preview.jpg); removes it otherwise.
  bool CheckImage(const QString& fileName, const QString& id);

  // What became of fetching one image into its file.
  struct TDownload {
    bool Stored = false;  // a whole JPEG at least 300 wide is now in the file
    QString Final;        // why no further try can help; empty when one may
    QString Why;          // why this try stored nothing, when a further one may help
  };
  // Fetches `url` with up to 50 attempts and stores the body in `fileName`
  // only when it is a picture worth keeping and the run still goes on.
  TDownload DownloadImage(const QString& url, const QString& fileName, const QString& id);

  static constexpr int kMaxTries = 100;
  static constexpr int kMaxAttempts = 50;

 private:
  void Work(const TWorkerShare& share);
  // Every try of one link; the caller adds the bar's step and hands the end on.
  TLinkEnd LoadLink(const QString& slug, const QString& link);
  // The preview, and Preview.jpg for a name without one, from an accepted
  // file (`data` holds its bytes when they are at hand).
  void Accept(const QString& fileName, const QString& id, const QByteArray* data);
  // Reports a failed write; true when it stopped the run.
  bool WriteFailed(const TWriteResult& failure);
  bool GoOn() const;

  TDownloadRun& Run_;
  TWorkerHost& Host_;
  TFetchBytesFn Fetch_;
  const std::atomic<bool>& ThreadActive_;
  const std::atomic<bool>& Terminating_;
  int Number_ = 0;       // the worker's number, from 1
  QString Thread_;  // "Thread #n", for log lines
};

}  // namespace download
