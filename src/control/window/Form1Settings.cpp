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
TWriteResult SaveLastSession(const QString& path, const LastSession& session) {
  IniFile settings;
  if (const TWriteResult loaded = settings.LoadForUpdate(path); !loaded) return loaded;
  WriteLastSession(settings, session);
  return settings.Save(path);
}

}  // namespace

QCheckBox* TForm1::SizeBox(TResolution size) const {
  switch (size) {
    case tr1024x768: return CheckBox4;
    case tr1152x864: return CheckBox5;
    case tr1280x800: return CheckBox6;
    case tr1280x960: return CheckBox2;
    case tr1280x1024: return CheckBox3;
    case tr1440x900: return CheckBox7;
    case tr1600x1200: return CheckBox8;
    case tr1680x1050: return CheckBox9;
    case tr1920x1200: return CheckBox10;
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

  IniFile settings;
  settings.Load(SettingsFilePath(Dir));  // anything but a readable file leaves the defaults
  const LastSession session = ReadLastSession(settings);
  NameEdit->setEditText(session.Name);
  SpinEdit1->SetText(session.Threads);  // shown as stored; text that is no number counts as 1
  // "All Available" first, so each size box then ends as its own key says.
  CheckBox1->setChecked(session.AllResolutions);
  for (TResolution r : FolderOrder()) SizeBox(r)->setChecked(session.Sizes[r]);

  // Decoded off the UI thread: a huge or hostile Preview.jpg never holds up start-up.
  PreviewLoader = std::make_unique<TPreviewLoader>(Image1->size(), TerminatingFlag);
  const QString preview = PreviewFileOf(Dir, session.Name);
  if (!preview.isEmpty() && QFile::exists(preview)) {
    ShowPreviewFile(preview);
    CurrentPath = preview;
  } else {
    SetPreview(QImage());
  }

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

  LastSession session;
  session.Name = NameEdit->currentText();
  session.Threads = SpinEdit1->text();  // exactly as shown, blanks and all
  session.AllResolutions = CheckBox1->isChecked();
  for (TResolution r : FolderOrder()) session.Sizes[r] = SizeBox(r)->isChecked();
  if (const TWriteResult saved = SaveLastSession(SettingsFilePath(Dir), session); !saved) {
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

void TForm1::SizeBoxClick(QCheckBox* box, TResolution size) {
  if (box->isChecked())
    ResParams.Include(size);
  else
    ResParams.Exclude(size);
}

// The field's value already stands for its text: 1 for text that is no number.
void TForm1::SpinEdit1Change() { TaskCount = SpinEdit1->value(); }

void TForm1::GetGirlsList() {
  NameEdit->clear();
  const QDir wallpapers(WallpapersFolder(Dir));
  // Every folder, the hidden ones too, in the order the file system gives,
  // each as the name it stands for.
  for (const QString& folder : wallpapers.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted))
    NameEdit->addItem(NameFromPart(folder));
  // A combo box makes the first entry it gets the current one, text and all;
  // the list is only offered, nothing is chosen.
  NameEdit->setCurrentIndex(-1);
  NameEdit->clearEditText();
}

void TForm1::NameEditSelect(int index) {
  Label3->setText(NameEdit->currentText());
  const QString name = NameEdit->itemText(index);
  const QString preview = PreviewFileOf(Dir, name);
  if (!preview.isEmpty() && QFile::exists(preview)) {
    ShowPreviewFile(preview);
    CurrentPath = preview;
  } else {
    CurrentPath = NameFolder(Dir, name).value_or(WallpapersFolder(Dir));
    SetPreview(QImage());
  }
}

}  // namespace ui
