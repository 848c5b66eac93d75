// Start-up and shut-down of the main window, the size check boxes, the thread
// count and the name field's list.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSpinBox>

#include "control/IniFile.h"
#include "control/LastSession.h"
#include "download/FileStore.h"
#include "task/MainThread.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace ui {

namespace {

QString SettingsPath(const QString& dir) { return dir + QStringLiteral("/Settings.ini"); }

// The preview file of a name, or none for a name that is no folder of ours.
QString PreviewFileOf(const QString& dir, const QString& name) {
  const auto folder = NameFolder(dir, name);
  return folder ? *folder + QStringLiteral("/Preview.jpg") : QString();
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
  Working = false;
  ShowLog = true;
  LoadingThumbs = false;
  TaskCount = 20;
  GetGirlsList();
  Seconds = 0;
  Minutes = 0;
  Button5Click();  // compact and centred
  // The catalogue's thumbnail loader; its body comes with the catalogue.
  LoadAllGirlsImg = std::make_unique<task::TSmartTask>();

  IniFile settings;
  settings.Load(SettingsPath(Dir));  // anything but a readable file leaves the defaults
  const LastSession session = ReadLastSession(settings);
  NameEdit->setEditText(session.Name);
  SpinEdit1->setValue(ThreadCountFromText(session.Threads));
  // "All Available" first, so each size box then ends as its own key says.
  CheckBox1->setChecked(session.AllResolutions);
  for (TResolution r : FolderOrder()) SizeBox(r)->setChecked(session.Sizes[r]);

  const QString preview = PreviewFileOf(Dir, session.Name);
  if (!preview.isEmpty() && QFile::exists(preview)) {
    ShowPreviewFile(preview);
    CurrentPath = preview;
  } else {
    Image1->SetPicture(QImage());
  }

  TaskManager = std::make_unique<task::TTaskManager>();
  Label3->setText(session.Name);
  // The batch list and the name catalogue are loaded here once they exist.
}

void TForm1::FormDestroy() {
  Terminating = true;
  if (TaskManager) TaskManager->StopTasks();
  if (LoadAllGirlsImg) LoadAllGirlsImg->Stop();
  // Every fetch gives up at once now; the threads still hand their last notices
  // to this thread, so it serves them while it waits.
  task::WaitForTaskThreads(Environment.ShutdownBound);

  LastSession session;
  session.Name = NameEdit->currentText();
  session.Threads = SpinEdit1->cleanText();
  session.AllResolutions = CheckBox1->isChecked();
  for (TResolution r : FolderOrder()) session.Sizes[r] = SizeBox(r)->isChecked();
  // Re-read, so whatever else the file holds now is kept. A file that could not
  // be read is left alone; one that is not INI text is kept aside, not lost.
  IniFile settings;
  const QString path = SettingsPath(Dir);
  const IniFile::LoadStatus status = settings.Load(path);
  if (status != IniFile::LoadStatus::Unreadable) {
    if (status == IniFile::LoadStatus::Invalid) {
      QFile::remove(path + QStringLiteral(".bad"));
      QFile::rename(path, path + QStringLiteral(".bad"));
    }
    WriteLastSession(settings, session);
    settings.Save(path);
  }

  Run.reset();
  TaskManager.reset();
  LoadAllGirlsImg.reset();
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

void TForm1::SpinEdit1Change() { TaskCount = ThreadCountFromText(SpinEdit1->cleanText()); }

void TForm1::GetGirlsList() {
  NameEdit->clear();
  NameEdit->clearEditText();
  const QDir wallpapers(Dir + QStringLiteral("/Wallpapers"));
  NameEdit->addItems(wallpapers.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted));
}

void TForm1::NameEditSelect(int index) {
  Label3->setText(NameEdit->currentText());
  const QString name = NameEdit->itemText(index);
  const QString preview = PreviewFileOf(Dir, name);
  if (!preview.isEmpty() && QFile::exists(preview)) {
    ShowPreviewFile(preview);
    CurrentPath = preview;
  } else {
    CurrentPath = Dir + QStringLiteral("/Wallpapers/") + name;
    Image1->SetPicture(QImage());
  }
}

}  // namespace ui
