#include "control/BatchList.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "control/BatchEntryPrint.h"
#include "common/QtPrint.h"

namespace {

class BatchListTest : public ::testing::Test {
 protected:
  QString Path() const { return download::BatchFilePath(dir_.path()); }
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
    QList<control::TBatchEntry> expected;
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
    EXPECT_EQ(control::LoadBatchFile(Path()), c.expected);
  }
}

TEST_F(BatchListTest, AMissingOrUnusableFileLoadsAsAnEmptyList) {
  EXPECT_TRUE(control::LoadBatchFile(Path()).isEmpty());
  WriteText(QByteArray("[A]\n\0\xff", 6), Path());
  EXPECT_TRUE(control::LoadBatchFile(Path()).isEmpty());
  QFile::remove(Path());
  ASSERT_TRUE(QDir().mkdir(Path()));  // a folder where the file should be
  EXPECT_TRUE(control::LoadBatchFile(Path()).isEmpty());
  EXPECT_FALSE(control::TBatchFile(Path()).Save({Entry("A", "0", "No", true)}, control::TBatchSave::Update));
  EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(BatchListTest, AFileWrittenFromScratchHoldsTheEntriesInListOrderAndTheKeysInTheirs) {
  ASSERT_TRUE(control::TBatchFile(Path()).Save({Entry("B", "0", "No", true), Entry("A", "7", "Yes", false)}, control::TBatchSave::Update));
  EXPECT_EQ(ReadText(Path()), "[B]\nDone=No\nFound=0\nChecked=Yes\n\n\n[A]\nDone=Yes\nFound=7\nChecked=No\n");
}

TEST_F(BatchListTest, SavingUpdatesSectionsInPlaceAppendsNewOnesAndRemovesNone) {
  WriteText("; kept\n[Old]\nDone=Yes\n[A]\nChecked=Yes\nFound=1\n", Path());
  ASSERT_TRUE(control::TBatchFile(Path()).Save({Entry("New", "0", "No", true), Entry("a", "5", "Yes", false)}, control::TBatchSave::Update));
  EXPECT_EQ(control::LoadBatchFile(Path()),
            (QList<control::TBatchEntry>{Entry("Old", "0", "Yes", false), Entry("A", "5", "Yes", false),
                               Entry("New", "0", "No", true)}));
  EXPECT_TRUE(ReadText(Path()).startsWith("; kept\n"));
}

TEST_F(BatchListTest, EntriesOfOneNameShareASectionAndTheLaterOneWins) {
  const QList<control::TBatchEntry> entries{Entry("Same", "3", "Yes", false), Entry("Other", "0", "No", true),
                                  Entry("SAME", "0", "No", true)};
  ASSERT_TRUE(control::TBatchFile(Path()).Save(entries, control::TBatchSave::Update));
  EXPECT_EQ(control::LoadBatchFile(Path()),
            (QList<control::TBatchEntry>{Entry("Same", "0", "No", true), Entry("Other", "0", "No", true)}));
}

TEST_F(BatchListTest, FromScratchTheFileHoldsExactlyTheGivenEntries) {
  WriteText("[A]\nDone=No\n[B]\nDone=No\n[C]\nDone=Yes\nFound=4\nChecked=No\n", Path());
  ASSERT_TRUE(control::TBatchFile(Path()).Save({Entry("A", "0", "No", true), Entry("C", "4", "Yes", false)}, control::TBatchSave::FromScratch));
  EXPECT_EQ(ReadText(Path()), "[A]\nDone=No\nFound=0\nChecked=Yes\n\n\n[C]\nDone=Yes\nFound=4\nChecked=No\n");
  ASSERT_TRUE(control::TBatchFile(Path()).Save({}, control::TBatchSave::FromScratch));
  EXPECT_TRUE(control::LoadBatchFile(Path()).isEmpty());
}

TEST_F(BatchListTest, AFileThatIsNoIniTextIsKeptAsideBeforeItIsReplaced) {
  const QByteArray garbage("\0\1\2 not ours", 13);
  for (control::TBatchSave mode : {control::TBatchSave::Update, control::TBatchSave::FromScratch}) {
    WriteText(garbage, Path());
    ASSERT_TRUE(control::TBatchFile(Path()).Save({Entry("A", "0", "No", true)}, mode));
    EXPECT_EQ(ReadText(Path() + ".bad"), garbage);
    EXPECT_EQ(control::LoadBatchFile(Path()), QList<control::TBatchEntry>{Entry("A", "0", "No", true)});
  }
}

TEST_F(BatchListTest, AFileFromAWindowsEditorKeepsEveryEntryAndTheNextSaveWritesItAsUtf8) {
  const QList<control::TBatchEntry> entries{Entry(QString::fromUtf8("Ren\xC3\xA9" "e Test"), "12", "Yes", false),
                                  Entry(QString::fromUtf8("Fran\xC3\xA7oise"), "3", "No", true),
                                  Entry("Plain", "0", "No", true)};
  QString text;
  for (const control::TBatchEntry& e : entries)
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
    ASSERT_EQ(control::LoadBatchFile(Path()), entries);
    QList<control::TBatchEntry> changed = entries;
    changed[2].Checked = false;
    ASSERT_TRUE(control::TBatchFile(Path()).Save(changed, control::TBatchSave::Update));
    EXPECT_FALSE(QFile::exists(Path() + ".bad"));
    const QByteArray saved = ReadText(Path());
    QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    EXPECT_EQ(QString(strict.decode(saved)),
              "[Ren\u00E9e Test]\nDone=Yes\nFound=12\nChecked=No\n\n\n"
              "[Fran\u00E7oise]\nDone=No\nFound=3\nChecked=Yes\n\n\n"
              "[Plain]\nDone=No\nFound=0\nChecked=No\n");
    EXPECT_FALSE(strict.hasError());
    EXPECT_EQ(control::LoadBatchFile(Path()), changed);
  }
}

TEST_F(BatchListTest, ASectionLineWithoutItsBracketNeitherMakesAnEntryNorGrowsTheFile) {
  WriteText("[A]\nDone=No\nFound=1\nChecked=Yes\n[Broken Name\nDone=Yes\nFound=9\n[B]\nDone=No\n", Path());
  const QList<control::TBatchEntry> expected{Entry("A", "1", "No", true), Entry("B", "0", "No", false)};
  EXPECT_EQ(control::LoadBatchFile(Path()), expected);
  ASSERT_TRUE(control::TBatchFile(Path()).Save(expected, control::TBatchSave::Update));
  const QByteArray first = ReadText(Path());
  for (int save = 0; save < 3; ++save) {
    EXPECT_EQ(control::LoadBatchFile(Path()), expected);
    ASSERT_TRUE(control::TBatchFile(Path()).Save(expected, control::TBatchSave::Update));
    EXPECT_EQ(ReadText(Path()), first);
  }
}

TEST_F(BatchListTest, ANameTheFileCannotHoldIsLeftOutAndTheOthersAreSaved) {
  ASSERT_TRUE(control::TBatchFile(Path()).Save(
      {Entry("A]B", "0", "No", true), Entry("   ", "0", "No", true), Entry("C", "0", "No", true)}, control::TBatchSave::Update));
  EXPECT_EQ(control::LoadBatchFile(Path()), QList<control::TBatchEntry>{Entry("C", "0", "No", true)});
}

// Every write puts a new file in place, so an unchanged inode means nothing was written.
TEST_F(BatchListTest, AnUpdateWithTheListAsTheFileHoldsItWritesNothing) {
  WriteText("[A]\nDone=No\nFound=0\nChecked=Yes\n[B]\nChecked=No\n", Path());
  control::TBatchFile file(Path());
  QList<control::TBatchEntry> entries = file.Load();
  const ino_t loaded = Inode(Path());
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  EXPECT_EQ(Inode(Path()), loaded);
  entries[1].Checked = true;
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  const ino_t changed = Inode(Path());
  EXPECT_NE(changed, loaded);
  EXPECT_EQ(control::LoadBatchFile(Path()), entries);
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  EXPECT_EQ(Inode(Path()), changed);
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::FromScratch));  // always written afresh
  EXPECT_NE(Inode(Path()), changed);
}

// A file kept across saves writes only the changed entries' sections; the
// file must end as a save that reads it first and writes every entry leaves
// it, whatever the edits, names that share a section included.
TEST_F(BatchListTest, WritingOnlyWhatChangedEndsAsWritingEverything) {
  const QString other = dir_.filePath("Other.ini");
  const QStringList names{"Ann", "ANN", "Bea", QString::fromUtf8("\xC3\x91" "andu"), QString::fromUtf8("\xC3\xB1" "andu"), "Cy"};
  control::TBatchFile kept(Path());
  kept.Load();
  QList<control::TBatchEntry> entries;
  std::uint32_t seed = 12345;
  auto next = [&](std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  };
  for (int step = 0; step < 300; ++step) {
    SCOPED_TRACE(step);
    const std::uint32_t op = next(10);
    if (entries.isEmpty() || op < 3) {
      entries << Entry(names[next(names.size())], "0", "No", true);
    } else {
      control::TBatchEntry& entry = entries[next(entries.size())];
      if (op < 6) entry.Checked = !entry.Checked;
      else if (op < 8) entry.Found = QString::number(next(100));
      else if (op < 9) entry.Done = entry.Done == "Yes" ? "No" : "Yes";
      else for (int i = 0; i < 6; ++i) entries[next(entries.size())].Checked = next(2);  // many at once
    }
    const control::TBatchSave mode = next(20) == 0 ? control::TBatchSave::FromScratch : control::TBatchSave::Update;
    ASSERT_TRUE(kept.Save(entries, mode));
    ASSERT_TRUE(control::TBatchFile(other).Save(entries, mode));
    ASSERT_EQ(ReadText(Path()), ReadText(other));
  }
  EXPECT_EQ(control::LoadBatchFile(Path()), control::LoadBatchFile(other));
}

TEST_F(BatchListTest, WhatTheProgramDoesNotWriteSurvivesTheSavesOfAKeptFile) {
  WriteText("; my notes\n[A]\nNote=keep me\nDone=No\nChecked=Yes\n[B]\nChecked=No\n", Path());
  control::TBatchFile file(Path());
  QList<control::TBatchEntry> entries = file.Load();
  entries[1].Checked = true;
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  entries[0].Found = "4";
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  const QByteArray text = ReadText(Path());
  EXPECT_TRUE(text.startsWith("; my notes\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("Note=keep me\n")) << text.toStdString();
  EXPECT_EQ(control::LoadBatchFile(Path()), entries);
}

// A hand edit made while the program holds the file is read before the next
// write: the sections the list does not hold survive, and the list's entries
// are written as the list has them. A save that changes nothing writes nothing.
TEST_F(BatchListTest, AFileEditedByHandMeanwhileIsReadAgainBeforeTheNextWrite) {
  WriteText("[A]\nDone=No\nChecked=Yes\n[B]\nChecked=No\n", Path());
  control::TBatchFile file(Path());
  QList<control::TBatchEntry> entries = file.Load();
  const QByteArray edited = "[A]\nDone=No\nChecked=Yes\n[B]\nChecked=No\n[Hand Added]\nChecked=Yes\n";
  WriteText(edited, Path());
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  EXPECT_EQ(ReadText(Path()), edited) << "an unchanged list writes nothing";
  entries[1].Checked = true;
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::Update));
  EXPECT_EQ(control::LoadBatchFile(Path()), (QList<control::TBatchEntry>{entries[0], entries[1],
                                                                       Entry("Hand Added", "0", "No", true)}));
}

// After a failed write the file is read again: what it holds is no longer known.
TEST_F(BatchListTest, AfterAFailedSaveTheNextSaveWritesWhateverItsList) {
  control::TBatchFile file(Path());
  file.Load();
  const QList<control::TBatchEntry> first{Entry("A", "0", "No", true)};
  ASSERT_TRUE(file.Save(first, control::TBatchSave::Update));
  ASSERT_TRUE(QFile::remove(Path()));
  ASSERT_TRUE(QDir().mkpath(Path() + "/in the way"));  // a folder the new file cannot replace
  EXPECT_FALSE(file.Save({Entry("A", "0", "No", false)}, control::TBatchSave::Update));
  ASSERT_TRUE(QDir(Path()).removeRecursively());
  ASSERT_TRUE(file.Save(first, control::TBatchSave::Update));  // the list as last saved, but the file is gone
  EXPECT_EQ(control::LoadBatchFile(Path()), first);
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
    EXPECT_EQ(control::EntryPicture(dir, c.name), c.expected);
  }
}

}  // namespace
