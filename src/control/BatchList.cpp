#include "control/BatchList.h"

#include <QDir>
#include <QFile>

#include "download/FileStore.h"

namespace {

const QString kDone = QStringLiteral("Done");
const QString kFound = QStringLiteral("Found");
const QString kChecked = QStringLiteral("Checked");
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

// AllGirls/<name>.jpg, or none for a name that would climb out of the folder.
QString ThumbnailFile(const QString& dir, const QString& name) {
  const QString folder = QDir::cleanPath(dir + QStringLiteral("/AllGirls"));
  const QString file = QDir::cleanPath(folder + u'/' + name + QStringLiteral(".jpg"));
  return file.startsWith(folder + u'/') ? file : QString();
}

}  // namespace

QString BatchFilePath(const QString& dir) { return dir + QStringLiteral("/Batch.ini"); }

QList<BatchEntry> ReadBatchList(const IniFile& ini) {
  QList<BatchEntry> entries;
  for (const QString& section : ini.ReadSections()) {
    BatchEntry entry;
    entry.Name = section;
    entry.Found = ini.ReadString(section, kFound, QStringLiteral("0"));
    entry.Done = ini.ReadString(section, kDone, kNo);
    entry.Checked = ini.ReadString(section, kChecked, kNo) == kYes;
    entries << entry;
  }
  return entries;
}

void WriteBatchList(IniFile& ini, const QList<BatchEntry>& entries) {
  for (const BatchEntry& entry : entries) {
    // A name the file cannot hold (blank, or with "]") is not written; the
    // entry stays in the list until the program ends.
    ini.WriteString(entry.Name, kDone, entry.Done);
    ini.WriteString(entry.Name, kFound, entry.Found);
    ini.WriteString(entry.Name, kChecked, entry.Checked ? kYes : kNo);
  }
}

QList<BatchEntry> LoadBatchFile(const QString& path) {
  IniFile ini;
  ini.Load(path);  // on anything but a readable file it stays empty
  return ReadBatchList(ini);
}

bool SaveBatchFile(const QString& path, const QList<BatchEntry>& entries, BatchSave mode) {
  IniFile ini;
  const IniFile::LoadStatus status = ini.Load(path);
  if (status == IniFile::LoadStatus::Unreadable) return false;
  if (status == IniFile::LoadStatus::Invalid) {
    // Not ours to overwrite: the user may want it back.
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) return false;
  }
  // Rather than deleting the file before writing the rest, the whole new list
  // replaces it in one step, so a crash in between never loses the list.
  if (mode == BatchSave::FromScratch) ini.Clear();
  WriteBatchList(ini, entries);
  return ini.Save(path);
}

QString EntryPicture(const QString& dir, const QString& name) {
  if (const auto folder = NameFolder(dir, name)) {
    const QString preview = *folder + QStringLiteral("/Preview.jpg");
    if (QFile::exists(preview)) return preview;
  }
  const QString thumbnail = ThumbnailFile(dir, name);
  return !thumbnail.isEmpty() && QFile::exists(thumbnail) ? thumbnail : QString();
}
