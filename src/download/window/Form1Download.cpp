// The download phase on the main window: LoadWallpapers prepares the folders
// and starts the workers; each worker's window changes are handed to the UI
// thread.

#include <QDir>
#include <QFile>
#include <system_error>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTimer>

#include "control/RunCore.h"
#include "download/FileStore.h"
#include "download/LoadImages.h"
#include "site/Discovery.h"
#include "site/Fetch.h"
#include "task/MainThread.h"
#include "ui/Platform.h"
#include "ui/PreviewPicture.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"
#include "ui/WindowHandOff.h"

namespace ui {

namespace {

// Changes of a run that a newer one replaced, or that come while the window
// closes, are dropped; within its own run a stopped worker still reports its
// lines and rows, but no longer moves the bar the Stop filled.
class TForm1WorkerHost : public download::TWorkerHost {
 public:
  TForm1WorkerHost(TForm1& form, std::shared_ptr<download::TDownloadRun> run)
      : Form_(form), Run_(std::move(run)), HandOff_([this] { return Form_.IsCurrent(*Run_); }) {
    task::Synchronize([&] { PreviewSize_ = Form_.Image1->size(); });
  }

  void Report(int n, const QStringList& lines, const QString& status) override {
    HandOff_.Change([&] {
      for (const QString& line : lines) Form_.AddLog(line);
      SetRow(n, status);
    });
  }
  void EndLink(int n, const download::TLinkEnd& end) override {
    HandOff_.Change([&] {
      for (const QString& line : end.Lines) Form_.AddLog(line);
      SetRow(n, end.Status);
      if (!end.Label3.isEmpty()) {
        Form_.CurrentPath = end.File;
        Form_.Label3->setText(end.Label3);
        // Workers' hand-offs may arrive out of order, so the run's count is read
        // here: never below the worker's own, and the total for the last one shown.
        Form_.Found->setText("Found: " + QString::number(Run_->FoundCnt.load()));
      }
      if (!Run_->Working) return;
      Form_.UpdateProgress(end.Position);
      if (Form_.ProgressMax() > 0) Form_.Label2->setText(site::PercentCaption(Form_.ProgressPosition(), Form_.ProgressMax()));
    });
  }
  void ShowPreview(const QString& id, const QString& path) override {
    // Decoded here, on the worker, so the UI thread only shows the picture.
    const QImage picture = LoadPreviewPicture(path, PreviewSize_, {.Cancel = Form_.TerminatingFlag.get()});
    HandOff_.Change([&] {
      if (!download::PreviewShows(id, Form_.CurrentPath)) return;
      Form_.PreviewPath = path;
      TMessage msg{WM_IMAGE_UPDATE, 0, reinterpret_cast<std::intptr_t>(&picture), 0};
      Form_.SendMessage(msg);
    });
  }
  void StopForWriteFailure(const download::TWriteResult& failure) override {
    HandOff_.Change([&] { Form_.StopForWriteFailure(*Run_, failure); });
  }
  void AnnounceDone() override {
    task::Synchronize([&] { Form_.AnnounceDone(Run_); });
  }

 private:
  void SetRow(int n, const QString& status) {
    if (status.isEmpty()) return;
    if (QTreeWidgetItem* row = Form_.ListView3->topLevelItem(n - 1)) row->setText(1, status);
  }

  TForm1& Form_;
  std::shared_ptr<download::TDownloadRun> Run_;
  const TWindowHandOff HandOff_;
  QSize PreviewSize_;  // of Image1, which never changes size
};

}  // namespace

void TForm1::LoadWallpapers(task::TObject*, const std::shared_ptr<download::TDownloadRun>& run) {
  if (!IsCurrent(*run)) return;
  const QStringList& links = run->ImageLinks;
  if (links.isEmpty()) {
    // A site that never sent the first listing page is not a name without
    // wallpapers: the user is told which, and why.
    const control::TSearchOutcome outcome = control::SearchOutcome(*run);
    Button1Click();  // the run is working: this ends it
    if (outcome == control::TSearchOutcome::Unreachable) {
      Status->setText("Site Not Reachable!!!");
      if (BatchMode)
        PassOverBatchEntry();
      else if (!SiteNoticeForThisRun)
        Platform.ShowMessage("The site could not be reached for \"" + run->Name + "\":\n" + run->FirstPage.Describe() +
                             "\n\nCheck the addresses in [Site] of Settings.ini, or try again later.");
      return;
    }
    Status->setText("No Wallpapers Found!!!");
    if (!BatchMode) return;
  }
  Log->setPlainText(links.join(u'\n'));
  // What the search could not fetch stays said.
  for (const QString& line : run->SearchLog) Log->appendPlainText(line);
  Log->moveCursor(QTextCursor::End);  // so the lines that follow keep the view at the end
  run->GotPreview = QFile::exists(run->PreviewFile());
  TaskCount = SpinEdit1->value();
  Status->setText("Loading Wallpapers...");
  SetProgressMax(static_cast<int>(links.size()));
  run->ThreadsLeft = TaskCount;  // before any worker exists, so no notice comes first
  if (const download::TWriteResult made = control::MakeRunFolders(*run); !made) {
    StopForWriteFailure(*run, made);
    return;
  }
  Seconds = 0;
  Minutes = 0;
  run->ProgressPos = 0;
  Timer1->start();
  ListView3->clear();
  for (int n = 1; n <= TaskCount; ++n) {
    QTreeWidgetItem* row = ListView3->AddItem("Thread # " + QString::number(n));
    row->setText(1, "Waiting...");
    task::TSmartTask& worker = TaskManager->CreateTask("LoadTask" + std::to_string(n));
    const download::TWorkerShare share = control::ShareOf(n, TaskCount);
    worker.SetParam("Start", share.Start).SetParam("TaskCnt", share.TaskCnt).SetParam("TaskIDX", share.TaskIDX);
    const auto began = std::make_shared<std::atomic<bool>>(false);
    worker.OnExecuteEvent([this, run, began](const task::TTaskThread& t) {
      *began = true;
      LoadImagesTask(t, run);
    });
    // A worker stopped before its thread began never runs its body, so its end
    // is announced here (on the UI thread, once the thread has ended), or the
    // run would wait for it forever.
    worker.OnStopEvent([this, run, began, n](const task::TTaskThread&) {
      if (*began) return;
      if (IsCurrent(*run))
        if (QTreeWidgetItem* row = ListView3->topLevelItem(n - 1)) row->setText(1, "Finished!");
      AnnounceDone(run);
    });
    try {
      worker.Start();
    } catch (const std::system_error& error) {
      // A worker that never ran still counts as one that has finished, or
      // the run would wait for it forever.
      AddLog("Thread #" + QString::number(n) + "  ERR: the thread could not be started: " +
             QString::fromLocal8Bit(error.what()));
      row->setText(1, "Finished!");
      AnnounceDone(run);
    }
  }
}

void TForm1::LoadImagesTask(const task::TTaskThread& TaskThread, const std::shared_ptr<download::TDownloadRun>& run) {
  download::TWorkerShare share;
  TaskThread.GetParam("Start", share.Start);
  TaskThread.GetParam("TaskCnt", share.TaskCnt);
  TaskThread.GetParam("TaskIDX", share.TaskIDX);
  TForm1WorkerHost host(*this, run);
  const site::TFetchOptions options = Environment.Fetch;
  const std::shared_ptr<std::atomic<bool>> terminating = TerminatingFlag;
  // A stop of the run gives up a fetch in progress, so Stop ends a run at
  // once even on a server that has gone silent.
  auto fetch = [terminating, options, run](const QString& url, QByteArray& buffer) {
    return site::FetchBytes(url, buffer, site::TFetchStop(*terminating, &run->Working), options);
  };
  download::TWallpaperWorker worker(*run, host, fetch, TaskThread.Active, *terminating);
  worker.Run(share);
}

}  // namespace ui
