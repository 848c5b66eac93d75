#include "download/LoadImages.h"

#include <QByteArray>
#include <QFile>
#include <thread>

#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "download/WallpaperLink.h"
#include "site/Text.h"

namespace {
QString Num(qsizetype v) { return QString::number(v); }
}  // namespace

void WallpaperWorker::Run(const WorkerShare& share) {
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
  host_.AnnounceDone();
}

bool WallpaperWorker::GoOn() const { return !terminating_ && threadActive_ && run_.Working; }

void WallpaperWorker::LoadLink(int n, const QString& slug, const QString& link) {
  const QString id = GetWallpaperID(slug, link);
  const QString size = GetWallpaperRes(id, link);
  if (!ResSelected(run_.ResParams, size)) return;

  const QString url = ImageUrl(run_.ImageHostUrl, slug, size, id);
  const QString file = run_.SizeFolder(size) + u'/' + run_.Name + " (" + id + ").jpg";
  const QString thread = "Thread #" + Num(n);
  const QString item = "Loading image: " + id + " (" + size + ") ";

  host_.AddLog(thread + "  MATCHES: " + url);
  bool ok = false;
  int t = 0;
  for (;;) {
    host_.AddLog(thread + "  LOADING... " + size + " - " + id + "  TRY # : " + Num(t + 1));
    host_.SetRowStatus(n, item + "  TRY # : " + Num(t + 1));
    ok = CheckImage(file, id);
    if (!ok) {
      DownloadImage(site::LowerAZ(url), file);
      ok = CheckImage(file, id);
    }
    ++t;
    if (ok || !GoOn() || t >= kMaxTries) break;
  }

  if (ok) {
    host_.AddLog(thread + "  LOADING... " + size + " - " + id + "  SUCCESSFULL");
    host_.SetRowStatus(n, item + " SUCCESSFULL");
    const int found = ++run_.FoundCnt;
    host_.SetCurrentPath(file);
    host_.ShowAccepted("#" + id + " (" + size + ")", found);
  } else {
    host_.AddLog(thread + "  NOT LOADED: " + url);
    host_.SetRowStatus(n, item + " FAILED!!!");
  }
}

bool WallpaperWorker::CheckImage(const QString& fileName, const QString& id) {
  if (!QFile::exists(fileName)) return false;
  const auto header = ReadJpegFileHeader(fileName);
  if (!header || header->width < kMinWallpaperWidth) {
    QFile::remove(fileName);
    return false;
  }
  if (site::Pos(id, host_.CurrentPath()) == 0 && !run_.LoadingImage.exchange(true)) {
    host_.ShowPreview(fileName);
    run_.LoadingImage = false;
  }
  // Exactly one worker writes the name's Preview.jpg; if the write fails, a
  // later wallpaper may try again.
  if (!run_.GotPreview.exchange(true) && !CopyFileAtomically(fileName, run_.PreviewFile())) run_.GotPreview = false;
  return true;
}

bool WallpaperWorker::DownloadImage(const QString& url, const QString& fileName) {
  QByteArray buffer;
  bool ok = false;
  int a = 0;
  for (;;) {
    ok = fetch_(url, buffer);
    std::this_thread::sleep_for(run_.Timings.FetchPause);
    ++a;
    if (terminating_ || ok || a >= kMaxAttempts || !run_.Working) break;
  }
  // A body that cannot be stored counts as a failed try: CheckImage then finds no file.
  return ok && WriteFileAtomically(fileName, buffer);
}
