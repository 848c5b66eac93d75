#pragma once
// The body of one download worker: takes every N-th link of the run from its
// start index, keeps the selected sizes, and accepts a valid file already on
// disk or fetches the image, with bounded retries.

#include <QString>
#include <atomic>

#include "download/DownloadRun.h"
#include "download/WorkerHost.h"

struct WorkerShare {
  int Start = 0;    // index of the first link
  int TaskCnt = 1;  // stride
  int TaskIDX = 1;  // worker number, from 1
};

class WallpaperWorker {
 public:
  WallpaperWorker(DownloadRun& run, WorkerHost& host, FetchBytesFn fetch, const std::atomic<bool>& threadActive,
                  const std::atomic<bool>& terminating)
      : run_(run), host_(host), fetch_(std::move(fetch)), threadActive_(threadActive), terminating_(terminating) {}

  // Runs the worker to its end, which is always announced exactly once.
  void Run(const WorkerShare& share);

  // Accepts the file when it is a JPEG at least 300 wide (feeding the preview
  // and the name's Preview.jpg); deletes it otherwise.
  bool CheckImage(const QString& fileName, const QString& id);
  // Fetches `url` into `fileName` with up to 50 attempts; the file is replaced
  // as a whole only when a body arrived.
  bool DownloadImage(const QString& url, const QString& fileName);

  static constexpr int kMaxTries = 100;
  static constexpr int kMaxAttempts = 50;

 private:
  void LoadLink(int n, const QString& slug, const QString& link);
  bool GoOn() const;

  DownloadRun& run_;
  WorkerHost& host_;
  FetchBytesFn fetch_;
  const std::atomic<bool>& threadActive_;
  const std::atomic<bool>& terminating_;
};
