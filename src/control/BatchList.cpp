#include "control/BatchList.h"

#include <QFile>
#include <cerrno>

namespace {

const QString kDone = QStringLiteral("Done");
const QString kFound = QStringLiteral("Found");
const QString kChecked = QStringLiteral("Checked");
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

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

TWriteResult SaveBatchFile(const QString& path, const QList<BatchEntry>& entries, BatchSave mode) {
  IniFile ini;
  const IniFile::LoadStatus status = ini.Load(path);
  if (status == IniFile::LoadStatus::Unreadable) return {EACCES, path};
  if (status == IniFile::LoadStatus::Invalid) {
    // Not ours to overwrite: the user may want it back.
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) return {errno != 0 ? errno : EIO, aside};
  }
  // Rather than deleting the file before writing the rest, the whole new list
  // replaces it in one step, so a crash in between never loses the list.
  if (mode == BatchSave::FromScratch) ini.Clear();
  WriteBatchList(ini, entries);
  return ini.Save(path);
}

QString EntryPicture(const QString& dir, const QString& name) {
  const QString preview = PreviewFileOf(dir, name);
  if (!preview.isEmpty() && QFile::exists(preview)) return preview;
  const std::optional<QString> thumbnail = ThumbnailPath(dir, name);
  return thumbnail && QFile::exists(*thumbnail) ? *thumbnail : QString();
}
