// One copy of the program per working folder, through the lock file there.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <memory>

#include "common/QtPrint.h"
#include "control/FolderLock.h"
#include "download/DiskLayout.h"

namespace control {
namespace {

using TState = TFolderLock::TState;

TEST(FolderLock, TheSecondCopyInAFolderFindsTheFirstAndItsFolderFreeOnceItHasGone) {
  QTemporaryDir dir, other;
  auto first = std::make_unique<TFolderLock>(dir.path());
  ASSERT_EQ(first->State(), TState::Held);
  EXPECT_TRUE(QFile::exists(download::LockFilePath(dir.path())));

  const TFolderLock second(dir.path());
  EXPECT_EQ(second.State(), TState::HeldByAnother);
  const auto holder = second.Holder();
  ASSERT_TRUE(holder);
  EXPECT_EQ(holder->Pid, QCoreApplication::applicationPid());
  EXPECT_TRUE(second.AnotherCopyMessage().startsWith("Another copy of the program is already working in the folder \"" +
                                                     dir.path() + "\" (process " + QString::number(holder->Pid)));
  EXPECT_FALSE(first->Holder()) << "the holder itself has no other holder";

  EXPECT_EQ(TFolderLock(other.path()).State(), TState::Held) << "another folder is another lock";

  first.reset();
  EXPECT_FALSE(QFile::exists(download::LockFilePath(dir.path())));
  EXPECT_EQ(TFolderLock(dir.path()).State(), TState::Held);
}

TEST(FolderLock, TheLockOfACopyThatDiedIsTakenOver) {
  QTemporaryDir dir;
  // A real copy that took the lock and died without releasing it.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    QLockFile lock(download::LockFilePath(dir.path()));
    _exit(lock.tryLock(0) ? 0 : 1);  // no destructor: the file stays
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFile::exists(download::LockFilePath(dir.path())));

  const TFolderLock lock(dir.path());
  EXPECT_EQ(lock.State(), TState::Held);
  EXPECT_EQ(TFolderLock(dir.path()).State(), TState::HeldByAnother) << "and it is held now";
}

// A copy killed while saving leaves its temporary files; the next copy to
// hold the lock takes them away, and a copy that finds the folder taken
// touches nothing, since those files may be the other copy's saves at work.
TEST(FolderLock, TheHolderRemovesWhatAKilledCopyLeftHalfSaved) {
  QTemporaryDir dir;
  const QString allGirls = download::AllGirlsFolder(dir.path());
  ASSERT_TRUE(QDir().mkpath(allGirls));
  const QStringList leftovers{dir.filePath(".Settings.ini.ostrana-a1B2c3"), dir.filePath(".Batch.ini.ostrana-Zz9y8X"),
                              allGirls + "/.Ann.jpg.ostrana-000000"};
  const QStringList kept{dir.filePath("Settings.ini"), dir.filePath(".Settings.ini.ostrana-short"),
                         allGirls + "/Ann.jpg"};
  for (const QString& path : leftovers + kept) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  }
  auto first = std::make_unique<TFolderLock>(dir.path());
  ASSERT_EQ(first->State(), TState::Held);
  TFolderLock(dir.path()).RemoveLeftovers();
  for (const QString& path : leftovers) EXPECT_TRUE(QFile::exists(path)) << "another copy's: " << path.toStdString();
  first->RemoveLeftovers();
  for (const QString& path : leftovers) EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
  for (const QString& path : kept) EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

TEST(FolderLock, AFolderWithoutRoomForTheLockIsSaidApartFromAnotherCopy) {
  QTemporaryDir dir;
  QFile file(dir.filePath("plain-file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  for (const QString& where : {dir.filePath("missing"), dir.filePath("plain-file")}) {
    const TFolderLock lock(where);
    EXPECT_EQ(lock.State(), TState::Unavailable) << where.toStdString();
    EXPECT_FALSE(lock.Holder());
  }
}

}  // namespace
}  // namespace control
