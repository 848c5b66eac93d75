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
  Number_ = share.TaskIDX;
  Thread_ = "Thread #" + Num(Number_);
  try {
    Work(share);
  } catch (...) {
    // Whatever ended the worker (no memory, an exception rethrown from a
    // hand-off), the run must still count it down, or it would never end.
    try {
      Host_.Report(share.TaskIDX,
                   {Thread_ + "  ERR: the thread ended early after an internal error",
                    "Finished Thread #: " + Num(share.TaskIDX)},
                   QStringLiteral("Finished!"));
    } catch (...) {
    }
  }
  try {
    Host_.AnnounceDone();
  } catch (...) {
  }
}

void TWallpaperWorker::Work(const TWorkerShare& share) {
  const int n = share.TaskIDX;
  const int count = static_cast<int>(Run_.ImageLinks.size());
  QStringList lines{"Task Started: " + Num(n)};
  const QString slug = site::WorkerSlug(Run_.Name);

  int i = share.Start;
  if (i > count - 1) {
    lines << "Thread #" + Num(n) + " INDEX " + Num(i) + " OUT of Range: " + Num(i) + "/" + Num(count);
  } else {
    Host_.Report(n, lines, {});
    lines.clear();
    // A stride below 1 would never leave the list.
    const int stride = std::max(share.TaskCnt, 1);
    for (;;) {
      TLinkEnd end = LoadLink(slug, Run_.ImageLinks[i]);
      end.Position = ++Run_.ProgressPos;
      Host_.EndLink(n, end);
      i += stride;
      if (Terminating_ || !ThreadActive_ || i >= count || !Run_.Working) break;
    }
  }
  lines << "Finished Thread #: " + Num(n);
  Host_.Report(n, lines, QStringLiteral("Finished!"));
}

bool TWallpaperWorker::GoOn() const { return !Terminating_ && ThreadActive_ && Run_.Working; }

TLinkEnd TWallpaperWorker::LoadLink(const QString& slug, const QString& link) {
  TLinkEnd end;
  end.Id = site::GetWallpaperID(slug, link);
  end.Size = site::GetWallpaperRes(end.Id, link);
  if (!ResSelected(Run_.ResParams, end.Size)) return end;
  const QString& id = end.Id;
  const QString& size = end.Size;

  const QString url = site::ImageUrl(Run_.ImageHostUrl, slug, size, id);
  end.File = WallpaperFile(Run_.NameFolder, size, Run_.Name, id);
  const QString item = "Loading image: " + id + " (" + size + ") ";

  QStringList lines{Thread_ + "  MATCHES: " + url};
  bool onDisk = false, ok = false;
  QString final, why;
  int t = 0;
  for (;;) {
    lines << Thread_ + "  LOADING... " + size + " - " + id + "  TRY # : " + Num(t + 1);
    Host_.Report(Number_, lines, item + "  TRY # : " + Num(t + 1));
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
    end.Lines << Thread_ + "  LOADING... " + size + " - " + id + "  SUCCESSFULL";
    end.Status = item + " SUCCESSFULL";
    ++Run_.FoundCnt;
    end.Label3 = "#" + id + " (" + size + ")";
  } else {
    end.Outcome = TLinkOutcome::Failed;
    end.Reason = !final.isEmpty() ? final : !GoOn() ? QStringLiteral("stopped") : why;
    if (!final.isEmpty()) end.Lines << Thread_ + "  ERR: " + final;
    end.Lines << Thread_ + "  NOT LOADED: " + url;
    ++Run_.NotLoadedCnt;
    end.Status = item + " FAILED!!!";
  }
  return end;
}

bool TWallpaperWorker::CheckImage(const QString& fileName, const QString& id) {
  if (!QFile::exists(fileName)) return false;
  if (!WorthKeeping(ReadStoredJpegHeader(fileName))) {
    // Only while the run goes on: once it is stopped, the file may already
    // be a newer run's.
    Run_.WhileWorking([&] { QFile::remove(fileName); });
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
    fetched = Fetch_(url, buffer);
    std::this_thread::sleep_for(Run_.Timings.FetchPause);
    if (Terminating_ || fetched || fetched.IsFinal() || a >= kMaxAttempts || !Run_.Working) break;
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
  if (written && !Run_.WhileWorking([&] { written = staged.Commit(); }))
    return {false, {}, QStringLiteral("stopped")};  // the body goes
  if (!written) {
    WriteFailed(written);
    return {false, "Can not save - " + written.Describe(), {}};
  }
  Accept(fileName, id, &buffer);
  return {true, {}, {}};
}

void TWallpaperWorker::Accept(const QString& fileName, const QString& id, const QByteArray* data) {
  if (!Run_.LoadingImage.exchange(true)) {
    Host_.ShowPreview(id, fileName);
    Run_.LoadingImage = false;
  }
  // Exactly one worker writes the name's Preview.jpg; if the write fails, a
  // later wallpaper may try again.
  if (Run_.GotPreview.exchange(true)) return;
  TStagedFile staged = data ? TStagedFile(Run_.PreviewFile(), *data) : TStagedFile::CopyOf(fileName, Run_.PreviewFile());
  TWriteResult written = staged.Staged();
  if (written) Run_.WhileWorking([&] { written = staged.Commit(); });
  if (written) return;
  Run_.GotPreview = false;
  Host_.Report(Number_, {Thread_ + "  ERR: Can not save - " + written.Describe()}, {});
  WriteFailed(written);
}

bool TWallpaperWorker::WriteFailed(const TWriteResult& failure) {
  if (!failure.StopsEveryWrite()) return false;
  Host_.StopForWriteFailure(failure);
  return true;
}

}  // namespace download
