// Where a name's files lie: one folder or file name per name, whatever the
// name holds, and never outside its base folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/QtPrint.h"
#include "download/DiskLayout.h"

namespace {

const QString kSlashStandIn = QString(QChar(0x2215));

TEST(DiskLayout, ANameIsOneFolderAndOneFileNamePart) {
  const QString dir = "/work/x";
  const QString longest = QString(download::kMaxFileNameBytes, 'n');
  const struct {
    QString Name;
    QString Part;  // empty: no folder
  } cases[] = {
      {"Sample Name", "Sample Name"},
      {"Sample O'Name", "Sample O'Name"},
      {"   ", "   "},
      {"Ann/Bee", "Ann" + kSlashStandIn + "Bee"},
      {"Ann /Bee", "Ann " + kSlashStandIn + "Bee"},
      {"/etc", kSlashStandIn + "etc"},
      {"../x", ".." + kSlashStandIn + "x"},
      {"a/../../x", "a" + kSlashStandIn + ".." + kSlashStandIn + ".." + kSlashStandIn + "x"},
      {"...", "..."},
      {longest, longest},
      {"..", ""},
      {".", ""},
      {"", ""},
      {"a" + QString(QChar(0)) + "b", ""},
      // A stand-in of its own would come back as "/", and "AC∕DC" and "AC/DC"
      // would share one folder.
      {"AC" + kSlashStandIn + "DC", ""},
      {"a/b" + kSlashStandIn + "c", ""},
      {longest + "n", ""},
      {QString(128, QChar(0x00E9)), ""},  // 256 bytes of UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name.toStdString());
    const auto folder = download::NameFolder(dir, c.Name);
    if (c.Part.isEmpty()) {
      EXPECT_FALSE(folder);
      continue;
    }
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, dir + "/Wallpapers/" + c.Part);
    EXPECT_EQ(download::NameFromPart(c.Part), c.Name);
    EXPECT_EQ(download::WallpaperFile(*folder, "1280x1024", c.Name, "41237"), *folder + "/1280x1024/" + c.Part + " (41237).jpg");
    EXPECT_EQ(download::PreviewFileOf(dir, c.Name), *folder + "/Preview.jpg");
  }
}

TEST(DiskLayout, ThumbnailsFollowTheSameRule) {
  EXPECT_EQ(download::ThumbnailPath("/w", "Sample O'Name"), QStringLiteral("/w/AllGirls/Sample O'Name.jpg"));
  EXPECT_EQ(download::ThumbnailPath("/w", "Ann/Bee"), "/w/AllGirls/Ann" + kSlashStandIn + "Bee.jpg");
  EXPECT_EQ(download::ThumbnailPath("/w", ".."), QStringLiteral("/w/AllGirls/...jpg"));  // one file name still
  EXPECT_EQ(download::ThumbnailPath("/w", ""), QStringLiteral("/w/AllGirls/.jpg"));
  EXPECT_EQ(download::ThumbnailPath("/w", "a" + QString(QChar(0)) + "b"), std::nullopt);
  EXPECT_EQ(download::ThumbnailPath("/w", "AC" + kSlashStandIn + "DC"), std::nullopt);
  EXPECT_TRUE(download::ThumbnailPath("/w", QString(download::kMaxFileNameBytes - 4, 'n')));
  EXPECT_EQ(download::ThumbnailPath("/w", QString(download::kMaxFileNameBytes - 3, 'n')), std::nullopt);
}

TEST(DiskLayout, ThumbnailCaptionsFromTheFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  EXPECT_TRUE(download::ThumbnailCaptions(dir.path()).isEmpty());  // no AllGirls at all
  ASSERT_TRUE(QDir(dir.path()).mkdir("AllGirls"));
  for (const QString& name : {QStringLiteral("A.jpg"), QStringLiteral("B.jpg"), QStringLiteral("notes.txt"),
                              QStringLiteral("C.jpg.bak"), QStringLiteral("D.JPG"), QStringLiteral("E.jpeg"),
                              "Ann" + kSlashStandIn + "Bee.jpg"}) {
    QFile f(dir.path() + "/AllGirls/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(QDir(dir.path()).mkdir("AllGirls/Folder.jpg"));  // folders count too
  QStringList captions = download::ThumbnailCaptions(dir.path());
  captions.sort();
  EXPECT_EQ(captions, QStringList({"A", "Ann/Bee", "B", "C.jpg", "Folder"}));
}

}  // namespace
