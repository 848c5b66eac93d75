#pragma once
// The state one download run shares between its workers. Each run has its own,
// so workers of a stopped run that are still finishing never count against,
// or read the links of, a newer run.

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>

#include "download/Resolution.h"

class QByteArray;

// One HTTP GET of a picture: true with the whole body in `buffer`, false on a
// network failure (then `buffer` is untouched).
using FetchBytesFn = std::function<bool(const QString& url, QByteArray& buffer)>;

struct DownloadTimings {
  std::chrono::milliseconds FetchPause{200};  // after every fetch attempt
};

struct DownloadRun {
  QString Dir;           // base folder of Wallpapers/
  QString Name;          // the run's name, fixed when Start was pressed
  QString NameFolder;    // Dir/Wallpapers/Name, checked to lie inside Wallpapers/
  QString ImageHostUrl;  // with its trailing slash
  QStringList ImageLinks;
  TResParams ResParams;
  DownloadTimings Timings;

  std::atomic<bool> Working{true};  // cleared by the Stop path of this run
  std::atomic<int> FoundCnt{0};
  std::atomic<int> ProgressPos{0};
  std::atomic<bool> GotPreview{false};
  std::atomic<bool> LoadingImage{false};
  int ThreadsLeft = 0;  // main thread only

  QString SizeFolder(const QString& size) const { return NameFolder + u'/' + size; }
  QString PreviewFile() const { return NameFolder + QStringLiteral("/Preview.jpg"); }
};
