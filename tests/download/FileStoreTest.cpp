// Writing files beside their targets and renaming them over: what is left on
// disk after a success, a failure and a kill.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "common/QtPrint.h"
#include "download/FileStore.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(WriteFileAtomically, ReplacesWholeAndLeavesNoTemporaryFile) {
  QTemporaryDir tmp;
  const QString path = tmp.filePath("a.jpg");
  ASSERT_TRUE(download::WriteFileAtomically(path, "first, longer content"));
  ASSERT_TRUE(download::WriteFileAtomically(path, "second"));
  EXPECT_EQ(Contents(path), "second");
  EXPECT_EQ(Entries(tmp.path()), QStringList{"a.jpg"});

  ASSERT_TRUE(download::CopyFileAtomically(path, tmp.filePath("Preview.jpg")));
  EXPECT_EQ(Contents(tmp.filePath("Preview.jpg")), "second");
}

// The temporary file's name repeats the target's, yet must fit the file
// system's limit on names even when the target's own name is at it.
TEST(WriteFileAtomically, TakesNamesAtTheFileSystemsLimit) {
  QTemporaryDir tmp;
  const QString accented = QString(127, QChar(0xE9)) + "a";  // 255 bytes in UTF-8
  const QString emoji = QString(63, 'x') + QStringLiteral(u"\U0001F600").repeated(48);  // 63 + 4 * 48 bytes
  for (const QString& name : {QString(251, 'n') + ".jpg", accented, emoji}) {
    ASSERT_EQ(QFile::encodeName(name).size(), 255);
    const QString path = tmp.filePath(name);
    ASSERT_TRUE(download::WriteFileAtomically(path, "whole")) << name.toStdString();
    EXPECT_EQ(Contents(path), "whole");
    EXPECT_EQ(Entries(tmp.path()), QStringList{name});
    ASSERT_TRUE(QFile::remove(path));
  }
}

TEST(WriteFileAtomically, AFailureSaysWhyAndLeavesTheOldFileAndNoTemporary) {
  QTemporaryDir tmp;
  ASSERT_TRUE(download::WriteFileAtomically(tmp.filePath("blocker"), "x"));
  const struct {
    const char* Name;
    QString Path;
    int Error;
    bool StopsEveryWrite;
  } cases[] = {
      {"missing folder", tmp.filePath("missing/a.jpg"), ENOENT, true},
      // A file where a folder should be fails for every user, root included.
      {"file in place of the folder", tmp.filePath("blocker/a.jpg"), ENOTDIR, true},
      {"name too long", tmp.filePath(QString(300, 'n') + ".jpg"), ENAMETOOLONG, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const download::TWriteResult result = download::WriteFileAtomically(c.Path, "x");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.Error, c.Error);
    EXPECT_EQ(result.Path, c.Path);
    EXPECT_EQ(result.StopsEveryWrite(), c.StopsEveryWrite);
    EXPECT_EQ(result.Describe(), c.Path + ": " + result.Reason());
  }
  const download::TWriteResult copy = download::CopyFileAtomically(tmp.filePath("absent.jpg"), tmp.filePath("b.jpg"));
  EXPECT_EQ(copy.Error, ENOENT);
  EXPECT_EQ(copy.Path, tmp.filePath("absent.jpg"));
  EXPECT_FALSE(copy.StopsEveryWrite()) << "a missing source says nothing of the folder";
  EXPECT_EQ(Entries(tmp.path()), QStringList{"blocker"});
}

TEST(StagedFile, IsRemovedUnlessCommitted) {
  QTemporaryDir tmp;
  const QString path = tmp.filePath("a.jpg");
  ASSERT_TRUE(download::WriteFileAtomically(path, "old"));
  {
    download::TStagedFile staged(path, "new");
    ASSERT_TRUE(staged.Staged());
    ASSERT_EQ(Entries(tmp.path()).size(), 2);
  }
  EXPECT_EQ(Contents(path), "old");
  EXPECT_EQ(Entries(tmp.path()), QStringList{"a.jpg"});
}

// A process killed between writing and renaming leaves its temporary file;
// the next run removes those of our own pattern and nothing else.
TEST(RemoveLeftoverTemporaries, RemovesOnlyOurOwnPattern) {
  QTemporaryDir tmp;
  const QStringList ours{".Ann (1).jpg.ostrana-a1B2c3", ".Preview.jpg.ostrana-000000"};
  const QStringList others{"Ann (1).jpg",           ".Ann (1).jpg.ostrana-a1B2c",  "Ann (1).jpg.ostrana-a1B2c3",
                           ".ostrana-a1B2c3",       ".Ann (1).jpg.ostrana-a1B2c34", ".Ann (1).jpg.a1B2c3",
                           ".x.ostrana-a1B2c3.jpg"};
  for (const QString& name : ours + others) ASSERT_TRUE(download::WriteFileAtomically(tmp.filePath(name), "x"));
  for (const QString& name : ours) EXPECT_TRUE(download::IsTemporaryFileName(name)) << name.toStdString();
  for (const QString& name : others) EXPECT_FALSE(download::IsTemporaryFileName(name)) << name.toStdString();
  EXPECT_EQ(download::RemoveLeftoverTemporaries(tmp.path()), 2);
  QStringList left = others;
  left.sort();
  EXPECT_EQ(Entries(tmp.path()), left);
}

TEST(MakeFolder, MakesEveryMissingFolderOrSaysWhyNot) {
  QTemporaryDir tmp;
  EXPECT_TRUE(download::MakeFolder(tmp.filePath("a/b/c")));
  EXPECT_TRUE(QDir(tmp.filePath("a/b/c")).exists());
  EXPECT_TRUE(download::MakeFolder(tmp.filePath("a/b/c")));
  ASSERT_TRUE(download::WriteFileAtomically(tmp.filePath("file"), "x"));
  const download::TWriteResult blocked = download::MakeFolder(tmp.filePath("file/sub"));
  EXPECT_EQ(blocked.Error, ENOTDIR);
  EXPECT_EQ(download::MakeFolder(tmp.filePath("file")).Error, ENOTDIR);
}

}  // namespace
