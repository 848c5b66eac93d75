#include "download/LoadImages.h"

#include <QFile>
#include <exception>
#include <thread>

#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "site/UrlScheme.h"
#include "site/Text.h"

namespace download {

namespace {
QString Num(qsizetype v) { return QString::number(v); }

bool WorthKeeping(const std::optional<TJpegHeader>& header) { return header && header->width >= kMinWallpaperWidth; }
}  // namespace

void TWallpaperWorker::Run(const TWorkerShare& share) {
  n_ = share.TaskIDX;
  thread_ = "Thread #" + Num(n_);
  try {
    Work(share);
  } catch (...) {
    // Whatever ended the worker (no memory, an exception rethrown from a
    // hand-off), the run must still count it down, or it would never end.
    try {
      host_.Report(share.TaskIDX,
                   {thread_ + "  ERR: the thread ended early after an internal error",
                    "Finished Thread #: " + Num(share.TaskIDX)},
                   QStringLiteral("Finished!"));
    } catch (...) {
    }
  }
  try {
    host_.AnnounceDone();
  } catch (...) {
  }
}

void TWallpaperWorker::Work(const TWorkerShare& share) {
  const int n = share.TaskIDX;
  const int count = static_cast<int>(run_.ImageLinks.size());
  QStringList lines{"Task Started: " + Num(n)};
  const QString slug = site::WorkerSlug(run_.Name);

  int i = share.Start;
  if (i > count - 1) {
    lines << "Thread #" + Num(n) + " INDEX " + Num(i) + " OUT of Range: " + Num(i) + "/" + Num(count);
  } else {
    host_.Report(n, lines, {});
    lines.clear();
    // A stride below 1 would never leave the list.
    const int stride = std::max(share.TaskCnt, 1);
    for (;;) {
      TLinkEnd end = LoadLink(slug, run_.ImageLinks[i]);
      end.Position = ++run_.ProgressPos;
      host_.EndLink(n, end);
      i += stride;
      if (terminating_ || !threadActive_ || i >= count || !run_.Working) break;
    }
  }
  lines << "Finished Thread #: " + Num(n);
  host_.Report(n, lines, QStringLiteral("Finished!"));
}

bool TWallpaperWorker::GoOn() const { return !terminating_ && threadActive_ && run_.Working; }

TLinkEnd TWallpaperWorker::LoadLink(const QString& slug, const QString& link) {
  TLinkEnd end;
  end.Id = site::GetWallpaperID(slug, link);
  end.Size = site::GetWallpaperRes(end.Id, link);
  if (!ResSelected(run_.ResParams, end.Size)) return end;
  const QString& id = end.Id;
  const QString& size = end.Size;

  const QString url = site::ImageUrl(run_.ImageHostUrl, slug, size, id);
  end.File = WallpaperFile(run_.NameFolder, size, run_.Name, id);
  const QString item = "Loading image: " + id + " (" + size + ") ";

  QStringList lines{thread_ + "  MATCHES: " + url};
  bool onDisk = false, ok = false;
  QString final, why;
  int t = 0;
  for (;;) {
    lines << thread_ + "  LOADING... " + size + " - " + id + "  TRY # : " + Num(t + 1);
    host_.Report(n_, lines, item + "  TRY # : " + Num(t + 1));
    lines.clear();
    onDisk = ok = CheckImage(end.File, id);
    if (!ok) {
      const TDownload download = DownloadImage(site::LowerAZ(url), end.File, id);
      ok = download.Stored;
      final = download.Final;
      why = download.Why;
    }
    ++t;
    if (ok || !final.isEmpty() || !GoOn() || t >= kMaxTries) break;
  }

  if (ok) {
    end.Outcome = onDisk ? TLinkOutcome::OnDisk : TLinkOutcome::Fetched;
    end.Lines << thread_ + "  LOADING... " + size + " - " + id + "  SUCCESSFULL";
    end.Status = item + " SUCCESSFULL";
    ++run_.FoundCnt;
    end.Label3 = "#" + id + " (" + size + ")";
  } else {
    end.Outcome = TLinkOutcome::Failed;
    end.Reason = !final.isEmpty() ? final : !GoOn() ? QStringLiteral("stopped") : why;
    if (!final.isEmpty()) end.Lines << thread_ + "  ERR: " + final;
    end.Lines << thread_ + "  NOT LOADED: " + url;
    ++run_.NotLoadedCnt;
    end.Status = item + " FAILED!!!";
  }
  return end;
}

bool TWallpaperWorker::CheckImage(const QString& fileName, const QString& id) {
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

TWallpaperWorker::TDownload TWallpaperWorker::DownloadImage(const QString& url, const QString& fileName,
                                                          const QString& id) {
  QByteArray buffer;
  site::TFetchResult fetched;
  for (int a = 1;; ++a) {
    fetched = fetch_(url, buffer);
    std::this_thread::sleep_for(run_.Timings.FetchPause);
    if (terminating_ || fetched || fetched.IsFinal() || a >= kMaxAttempts || !run_.Working) break;
  }
  if (fetched.IsFinal()) return {false, fetched.Describe(), {}};
  if (!fetched) return {false, {}, fetched.Describe()};
  // A body that is no whole picture worth keeping (an error page, a cut-off
  // or narrow image) never reaches the disk; the next try fetches again.
  if (!WorthKeeping(ReadWholeJpeg(buffer))) {
    if (fetched.HttpStatus >= 400) return {false, {}, QStringLiteral("the site answered HTTP %1").arg(fetched.HttpStatus)};
    return {false, {}, QStringLiteral("the answer is no whole JPEG at least %1 pixels wide").arg(kMinWallpaperWidth)};
  }

  TStagedFile staged(fileName, buffer);
  TWriteResult written = staged.Staged();
  if (written && !run_.WhileWorking([&] { written = staged.Commit(); }))
    return {false, {}, QStringLiteral("stopped")};  // the body goes
  if (!written) {
    WriteFailed(written);
    return {false, "Can not save - " + written.Describe(), {}};
  }
  Accept(fileName, id, &buffer);
  return {true, {}, {}};
}

void TWallpaperWorker::Accept(const QString& fileName, const QString& id, const QByteArray* data) {
  if (!run_.LoadingImage.exchange(true)) {
    host_.ShowPreview(id, fileName);
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
  host_.Report(n_, {thread_ + "  ERR: Can not save - " + written.Describe()}, {});
  WriteFailed(written);
}

bool TWallpaperWorker::WriteFailed(const TWriteResult& failure) {
  if (!failure.StopsEveryWrite()) return false;
  host_.StopForWriteFailure(failure);
  return true;
}

}  // namespace download
