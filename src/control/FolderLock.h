#pragma once
// One copy of the program per working folder. Two copies in one folder would
// overwrite each other's Settings.ini and Batch.ini, so the first takes a lock
// file there and a second finds it taken and leaves the folder alone. A lock
// left by a copy that died (on this machine) is taken over. The window and a
// command line take the same lock.

#include <QLockFile>
#include <QString>
#include <optional>

namespace control {

class TFolderLock {
 public:
  enum class TState {
    Held,           // this copy works in the folder; released when the object goes
    HeldByAnother,  // a live copy works there
    Unavailable,    // no lock file can be made there (a read-only folder, ...)
  };

  struct THolder {
    qint64 Pid = 0;
    QString Host;
    QString Program;
  };

  // Tries to take the lock of `dir` at once, without waiting.
  explicit TFolderLock(const QString& dir);
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

  TState State() const { return State_; }
  // The copy that holds the lock, when State() is HeldByAnother and it can be told.
  std::optional<THolder> Holder() const;
  // What a second copy says before it ends.
  QString AnotherCopyMessage() const;
  // While the lock is held, no other copy is saving here, so the temporary
  // files of the folder's own files (Settings.ini, Batch.ini) and of AllGirls/
  // are leftovers of a copy that was killed: they go. Those in a name's
  // wallpaper folders go when that name runs again.
  void RemoveLeftovers() const;

 private:
  QString Dir_;
  QLockFile Lock_;
  TState State_;
};

}  // namespace control
