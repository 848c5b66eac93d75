#include "control/FolderLock.h"

#include "download/DiskLayout.h"
#include "download/FileStore.h"

namespace control {

namespace {

TFolderLock::TState Take(QLockFile& lock) {
  // A copy runs for hours: a lock is never stale by its age, only when the
  // process that wrote it is gone (QLockFile checks its pid on this host).
  lock.setStaleLockTime(0);
  if (lock.tryLock(0)) return TFolderLock::TState::Held;
  return lock.error() == QLockFile::LockFailedError ? TFolderLock::TState::HeldByAnother
                                                    : TFolderLock::TState::Unavailable;
}

}  // namespace

TFolderLock::TFolderLock(const QString& dir) : Dir_(dir), Lock_(download::LockFilePath(dir)), State_(Take(Lock_)) {}

std::optional<TFolderLock::THolder> TFolderLock::Holder() const {
  THolder holder;
  if (State_ != TState::HeldByAnother || !Lock_.getLockInfo(&holder.Pid, &holder.Host, &holder.Program))
    return std::nullopt;
  return holder;
}

QString TFolderLock::AnotherCopyMessage() const {
  const std::optional<THolder> holder = Holder();
  const QString who = holder ? QStringLiteral(" (process %1 on %2)").arg(holder->Pid).arg(holder->Host) : QString();
  return "Another copy of the program is already working in the folder \"" + Dir_ + "\"" + who +
         ".\nTwo copies in one folder would overwrite each other's Settings.ini and Batch.ini, so this one "
         "closes. Use the copy that is open, or start this one in another folder.";
}

void TFolderLock::RemoveLeftovers() const {
  if (State_ != TState::Held) return;
  download::RemoveLeftoverTemporaries(Dir_);
  download::RemoveLeftoverTemporaries(download::AllGirlsFolder(Dir_));
}

}  // namespace control
