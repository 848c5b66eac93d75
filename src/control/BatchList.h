#pragma once
// The batch list as Batch.ini keeps it: one section per entry, named by the
// entry's name, with the keys Done, Found and Checked. Names that differ only
// in case share one section, so the later of two such entries wins its values.

#include <QDateTime>
#include <QList>
#include <QString>

#include "control/IniFile.h"
#include "download/DiskLayout.h"

namespace control {

struct TBatchEntry {
  QString Name;
  QString Found = QStringLiteral("0");  // shown and stored as text, never checked
  QString Done = QStringLiteral("No");
  bool Checked = false;  // still to be downloaded

  bool operator==(const TBatchEntry&) const = default;
};

// One entry per section, in file order; missing keys take their defaults and an
// entry is ticked only for "Checked" exactly "Yes".
QList<TBatchEntry> ReadBatchList(const TIniFile& ini);

// Writes Done, Found and Checked of each entry, first to last, into its section:
// a section already there keeps its place, a new one goes to the end, and no
// section is removed.
void WriteBatchList(TIniFile& ini, const QList<TBatchEntry>& entries);

// The entries of the file at `path`; none when it is missing or unusable.
QList<TBatchEntry> LoadBatchFile(const QString& path);

enum class TBatchSave {
  Update,       // the file keeps whatever else it holds
  FromScratch,  // the file ends up holding exactly `entries`
};

// Batch.ini as this program last read or wrote it, held in memory, so that a
// save reads nothing and writes only when the list has changed. A file changed
// on disk since (edited by hand while the program runs) is read again before
// a write, so what the list does not hold of it survives. Every write
// replaces the file as a whole, so the old list stays on disk until the new
// one is complete. A file that cannot be read is left alone; one that is no
// INI text is kept aside as Batch.ini.bad first.
class TBatchFile {
 public:
  explicit TBatchFile(QString path);

  // The entries of the file, read afresh; none when it is missing or unusable.
  QList<TBatchEntry> Load();

  // Writes `entries` (WriteBatchList's rules; FromScratch: the file then holds
  // exactly them). An update with the entries the file was last read or
  // written with writes nothing at all; otherwise only the sections of the
  // entries that changed are written anew.
  download::TWriteResult Save(const QList<TBatchEntry>& entries, TBatchSave mode);

  // An update of more changed entries than this writes every entry.
  static constexpr int kFewChanges = 4;

 private:
  // Writes the entries that differ from Saved_, and every entry that shares a
  // section with one of them, in list order; false (nothing written) when
  // there are too many to pick them out.
  bool WriteChanged(const QList<TBatchEntry>& entries);

  // What tells one state of the file on disk from another: a hand edit, or
  // another program's save, changes it.
  struct TStamp {
    bool Exists = false;
    qint64 Size = 0;
    QDateTime Modified, Changed;
    bool operator==(const TStamp&) const = default;
  };
  TStamp StampNow() const;

  QString Path_;
  TIniFile Ini_;
  bool Held_ = false;        // Ini_ holds what the file holds
  QList<TBatchEntry> Saved_;  // the entries it holds them from, when Held_
  TStamp Stamp_;              // the file's as Ini_ was read or written, when Held_
};

// The picture an entry of this name shows: its Wallpapers/<name>/Preview.jpg,
// else its catalogue thumbnail AllGirls/<name>.jpg; empty when neither exists or
// the name would lead outside those folders.
QString EntryPicture(const QString& dir, const QString& name);

}  // namespace control
