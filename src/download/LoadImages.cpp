#include "download/LoadImages.h"

#include <QFile>
#include <exception>
#include <thread>

#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "download/WallpaperLink.h"
#include "site/Text.h"

namespace {
QString Num(qsizetype v) { return QString::number(v); }

bool WorthKeeping(const std::optional<JpegHeader>& header) { return header && header->width >= kMinWallpaperWidth; }
}  // namespace

void WallpaperWorker::Run(const WorkerShare& share) {
  thread_ = "Thread #" + Num(share.TaskIDX);
  try {
    Work(share);
  } catch (...) {
    // Whatever ended the worker (no memory, an exception rethrown from a
    // hand-off), the run must still count it down, or it would never end.
    try {
      host_.AddLog(thread_ + "  ERR: the thread ended early after an internal error");
      host_.AddLog("Finished Thread #: " + Num(share.TaskIDX));
      host_.SetRowStatus(share.TaskIDX, QStringLiteral("Finished!"));
    } catch (...) {
    }
  }
  try {
    host_.AnnounceDone();
  } catch (...) {
  }
}

void WallpaperWorker::Work(const WorkerShare& share) {
  const int n = share.TaskIDX;
  const int count = static_cast<int>(run_.ImageLinks.size());
  host_.AddLog("Task Started: " + Num(n));
  const QString slug = WorkerSlug(run_.Name);

  int i = share.Start;
  if (i > count - 1) {
    host_.AddLog("Thread #" + Num(n) + " INDEX " + Num(i) + " OUT of Range: " + Num(i) + "/" + Num(count));
  } else {
    // A stride below 1 would never leave the list.
    const int stride = std::max(share.TaskCnt, 1);
    for (;;) {
      LoadLink(n, slug, run_.ImageLinks[i]);
      const int pos = ++run_.ProgressPos;
      host_.UpdateProgress(pos);
      host_.ShowProgressPercent();
      i += stride;
      if (terminating_ || !threadActive_ || i >= count || !run_.Working) break;
    }
  }
  host_.AddLog("Finished Thread #: " + Num(n));
  host_.SetRowStatus(n, QStringLiteral("Finished!"));
}

bool WallpaperWorker::GoOn() const { return !terminating_ && threadActive_ && run_.Working; }

void WallpaperWorker::LoadLink(int n, const QString& slug, const QString& link) {
  const QString id = GetWallpaperID(slug, link);
  const QString size = GetWallpaperRes(id, link);
  if (!ResSelected(run_.ResParams, size)) return;

  const QString url = ImageUrl(run_.ImageHostUrl, slug, size, id);
  const QString file = WallpaperFile(run_.NameFolder, size, run_.Name, id);
  const QString item = "Loading image: " + id + " (" + size + ") ";

  host_.AddLog(thread_ + "  MATCHES: " + url);
  bool ok = false;
  QString final;
  int t = 0;
  for (;;) {
    host_.AddLog(thread_ + "  LOADING... " + size + " - " + id + "  TRY # : " + Num(t + 1));
    host_.SetRowStatus(n, item + "  TRY # : " + Num(t + 1));
    ok = CheckImage(file, id);
    if (!ok) {
      const TDownload download = DownloadImage(site::LowerAZ(url), file, id);
      ok = download.Stored;
      final = download.Final;
    }
    ++t;
    if (ok || !final.isEmpty() || !GoOn() || t >= kMaxTries) break;
  }

  if (ok) {
    host_.AddLog(thread_ + "  LOADING... " + size + " - " + id + "  SUCCESSFULL");
    host_.SetRowStatus(n, item + " SUCCESSFULL");
    const int found = ++run_.FoundCnt;
    host_.SetCurrentPath(file);
    host_.ShowAccepted("#" + id + " (" + size + ")", found);
  } else {
    if (!final.isEmpty()) host_.AddLog(thread_ + "  ERR: " + final);
    host_.AddLog(thread_ + "  NOT LOADED: " + url);
    ++run_.NotLoadedCnt;
    host_.SetRowStatus(n, item + " FAILED!!!");
  }
}

bool WallpaperWorker::CheckImage(const QString& fileName, const QString& id) {
  if (!QFile::exists(fileName)) return false;
  if (!WorthKeeping(ReadStoredJpegHeader(fileName))) {
    // Only while the run goes on: once it is stopped, the file may already
    // be a newer run's.
    run_.WhileWorking([&] { QFile::remove(fileName); });
    return false;
  }
  Accept(fileName, id, nullptr);
  return true;
}

WallpaperWorker::TDownload WallpaperWorker::DownloadImage(const QString& url, const QString& fileName,
                                                          const QString& id) {
  QByteArray buffer;
  site::TFetchResult fetched;
  for (int a = 1;; ++a) {
    fetched = fetch_(url, buffer);
    std::this_thread::sleep_for(run_.Timings.FetchPause);
    if (terminating_ || fetched || fetched.IsFinal() || a >= kMaxAttempts || !run_.Working) break;
  }
  if (fetched.IsFinal()) return {false, fetched.Describe()};
  // A body that is no whole picture worth keeping (an error page, a cut-off
  // or narrow image) never reaches the disk; the next try fetches again.
  if (!fetched || !WorthKeeping(ReadWholeJpeg(buffer))) return {};

  TStagedFile staged(fileName, buffer);
  TWriteResult written = staged.Staged();
  if (written && !run_.WhileWorking([&] { written = staged.Commit(); })) return {};  // stopped: the body goes
  if (!written) {
    WriteFailed(written);
    return {false, "Can not save - " + written.Describe()};
  }
  Accept(fileName, id, &buffer);
  return {true, {}};
}

void WallpaperWorker::Accept(const QString& fileName, const QString& id, const QByteArray* data) {
  if (site::Pos(id, host_.CurrentPath()) == 0 && !run_.LoadingImage.exchange(true)) {
    host_.ShowPreview(fileName);
    run_.LoadingImage = false;
  }
  // Exactly one worker writes the name's Preview.jpg; if the write fails, a
  // later wallpaper may try again.
  if (run_.GotPreview.exchange(true)) return;
  TStagedFile staged = data ? TStagedFile(run_.PreviewFile(), *data) : TStagedFile::CopyOf(fileName, run_.PreviewFile());
  TWriteResult written = staged.Staged();
  if (written) run_.WhileWorking([&] { written = staged.Commit(); });
  if (written) return;
  run_.GotPreview = false;
  host_.AddLog(thread_ + "  ERR: Can not save - " + written.Describe());
  WriteFailed(written);
}

bool WallpaperWorker::WriteFailed(const TWriteResult& failure) {
  if (!failure.StopsEveryWrite()) return false;
  host_.StopForWriteFailure(failure);
  return true;
}
