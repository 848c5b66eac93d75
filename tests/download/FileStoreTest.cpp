#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "download/FileStore.h"

namespace {

TEST(NameFolder, StaysInsideTheWallpapersFolder) {
  const QString dir = "/work/x";
  struct {
    QString name;
    bool accepted;
  } cases[] = {
      {"Sample Name", true}, {"Sample O'Name", true}, {"   ", true},  {"Ann /Bee", true},
      {"/etc", false},       {"..", false},           {"../x", false}, {"a/../../x", false},
      {"a/..", false},       {"", false},             {"...", true},
  };
  for (const auto& c : cases) {
    const auto folder = NameFolder(dir, c.name);
    EXPECT_EQ(folder.has_value(), c.accepted) << c.name.toStdString();
    if (folder) {
      EXPECT_EQ(*folder, dir + "/Wallpapers/" + c.name);
    }
  }
}

TEST(WriteFileAtomically, ReplacesWholeAndLeavesNoTemporaryFile) {
  QTemporaryDir tmp;
  const QString path = tmp.filePath("a.jpg");
  ASSERT_TRUE(WriteFileAtomically(path, "first, longer content"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "second");
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"a.jpg"});

  ASSERT_TRUE(CopyFileAtomically(path, tmp.filePath("Preview.jpg")));
  QFile copy(tmp.filePath("Preview.jpg"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), "second");
}

TEST(WriteFileAtomically, FailsInAFolderThatCannotBeWrittenOrDoesNotExist) {
  QTemporaryDir tmp;
  EXPECT_FALSE(WriteFileAtomically(tmp.filePath("missing/a.jpg"), "x"));
  EXPECT_FALSE(CopyFileAtomically(tmp.filePath("absent.jpg"), tmp.filePath("b.jpg")));
  // A file where a folder should be: fails for every user, root included.
  ASSERT_TRUE(WriteFileAtomically(tmp.filePath("blocker"), "x"));
  EXPECT_FALSE(WriteFileAtomically(tmp.filePath("blocker/a.jpg"), "x"));
}

}  // namespace
