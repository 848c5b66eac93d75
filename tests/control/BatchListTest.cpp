#include "control/BatchList.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "BatchEntryPrint.h"
#include "common/QtPrint.h"

namespace {

BatchEntry Entry(const QString& name, const QString& found, const QString& done, bool checked) {
  return BatchEntry{name, found, done, checked};
}

class BatchListTest : public ::testing::Test {
 protected:
  QString Path() const { return BatchFilePath(dir_.path()); }
  void WriteText(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  QByteArray ReadText(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Touch(const QString& relative) {
    const QString path = dir_.filePath(relative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    WriteText("x", path);
  }

  QTemporaryDir dir_;
};

TEST_F(BatchListTest, LoadingGivesOneEntryPerSectionInFileOrderWithDefaults) {
  struct Case {
    const char* what;
    QByteArray text;
    QList<BatchEntry> expected;
  };
  const Case cases[] = {
      {"no keys", "[Alone]\n", {Entry("Alone", "0", "No", false)}},
      {"values as read, unchecked",
       "[B]\nDone=Yes\nFound=12\nChecked=Yes\n[A]\nFound=abc\nDone=maybe\n",
       {Entry("B", "12", "Yes", true), Entry("A", "abc", "maybe", false)}},
      {"ticked only for exactly Yes",
       "[L]\nChecked=yes\n[U]\nChecked=YES\n[T]\nChecked=Yes\n[N]\nChecked=No\n",
       {Entry("L", "0", "No", false), Entry("U", "0", "No", false), Entry("T", "0", "No", true),
        Entry("N", "0", "No", false)}},
      {"names as spelled, blanks around them dropped", "[  Sample O'Name ]\nChecked=Yes\n",
       {Entry("Sample O'Name", "0", "No", true)}},
      {"keys before any section belong to none", "Checked=Yes\n[X]\n", {Entry("X", "0", "No", false)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(c.text, Path());
    EXPECT_EQ(LoadBatchFile(Path()), c.expected);
  }
}

TEST_F(BatchListTest, AMissingOrUnusableFileLoadsAsAnEmptyList) {
  EXPECT_TRUE(LoadBatchFile(Path()).isEmpty());
  WriteText(QByteArray("[A]\n\0\xff", 6), Path());
  EXPECT_TRUE(LoadBatchFile(Path()).isEmpty());
  QFile::remove(Path());
  ASSERT_TRUE(QDir().mkdir(Path()));  // a folder where the file should be
  EXPECT_TRUE(LoadBatchFile(Path()).isEmpty());
  EXPECT_FALSE(SaveBatchFile(Path(), {Entry("A", "0", "No", true)}, BatchSave::Update));
  EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(BatchListTest, AFileWrittenFromScratchHoldsTheEntriesInListOrderAndTheKeysInTheirs) {
  ASSERT_TRUE(SaveBatchFile(Path(), {Entry("B", "0", "No", true), Entry("A", "7", "Yes", false)}, BatchSave::Update));
  EXPECT_EQ(ReadText(Path()), "[B]\nDone=No\nFound=0\nChecked=Yes\n\n\n[A]\nDone=Yes\nFound=7\nChecked=No\n");
}

TEST_F(BatchListTest, SavingUpdatesSectionsInPlaceAppendsNewOnesAndRemovesNone) {
  WriteText("; kept\n[Old]\nDone=Yes\n[A]\nChecked=Yes\nFound=1\n", Path());
  ASSERT_TRUE(SaveBatchFile(Path(), {Entry("New", "0", "No", true), Entry("a", "5", "Yes", false)}, BatchSave::Update));
  EXPECT_EQ(LoadBatchFile(Path()),
            (QList<BatchEntry>{Entry("Old", "0", "Yes", false), Entry("A", "5", "Yes", false),
                               Entry("New", "0", "No", true)}));
  EXPECT_TRUE(ReadText(Path()).startsWith("; kept\n"));
}

TEST_F(BatchListTest, EntriesOfOneNameShareASectionAndTheLaterOneWins) {
  const QList<BatchEntry> entries{Entry("Same", "3", "Yes", false), Entry("Other", "0", "No", true),
                                  Entry("SAME", "0", "No", true)};
  ASSERT_TRUE(SaveBatchFile(Path(), entries, BatchSave::Update));
  EXPECT_EQ(LoadBatchFile(Path()),
            (QList<BatchEntry>{Entry("Same", "0", "No", true), Entry("Other", "0", "No", true)}));
}

TEST_F(BatchListTest, FromScratchTheFileHoldsExactlyTheGivenEntries) {
  WriteText("[A]\nDone=No\n[B]\nDone=No\n[C]\nDone=Yes\nFound=4\nChecked=No\n", Path());
  ASSERT_TRUE(SaveBatchFile(Path(), {Entry("A", "0", "No", true), Entry("C", "4", "Yes", false)}, BatchSave::FromScratch));
  EXPECT_EQ(ReadText(Path()), "[A]\nDone=No\nFound=0\nChecked=Yes\n\n\n[C]\nDone=Yes\nFound=4\nChecked=No\n");
  ASSERT_TRUE(SaveBatchFile(Path(), {}, BatchSave::FromScratch));
  EXPECT_TRUE(LoadBatchFile(Path()).isEmpty());
}

TEST_F(BatchListTest, AFileThatIsNoIniTextIsKeptAsideBeforeItIsReplaced) {
  const QByteArray garbage("\0\1\2 not ours", 13);
  for (BatchSave mode : {BatchSave::Update, BatchSave::FromScratch}) {
    WriteText(garbage, Path());
    ASSERT_TRUE(SaveBatchFile(Path(), {Entry("A", "0", "No", true)}, mode));
    EXPECT_EQ(ReadText(Path() + ".bad"), garbage);
    EXPECT_EQ(LoadBatchFile(Path()), QList<BatchEntry>{Entry("A", "0", "No", true)});
  }
}

TEST_F(BatchListTest, AFileFromAWindowsEditorKeepsEveryEntryAndTheNextSaveWritesItAsUtf8) {
  const QList<BatchEntry> entries{Entry(QString::fromUtf8("Ren\xC3\xA9" "e Test"), "12", "Yes", false),
                                  Entry(QString::fromUtf8("Fran\xC3\xA7oise"), "3", "No", true),
                                  Entry("Plain", "0", "No", true)};
  QString text;
  for (const BatchEntry& e : entries)
    text += "[" + e.Name + "]\r\nDone=" + e.Done + "\r\nFound=" + e.Found + "\r\nChecked=" +
            (e.Checked ? "Yes" : "No") + "\r\n";
  QStringEncoder utf16(QStringConverter::Utf16LE);
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"Windows-1252", text.toLatin1()},  // these names are Latin-1, where Windows-1252 agrees
      {"UTF-16", "\xFF\xFE" + QByteArray(utf16.encode(text))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(c.bytes, Path());
    ASSERT_EQ(LoadBatchFile(Path()), entries);
    QList<BatchEntry> changed = entries;
    changed[2].Checked = false;
    ASSERT_TRUE(SaveBatchFile(Path(), changed, BatchSave::Update));
    EXPECT_FALSE(QFile::exists(Path() + ".bad"));
    const QByteArray saved = ReadText(Path());
    QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    EXPECT_EQ(QString(strict.decode(saved)),
              "[Ren\u00E9e Test]\nDone=Yes\nFound=12\nChecked=No\n\n\n"
              "[Fran\u00E7oise]\nDone=No\nFound=3\nChecked=Yes\n\n\n"
              "[Plain]\nDone=No\nFound=0\nChecked=No\n");
    EXPECT_FALSE(strict.hasError());
    EXPECT_EQ(LoadBatchFile(Path()), changed);
  }
}

TEST_F(BatchListTest, ASectionLineWithoutItsBracketNeitherMakesAnEntryNorGrowsTheFile) {
  WriteText("[A]\nDone=No\nFound=1\nChecked=Yes\n[Broken Name\nDone=Yes\nFound=9\n[B]\nDone=No\n", Path());
  const QList<BatchEntry> expected{Entry("A", "1", "No", true), Entry("B", "0", "No", false)};
  EXPECT_EQ(LoadBatchFile(Path()), expected);
  ASSERT_TRUE(SaveBatchFile(Path(), expected, BatchSave::Update));
  const QByteArray first = ReadText(Path());
  for (int save = 0; save < 3; ++save) {
    EXPECT_EQ(LoadBatchFile(Path()), expected);
    ASSERT_TRUE(SaveBatchFile(Path(), expected, BatchSave::Update));
    EXPECT_EQ(ReadText(Path()), first);
  }
}

TEST_F(BatchListTest, ANameTheFileCannotHoldIsLeftOutAndTheOthersAreSaved) {
  ASSERT_TRUE(SaveBatchFile(Path(), {Entry("A]B", "0", "No", true), Entry("   ", "0", "No", true), Entry("C", "0", "No", true)},
                            BatchSave::Update));
  EXPECT_EQ(LoadBatchFile(Path()), QList<BatchEntry>{Entry("C", "0", "No", true)});
}

TEST_F(BatchListTest, AnEntryShowsItsPreviewElseItsThumbnailElseNothing) {
  const QString dir = dir_.path();
  Touch("Wallpapers/Both/Preview.jpg");
  Touch("AllGirls/Both.jpg");
  Touch("AllGirls/Thumb Only.jpg");
  Touch("Wallpapers/Empty/1024x768/x.jpg");
  Touch("outside.jpg");
  struct Case {
    QString name, expected;
  };
  const Case cases[] = {
      {"Both", dir + "/Wallpapers/Both/Preview.jpg"},
      {"Thumb Only", dir + "/AllGirls/Thumb Only.jpg"},
      {"Empty", ""},
      {"Nobody", ""},
      {"../outside", ""},  // neither folder may be left
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    EXPECT_EQ(EntryPicture(dir, c.name), c.expected);
  }
}

}  // namespace
