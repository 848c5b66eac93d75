#pragma once
// An INI file held in memory, read and written the way the Windows profile
// functions treat Settings.ini and Batch.ini:
// - section and key names match without regard to case, and blanks around
//   them do not count ("[ Last Session ]" is "last session");
// - sections and keys keep their place; a new key goes to the end of its
//   section, a new section to the end of the file;
// - a missing key reads as the caller's default; a key written twice in a
//   hand-edited file reads as its first value;
// - a file is read as UTF-16 after a UTF-16 mark, as UTF-8 when it is UTF-8,
//   and as Windows-1252 (what a Windows editor writes) otherwise; keys are
//   written as key=value, in UTF-8 without a byte-order mark, so the first save
//   after reading any other form turns the file into UTF-8;
// - a "[" line without its "]" is no section: the keys after it stay in the
//   section before, and the line is written back as a comment; a section
//   without a name ("[]") cannot be asked for and is written back as comments,
//   and so is a line that holds no key (no "=", or nothing before it);
// - everything the program does not write (other sections and keys, keys
//   before the first section, comments, those after the last entry staying
//   at the end) is written back unchanged, but for the blank lines between
//   entries, which settle after the first save.
// Values come back exactly as written: one with blanks at either end, or
// enclosed in matching quotes, is stored in double quotes, and surrounding
// quotes are taken off when reading, as the Windows functions do. A line
// break or NUL cannot be stored in a one-line value; each becomes a blank.

#include <QString>
#include <QList>
#include <QStringList>
#include <utility>
#include <memory>

#include "download/FileStore.h"

namespace control {

class TIniFile {
 public:
  enum class TLoadStatus {
    Loaded,      // the file was read
    Missing,     // there is no file: the defaults apply, the first save creates it
    Unreadable,  // it exists but could not be opened or read (a folder, no permission)
    Invalid,     // it was read but is no INI text: a NUL character, or too large
  };

  TIniFile();
  ~TIniFile();
  TIniFile(TIniFile&&) noexcept;
  TIniFile& operator=(TIniFile&&) noexcept;

  // Replaces the contents with the file at `path`. Whatever the outcome, the
  // object is usable; on anything but Loaded it is empty.
  TLoadStatus Load(const QString& path);

  // Loads `path` ahead of a save that keeps whatever else the file holds. A
  // file that cannot be read must not be replaced: the result says so. One
  // that is no INI text is kept aside as <path>.bad first (the user may want
  // it back), and the object starts empty.
  download::TWriteResult LoadForUpdate(const QString& path);

  // Writes the contents to a temporary file beside `path` and renames it over
  // `path`, so the old file stays byte for byte as it was unless the new one
  // is complete on disk.
  download::TWriteResult Save(const QString& path) const;

  QString ReadString(const QString& section, const QString& key,
                     const QString& defaultValue) const;

  // False when the name of the section or key cannot stand in an INI file:
  // empty or nothing but white space (read back as empty, it could not be
  // found again), or holding a character that would end it early ("]" in a
  // section name; "=" in a key name, or a key name that begins with "[", ";"
  // or "#").
  bool WriteString(const QString& section, const QString& key, const QString& value);

  // The names of all sections, in file order, as spelled where each first
  // appears. Keys before the first section belong to none and are not listed.
  QStringList ReadSections() const;

  // Every section in file order with its keys, each key once with its first
  // value, as ReadString would give them: one pass for a file of thousands of
  // sections, where a ReadString per key would look each up anew.
  struct TSection {
    QString Name;
    QList<std::pair<QString, QString>> Keys;  // name as spelled, value
  };
  QList<TSection> ReadAllSections() const;

  // True when a section of exactly this name can be written and read back as
  // it is; false for a name WriteString refuses and for one it would change
  // (a line break, a NUL, or blanks at either end, which the file drops).
  static bool HoldsSectionName(const QString& name);
  // True when both names stand for one section: case does not count, over all
  // of Unicode, nor do the blanks around them.
  static bool SameSection(const QString& a, const QString& b);

  // Forgets every section, key and comment: the next save writes only what is
  // written after this.
  void Clear();

 private:
  struct TData;
  std::unique_ptr<TData> Data_;
};

}  // namespace control
