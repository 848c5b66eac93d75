// Start-up and shut-down of the main window, the size check boxes, the thread
// count and the name field's list.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "control/IniFile.h"
#include "control/LastSession.h"
#include "download/DiskLayout.h"
#include "download/FileStore.h"
#include "ui/Platform.h"
#include "ui/PreviewLoader.h"
#include "task/MainThread.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace ui {

namespace {

// Writes the twelve keys into the file as it is now, so whatever else it holds
// is kept. A file that could not be read is left alone; one that is no INI text
// is kept aside as Settings.ini.bad, and replaced only once that has worked.
download::TWriteResult SaveLastSession(const QString& path, const control::TLastSession& session) {
  control::TIniFile settings;
  if (const download::TWriteResult loaded = settings.LoadForUpdate(path); !loaded) return loaded;
  control::WriteLastSession(settings, session);
  return settings.Save(path);
}

}  // namespace

QCheckBox* TForm1::SizeBox(download::TResolution size) const {
  switch (size) {
    case download::tr1024x768: return CheckBox4;
    case download::tr1152x864: return CheckBox5;
    case download::tr1280x800: return CheckBox6;
    case download::tr1280x960: return CheckBox2;
    case download::tr1280x1024: return CheckBox3;
    case download::tr1440x900: return CheckBox7;
    case download::tr1600x1200: return CheckBox8;
    case download::tr1680x1050: return CheckBox9;
    case download::tr1920x1200: return CheckBox10;
  }
  return nullptr;
}

void TForm1::FormCreate() {
  Dir = Environment.Dir;
  CurrentPath = Dir;
  // A run's counters and preview flags (FoundCnt, GotPreview, LoadingImage,
  // ProgressPos) and its ImageLinks start afresh in each run's own state, which
  // the first Start creates.
  Working = false;
  ShowLog = true;
  LoadingThumbs = false;
  TaskCount = 20;
  GetGirlsList();
  Seconds = 0;
  Minutes = 0;
  Button5Click();  // ShowLog is true, so this turns to the compact layout, centred
  // The catalogue's thumbnail loader, apart from the task manager so that stopping
  // a run never stops it.
  LoadAllGirlsImg = std::make_unique<task::TSmartTask>();
  LoadAllGirlsImg->OnExecuteEvent([this](const task::TTaskThread& t) { LoadAllGirlsTask(t); });

  control::TIniFile settings;
  settings.Load(download::SettingsFilePath(Dir));  // anything but a readable file leaves the defaults
  const control::TLastSession session = control::ReadLastSession(settings);
  NameEdit->setEditText(session.Name);
  SpinEdit1->SetText(session.Threads);  // shown as stored; text that is no number counts as 1
  // "All Available" first, so each size box then ends as its own key says.
  CheckBox1->setChecked(session.AllResolutions);
  for (download::TResolution r : download::FolderOrder()) SizeBox(r)->setChecked(session.Sizes[r]);

  // Decoded off the UI thread: a huge or hostile Preview.jpg never holds up start-up.
  PreviewLoader = std::make_unique<TPreviewLoader>(Image1->size(), TerminatingFlag);
  ShowPictureOrClear(download::PreviewFileOf(Dir, session.Name));

  TaskManager = std::make_unique<task::TTaskManager>();
  Label3->setText(session.Name);
  LoadList();
  GetAllGirlsList();

  // Said once, after the window has come up, rather than by every link.
  if (const QString problem = SiteAddressProblem(); !problem.isEmpty()) {
    AddLog("ERR: " + problem);
    QTimer::singleShot(0, this, [this, problem] { Platform.ShowMessage(problem); });
  }
}

void TForm1::FormDestroy() {
  Terminating = true;  // every fetch in progress gives up at once
  if (PreviewLoader) PreviewLoader->Cancel();  // and so does a preview's decode
  if (TaskManager) TaskManager->StopTasks();
  if (LoadAllGirlsImg) LoadAllGirlsImg->Stop();
  if (LoadAllGirlsNames) LoadAllGirlsNames->Stop();

  control::TLastSession session;
  session.Name = NameEdit->currentText();
  session.Threads = SpinEdit1->text();  // exactly as shown, blanks and all
  session.AllResolutions = CheckBox1->isChecked();
  for (download::TResolution r : download::FolderOrder()) session.Sizes[r] = SizeBox(r)->isChecked();
  if (const download::TWriteResult saved = SaveLastSession(download::SettingsFilePath(Dir), session); !saved) {
    // The old file is still whole; the user should know the choices were not kept.
    const QString line = "ERR: Can not save - " + saved.Describe();
    qWarning("%s", qUtf8Printable(line));
    Platform.ShowMessage("The settings could not be saved in \"" + saved.Path + "\": " + saved.Reason() + ".");
  }

  // Saved before this wait, so the choices are kept even if the process is ended
  // while it lasts. The threads still hand their last notices to this thread, so
  // it serves them while it waits; nothing they use is freed before they end.
  task::WaitForTaskThreads(Environment.ShutdownBound);
  Run.reset();
  TaskManager.reset();
  LoadAllGirlsImg.reset();
  LoadAllGirlsNames.reset();
  PreviewLoader.reset();
}

void TForm1::CheckBox1Click() {
  const bool on = CheckBox1->isChecked();
  for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8, CheckBox9, CheckBox10})
    box->setChecked(on);
}

void TForm1::SizeBoxClick(QCheckBox* box, download::TResolution size) {
  if (box->isChecked())
    ResParams.Include(size);
  else
    ResParams.Exclude(size);
}

// The field's value already stands for its text: 1 for text that is no number.
void TForm1::SpinEdit1Change() { TaskCount = SpinEdit1->value(); }

void TForm1::GetGirlsList() {
  NameEdit->clear();
  const QDir wallpapers(download::WallpapersFolder(Dir));
  // Every folder, the hidden ones too, in the order the file system gives,
  // each as the name it stands for.
  for (const QString& folder : wallpapers.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted))
    NameEdit->addItem(download::NameFromPart(folder));
  // A combo box makes the first entry it gets the current one, text and all;
  // the list is only offered, nothing is chosen.
  NameEdit->setCurrentIndex(-1);
  NameEdit->clearEditText();
}

void TForm1::NameEditSelect(int index) {
  Label3->setText(NameEdit->currentText());
  const QString name = NameEdit->itemText(index);
  if (!ShowPictureOrClear(download::PreviewFileOf(Dir, name)))
    CurrentPath = download::NameFolder(Dir, name).value_or(download::WallpapersFolder(Dir));
}

}  // namespace ui
