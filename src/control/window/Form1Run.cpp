// The Start/Stop control of a download run, the end-of-run countdown and the
// elapsed-time clock.

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <system_error>

#include "control/RunCore.h"
#include "download/DiskLayout.h"
#include "download/FileStore.h"
#include "site/Fetch.h"
#include "ui/Platform.h"
#include "ui/TForm1.h"
#include "ui/TLabel.h"

namespace ui {

bool TForm1::IsCurrent(const download::TDownloadRun& run) const { return Run.get() == &run && !Terminating; }

void TForm1::Button1Click() {
  if (!Working)
    StartPath();
  else
    StopPath();
}

void TForm1::StartPath() {
  const QString name = NameEdit->currentText();
  // The run's name is fixed here: its workers file under it and its end opens its folder.
  const control::TRunStart start = control::PrepareRun(name, RunSettings());
  LastRefusal_ = start.Refusal;
  switch (start.Refusal) {
    case control::TRunStart::TRefusal::None: break;
    case control::TRunStart::TRefusal::NoName: Platform.ShowMessage(start.Problem); return;
    case control::TRunStart::TRefusal::BadFolder:
      AddLog(start.Problem);
      // A batch runs unattended: its log says it, and the batch goes on.
      if (!BatchMode) Platform.ShowMessage("The name \"" + name + "\" can not be used as a folder name.");
      return;
    case control::TRunStart::TRefusal::BadAddress:
      AddLog(start.Problem);
      if (!BatchMode) Platform.ShowMessage(SiteAddressProblem());  // start-up has said it already
      return;
  }
  if (LoadAllGirlsImg) LoadAllGirlsImg->Stop();
  SiteNoticeForThisRun = false;
  if (const QString notice = control::NoSiteNotice(Dir, Environment.Site); !SiteNoticeGiven && !notice.isEmpty()) {
    // Once per start is enough.
    SiteNoticeGiven = true;
    SiteNoticeForThisRun = true;
    AddLog(notice);
    if (!BatchMode) Platform.ShowMessage(notice);
  }

  Run = start.Run;

  Working = true;
  Button1->setText("Stop");
  Label2->setText("0%");
  Status->setText("Working...");
  GroupBox1->setEnabled(false);
  NameEdit->setEnabled(false);
  SpinEdit1->setEnabled(false);
  FindWallpapers();
}

void TForm1::FindWallpapers() {
  const std::shared_ptr<download::TDownloadRun> run = Run;
  task::TSmartTask& find = TaskManager->CreateTask("FindTask");
  find.OnExecuteEvent([this, run](const task::TTaskThread& t) { FindImagesTask(t, run); });
  find.OnTerminatedEvent([this, run](task::TObject* sender) { LoadWallpapers(sender, run); });
  try {
    find.Start();
  } catch (const std::system_error& error) {
    // No search will ever end this run, so it ends here; a batch would wait
    // for it forever, so it stops too, with its entry still ticked.
    AddLog("ERR: the search could not be started: " + QString::fromLocal8Bit(error.what()));
    if (BatchMode) Button3Click();
    StopPath();
  }
}

void TForm1::StopPath() {
  Working = false;
  if (Run) Run->Stop();
  TaskManager->StopTasks();
  Button1->setText("Start");
  Status->setText("Done");
  Label2->setText("100%");
  const QString name = NameEdit->currentText();
  GetGirlsList();
  NameEdit->setEditText(name);
  UpdateProgress(ProgressMax());
  GroupBox1->setEnabled(true);
  NameEdit->setEnabled(true);
  SpinEdit1->setEnabled(true);
  Platform.PlayDoneSound();
}

void TForm1::AnnounceDone(const std::shared_ptr<download::TDownloadRun>& run) {
  // A run that a newer one replaced counts down on its own and ends nothing.
  if (!IsCurrent(*run)) {
    run->CountDown();
    return;
  }
  const int left = run->CountDown();
  AddLog("LEFT THREADS: " + QString::number(left));
  if (left > 0) return;
  const bool stopped = !run->Working;  // by Stop or a failed write, before its end
  if (Working) StopPath();
  if (BatchMode) {
    AddLog("BATCH Mode: ON, Selecting Next Task...  ");
    RecordBatchEntry(run->FoundCnt);
    SaveList();
    if (!stopped) CountBatchRun(*run);
    StartNext();
    if (!BatchMode) NotifyBatchEnd();  // that was the last entry
    return;
  }
  NotifyRunEnd(*run, stopped);
  if (QDir(run->NameFolder).exists()) OpenOrLog(run->NameFolder);
}

void TForm1::StopForWriteFailure(download::TDownloadRun& run, const download::TWriteResult& failure) {
  if (!IsCurrent(run) || run.WriteFailureShown) return;
  run.WriteFailureShown = true;
  // Every later name would fail the same way, so the batch stops too, and
  // the entry stays ticked for when there is room again.
  if (BatchMode) Button3Click();
  if (Working) StopPath();
  const QString folder = QFileInfo(failure.Path).path();
  AddLog("ERR: Can not save - " + failure.Describe());
  Platform.ShowMessage("Can not write into the folder \"" + folder + "\": " + failure.Reason() +
                       ".\nThe download has been stopped.");
}

QString TForm1::SiteAddressProblem() const { return control::SiteAddressProblem(Environment.Site); }

control::TRunSettings TForm1::RunSettings() const {
  // The size boxes stay disabled until the run ends, so its sizes are these.
  return {.Dir = Dir,
          .Site = Environment.Site,
          .Fetch = Environment.Fetch,
          .Timings = Environment.Download,
          .Sizes = ResParams,
          .Threads = SpinEdit1->value()};
}

void TForm1::Timer1Timer() {
  if (Working) {
    if (++Seconds == 60) {
      Seconds = 0;
      ++Minutes;
    }
  } else {
    Timer1->stop();
  }
  Label4->setText("Time: " + QString::number(Minutes) + " m. " + QString::number(Seconds) + " s.");
}

}  // namespace ui
