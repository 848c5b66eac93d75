#include "control/BatchList.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace control {

namespace {

const QString kDone = QStringLiteral("Done");
const QString kFound = QStringLiteral("Found");
const QString kChecked = QStringLiteral("Checked");
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

QList<TBatchEntry> ReadBatchList(const TIniFile& ini) {
  QList<TBatchEntry> entries;
  const QList<TIniFile::TSection> sections = ini.ReadAllSections();
  entries.reserve(sections.size());
  for (const TIniFile::TSection& section : sections) {
    TBatchEntry entry;
    entry.Name = section.Name;
    for (const auto& [key, value] : section.Keys) {
      if (key.compare(kFound, Qt::CaseInsensitive) == 0) entry.Found = value;
      else if (key.compare(kDone, Qt::CaseInsensitive) == 0) entry.Done = value;
      else if (key.compare(kChecked, Qt::CaseInsensitive) == 0) entry.Checked = value == kYes;
    }
    entries << entry;
  }
  return entries;
}

void WriteBatchList(TIniFile& ini, const QList<TBatchEntry>& entries) {
  for (const TBatchEntry& entry : entries) {
    // A name the file cannot hold (blank, or with "]") is not written; the
    // batch list refuses such names when they are added.
    ini.WriteString(entry.Name, kDone, entry.Done);
    ini.WriteString(entry.Name, kFound, entry.Found);
    ini.WriteString(entry.Name, kChecked, entry.Checked ? kYes : kNo);
  }
}

QList<TBatchEntry> LoadBatchFile(const QString& path) {
  TIniFile ini;
  ini.Load(path);  // on anything but a readable file it stays empty
  return ReadBatchList(ini);
}

TBatchFile::TBatchFile(QString path) : Path_(std::move(path)) {}

TBatchFile::TStamp TBatchFile::StampNow() const {
  const QFileInfo info(Path_);
  if (!info.exists()) return {};
  return {.Exists = true, .Size = info.size(), .Modified = info.lastModified(), .Changed = info.metadataChangeTime()};
}

QList<TBatchEntry> TBatchFile::Load() {
  Stamp_ = StampNow();
  const TIniFile::TLoadStatus status = Ini_.Load(Path_);  // on anything but a readable file it stays empty
  Held_ = status == TIniFile::TLoadStatus::Loaded || status == TIniFile::TLoadStatus::Missing;
  Saved_ = ReadBatchList(Ini_);
  return Saved_;
}

download::TWriteResult TBatchFile::Save(const QList<TBatchEntry>& entries, TBatchSave mode) {
  if (mode == TBatchSave::Update && Held_ && entries == Saved_) return {};
  // Changed on disk since: what is held no longer is what the file holds.
  if (Held_ && StampNow() != Stamp_) Held_ = false;
  if (!Held_) {
    // Never read, or the last write failed: what the file holds is read first.
    if (const download::TWriteResult loaded = Ini_.LoadForUpdate(Path_); !loaded) return loaded;
  }
  // Rather than deleting the file before writing the rest, the whole new list
  // replaces it in one step, so a crash in between never loses the list.
  if (mode == TBatchSave::FromScratch) {
    Ini_.Clear();
    WriteBatchList(Ini_, entries);
  } else if (!Held_ || !WriteChanged(entries)) {
    WriteBatchList(Ini_, entries);
  }
  const download::TWriteResult saved = Ini_.Save(Path_);
  // After a failure the file is read again before the next write.
  Held_ = bool(saved);
  if (saved) {
    Saved_ = entries;
    Stamp_ = StampNow();
  }
  return saved;
}

bool TBatchFile::WriteChanged(const QList<TBatchEntry>& entries) {
  if (entries.size() < Saved_.size()) return false;  // entries went, so every later one moved
  QStringList changed;
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (i < Saved_.size() && entries[i] == Saved_[i]) continue;
    if (changed.size() == kFewChanges) return false;
    changed << entries[i].Name;
  }
  // The later of two entries of one section wins its values, so each entry of
  // a changed section is written again, in list order, as writing every entry
  // would.
  QList<TBatchEntry> touched;
  for (const TBatchEntry& entry : entries) {
    const auto shares = [&](const QString& name) { return TIniFile::SameSection(entry.Name, name); };
    if (std::any_of(changed.begin(), changed.end(), shares)) touched << entry;
  }
  WriteBatchList(Ini_, touched);
  return true;
}

QString EntryPicture(const QString& dir, const QString& name) {
  const QString preview = download::PreviewFileOf(dir, name);
  if (!preview.isEmpty() && QFile::exists(preview)) return preview;
  const std::optional<QString> thumbnail = download::ThumbnailPath(dir, name);
  return thumbnail && QFile::exists(*thumbnail) ? *thumbnail : QString();
}

}  // namespace control
