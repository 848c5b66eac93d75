#pragma once
// What a download worker needs of the window. Each call is one blocking
// hand-off to the UI thread, so a worker bundles what the user sees change at
// one moment: a link costs three hand-offs when it is accepted (its first try,
// its preview, its end) and one for a size that is not selected. Tests use a
// recording implementation; the command line counts the outcomes.

#include <QString>
#include <QStringList>

#include "download/FileStore.h"
#include "site/Text.h"

namespace download {

enum class TLinkOutcome {
  Skipped,  // its size is not selected
  OnDisk,   // a valid file was already there
  Fetched,  // fetched and stored by this link
  Failed,   // its tries ran out, or a failure no try can mend ended them
};

// The end of one link, as the window shows it: the log lines and the row's
// status, then, for an accepted wallpaper, Label3, Found and the path a click
// on the preview opens, then the bar's step and its percentage.
struct TLinkEnd {
  TLinkOutcome Outcome = TLinkOutcome::Skipped;
  QString Id, Size;
  QString File;    // the wallpaper's file; empty for a skipped link
  QString Reason;  // for a failed link: why, as the log says it
  QStringList Lines;
  QString Status;  // the worker's row; empty leaves it as it is
  QString Label3;  // "#id (size)", for an accepted wallpaper
  int Position = 0;  // the bar's position after this link
};

// Whether an accepted wallpaper feeds the preview: not when the path the
// preview opens already holds its id (the same wallpaper in another size).
inline bool PreviewShows(const QString& id, const QString& currentPath) { return site::Pos(id, currentPath) == 0; }

class TWorkerHost {
 public:
  virtual ~TWorkerHost() = default;
  // The lines go to the log in order, then the status (when not empty) to the
  // worker's row (n counts from 1).
  virtual void Report(int n, const QStringList& lines, const QString& status) = 0;
  virtual void EndLink(int n, const TLinkEnd& end) = 0;
  // PreviewPath := path and the preview shows it, when PreviewShows(id, the
  // path a click opens); returns once it is shown.
  virtual void ShowPreview(const QString& id, const QString& path) = 0;
  // A write failed in a way that every later write there shares (a full disk,
  // a read-only folder): the run stops, and the user is told once.
  virtual void StopForWriteFailure(const TWriteResult& failure) = 0;
  // The worker's last act.
  virtual void AnnounceDone() = 0;
};

}  // namespace download
