// What the main window tells the desktop beyond itself: the folder or file
// opened for the user (and the log line when that fails), the notification at
// the end of a run or a batch, and the run's progress on the launcher's icon.

#include <QPointer>
#include <utility>

#include "download/DiskLayout.h"
#include "ui/Platform.h"
#include "ui/TForm1.h"

namespace ui {

void TForm1::OpenOrLog(const QString& target) {
  // Without an opener (xdg-open) the desktop says nothing, so the log does.
  if (!Platform.Open(target))
    AddLog("ERR: Can not open - " + target + " (no program to open it with; is xdg-utils installed?)");
}

void TForm1::ShowSelectedOrLog(const QString& path) {
  // The answer may come after the window has gone.
  Platform.ShowSelected(path, [form = QPointer<TForm1>(this), path] {
    if (form)
      form->AddLog("ERR: Can not show - " + path + " (no file manager answered and the folder could not be opened)");
  });
}

namespace {

TRunNotice NoticeOf(const download::TDownloadRun& run) {
  return {.Name = run.Name, .Found = run.FoundCnt, .NotLoaded = run.NotLoadedCnt, .Folder = run.NameFolder};
}

}  // namespace

void TForm1::NotifyRunEnd(const download::TDownloadRun& run, bool stopped) {
  BatchNotice = {.Names = 0};  // a batch stopped under way ends with this single run
  // Whoever pressed Stop, or read why a write failed, is at the window already.
  if (!stopped) Platform.NotifyRunDone(NoticeOf(run));
}

void TForm1::CountBatchRun(const download::TDownloadRun& run) {
  const TRunNotice notice = NoticeOf(run);
  ++BatchNotice.Names;
  BatchNotice.Found += notice.Found;
  BatchNotice.NotLoaded += notice.NotLoaded;
}

void TForm1::NotifyBatchEnd() {
  TRunNotice batch = std::exchange(BatchNotice, {.Names = 0});
  if (batch.Names == 0 && batch.Unreached == 0) return;  // every entry was stopped
  batch.Folder = download::WallpapersFolder(Dir);
  Platform.NotifyRunDone(batch);
}

void TForm1::ShowLauncherProgress() {
  if (LauncherProgress.Step(Working, ProgressValue_, ProgressMaximum_))
    Platform.ShowLauncherProgress(LauncherProgress.Shown());
}

}  // namespace ui
