#pragma once
// Batch entries for tests: printed by GoogleTest in its failure messages,
// made in one call, and the inode that tells whether a save replaced the file.
#include <sys/stat.h>

#include <QFile>
#include <ostream>

#include "control/BatchList.h"

// In the entry's namespace, where GoogleTest finds it.
namespace control {

inline void PrintTo(const control::TBatchEntry& e, std::ostream* os) {
  *os << '{' << e.Name.toStdString() << ", " << e.Found.toStdString() << ", " << e.Done.toStdString() << ", "
      << (e.Checked ? "ticked" : "unticked") << '}';
}

}  // namespace control

inline control::TBatchEntry Entry(const QString& name, const QString& found, const QString& done, bool checked) {
  return control::TBatchEntry{name, found, done, checked};
}

inline ino_t Inode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}
