#pragma once
// What a download worker needs of the window. Each call is a blocking hand-off
// to the UI thread; tests use a recording implementation.

#include <QString>

#include "download/FileStore.h"

// The Found label's text for a count.
inline QString FoundCaption(int count) { return QStringLiteral("Found: ") + QString::number(count); }

class WorkerHost {
 public:
  virtual ~WorkerHost() = default;
  virtual void AddLog(const QString& line) = 0;
  // The Status column of the worker's row (n counts from 1).
  virtual void SetRowStatus(int n, const QString& status) = 0;
  // Label3 and Found after an accepted wallpaper; `found` is the run's count
  // right after this worker's own increment.
  virtual void ShowAccepted(const QString& label3, int found) = 0;
  virtual void UpdateProgress(int position) = 0;
  // Label2 := the bar's position as a percentage of its maximum, when it has one.
  virtual void ShowProgressPercent() = 0;
  // PreviewPath := path, then the preview shows it; returns once it is shown.
  virtual void ShowPreview(const QString& path) = 0;
  // The file or folder a click on the preview opens; shared with the UI thread.
  virtual QString CurrentPath() = 0;
  virtual void SetCurrentPath(const QString& path) = 0;
  // A write failed in a way that every later write there shares (a full disk,
  // a read-only folder): the run stops, and the user is told once.
  virtual void StopForWriteFailure(const TWriteResult& failure) = 0;
  // The worker's last act.
  virtual void AnnounceDone() = 0;
};
