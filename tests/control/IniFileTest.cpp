#include "control/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/QtPrint.h"

namespace {

using Status = IniFile::LoadStatus;

class IniFileTest : public ::testing::Test {
 protected:
  QString Path(const QString& name = QStringLiteral("Settings.ini")) const {
    return dir_.filePath(name);
  }
  void WriteBytes(const QByteArray& bytes, const QString& name = QStringLiteral("Settings.ini")) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  QByteArray ReadBytes(const QString& name = QStringLiteral("Settings.ini")) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Loads `bytes` as the file's contents.
  IniFile LoadText(const QByteArray& bytes) {
    WriteBytes(bytes);
    IniFile ini;
    EXPECT_EQ(ini.Load(Path()), Status::Loaded);
    return ini;
  }
  // What `ini` writes to disk.
  QString SavedText(const IniFile& ini) {
    EXPECT_TRUE(ini.Save(Path()));
    return QString::fromUtf8(ReadBytes());
  }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  QTemporaryDir dir_;
};

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCaseOrOuterBlanks) {
  struct Case {
    QString section, key, sectionAsRead, keyAsRead;
  };
  const Case cases[] = {
      {"Last Session", "Name", "last session", "NAME"},
      {"Ñandu Test", "Done", "ñANDU tEST", "done"},
      {"Sample O'Name", "Found", "  SAMPLE O'NAME\t", " found "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section.toStdString());
    IniFile ini;
    ASSERT_TRUE(ini.WriteString(c.section, c.key, "value"));
    EXPECT_EQ(ini.ReadString(c.sectionAsRead, c.keyAsRead, "default"), "value");
    ASSERT_TRUE(ini.Save(Path()));
    IniFile reloaded;
    ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
    EXPECT_EQ(reloaded.ReadString(c.sectionAsRead, c.keyAsRead, "default"), "value");
    // Writing under another spelling updates the one entry, keeping the first spelling.
    ASSERT_TRUE(reloaded.WriteString(c.sectionAsRead, c.keyAsRead, "new"));
    EXPECT_EQ(reloaded.ReadSections(), QStringList{c.section});
    EXPECT_EQ(SavedText(reloaded), "[" + c.section + "]\n" + c.key + "=new\n");
  }
}

TEST_F(IniFileTest, PlacesAreKeptAndNewEntriesAppended) {
  IniFile ini = LoadText("[B]\nx=1\ny=2\n\n[A]\nz=3\n");
  ASSERT_TRUE(ini.WriteString("A", "new", "4"));
  ASSERT_TRUE(ini.WriteString("b", "Y", "5"));
  ASSERT_TRUE(ini.WriteString("C", "k", "6"));
  EXPECT_EQ(ini.ReadSections(), (QStringList{"B", "A", "C"}));
  EXPECT_EQ(SavedText(ini), "[B]\nx=1\ny=5\n\n\n[A]\nz=3\nnew=4\n\n\n[C]\nk=6\n");
}

TEST_F(IniFileTest, ClearedFileHoldsExactlyWhatIsWrittenAfterwards) {
  IniFile ini = LoadText("; old list\n[Gone]\nDone=Yes\n\n[Kept]\nDone=No\n");
  ini.Clear();
  EXPECT_TRUE(ini.ReadSections().isEmpty());
  for (const char* name : {"Kept", "Second"}) {
    ASSERT_TRUE(ini.WriteString(name, "Done", "No"));
    ASSERT_TRUE(ini.WriteString(name, "Found", "0"));
    ASSERT_TRUE(ini.WriteString(name, "Checked", "Yes"));
  }
  EXPECT_EQ(SavedText(ini),
            "[Kept]\nDone=No\nFound=0\nChecked=Yes\n\n\n[Second]\nDone=No\nFound=0\nChecked=Yes\n");
}

TEST_F(IniFileTest, MissingKeyReadsAsTheDefault) {
  const IniFile ini = LoadText("[Last Session]\nName=\nThreads=12\n\n[Empty]\n");
  struct Case {
    QString section, key, expected;
  };
  const Case cases[] = {
      {"Last Session", "Threads", "12"},
      {"Last Session", "1024x768", "default"},
      {"Other", "Threads", "default"},
      {"Empty", "Threads", "default"},
      {"Last Session", "Name", ""},  // present but empty is not missing
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected)
        << c.section.toStdString() << "/" << c.key.toStdString();
  EXPECT_EQ(ini.ReadSections(), (QStringList{"Last Session", "Empty"}));
}

TEST_F(IniFileTest, EverythingNotWrittenSurvivesASave) {
  IniFile ini = LoadText(
      "; written by hand\n"
      "\n"
      "stray=before any section\n"
      "[Site]\n"
      "MainSiteUrl=http://127.0.0.1:8080\n"
      "ImageHostUrl=http://127.0.0.1:8081/\n"
      "; someone else's\n"
      "[Foreign]\n"
      "Key=Value with = and ; inside\n"
      "\n"
      "[Last Session]\n"
      "; the name last used\n"
      "Name=Old\n"
      "Unknown=kept\n");
  EXPECT_EQ(ini.ReadSections(), (QStringList{"Site", "Foreign", "Last Session"}));
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  ASSERT_TRUE(ini.WriteString("Last Session", "Threads", "10"));
  EXPECT_EQ(SavedText(ini),
            "; written by hand\n"
            "\n\n"
            "stray=before any section\n"
            "\n\n"
            "[Site]\n"
            "MainSiteUrl=http://127.0.0.1:8080\n"
            "ImageHostUrl=http://127.0.0.1:8081/\n"
            "\n\n"
            "; someone else's\n"
            "[Foreign]\n"
            "Key=Value with = and ; inside\n"
            "\n\n"
            "[Last Session]\n"
            "\n"
            "; the name last used\n"
            "Name=New\n"
            "Unknown=kept\n"
            "Threads=10\n");
  // The layout is settled: another round leaves the file as it is.
  const QByteArray saved = ReadBytes();
  IniFile reloaded;
  ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
  ASSERT_TRUE(reloaded.Save(Path()));
  EXPECT_EQ(ReadBytes(), saved);
}

TEST_F(IniFileTest, FirstOfDuplicateKeysCountsAndWritingLeavesOne) {
  IniFile ini = LoadText("[S]\nk=first\nj=x\nk=second\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "first");
  ASSERT_TRUE(ini.WriteString("S", "K", "new"));
  EXPECT_EQ(SavedText(ini), "[S]\nk=new\nj=x\n");
}

TEST_F(IniFileTest, HandWrittenValuesReadAsTheWindowsFunctionsReadThem) {
  struct Case {
    QByteArray line;
    QString expected;
  };
  const Case cases[] = {
      {"Name = Spaced  ", "Spaced"},   {"Name=\"  Quoted  \"", "  Quoted  "},
      {"Name='Single'", "Single"},     {"Name=\"Unbalanced", "\"Unbalanced"},
      {"Name=\"\"", ""},               {"Name=yes", "yes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    const IniFile ini = LoadText("[Last Session]\r\n" + c.line + "\r\n");
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), c.expected);
  }
  const IniFile withBom = LoadText("\xEF\xBB\xBF[Last Session]\nName=Bom\n");
  EXPECT_EQ(withBom.ReadString("Last Session", "Name", ""), "Bom");
}

TEST_F(IniFileTest, ValuesRoundTripExactly) {
  const QString values[] = {"Yes",  "yes",       "Ñandu Test", "Sample O'Name", "",
                            "  lead", "trail\t ", "\"quoted\"",  "'single'",      "\"",
                            "''",   "a=b;c#d",   "[not a section]", "<<<END"};
  for (const QString& value : values) {
    SCOPED_TRACE(value.toStdString());
    IniFile ini;
    ASSERT_TRUE(ini.WriteString("Last Session", "Name", value));
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), value);
    ASSERT_TRUE(ini.Save(Path()));
    IniFile reloaded;
    ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
    EXPECT_EQ(reloaded.ReadString("Last Session", "Name", "default"), value);
  }
}

TEST_F(IniFileTest, Utf8NamesRoundTrip) {
  IniFile ini;
  ASSERT_TRUE(ini.WriteString("Ñandu Test", "Done", "Yes"));
  ASSERT_TRUE(ini.WriteString("Sample O'Name", "Done", "No"));
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "Ñandu Test"));
  EXPECT_EQ(SavedText(ini),
            "[Ñandu Test]\nDone=Yes\n\n\n[Sample O'Name]\nDone=No\n\n\n"
            "[Last Session]\nName=Ñandu Test\n");
  EXPECT_TRUE(ReadBytes().startsWith("[\xC3\x91" "andu Test]"));
  IniFile reloaded;
  ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
  EXPECT_EQ(reloaded.ReadSections(), (QStringList{"Ñandu Test", "Sample O'Name", "Last Session"}));
  EXPECT_EQ(reloaded.ReadString("ñandu test", "Done", ""), "Yes");
  EXPECT_EQ(reloaded.ReadString("Last Session", "Name", ""), "Ñandu Test");
}

TEST_F(IniFileTest, WhatALineCannotHoldIsRefusedOrMadeBlank) {
  IniFile ini;
  ASSERT_TRUE(ini.WriteString("  Padded Name ", "Name", QStringLiteral("a\nb\r\nc") + QChar(0)));
  EXPECT_EQ(ini.ReadSections(), QStringList{"Padded Name"});
  EXPECT_EQ(ini.ReadString("Padded Name", "Name", ""), "a b  c ");
  struct Case {
    QString section, key;
  };
  const Case refused[] = {{"", "Name"},  {" \t", "Name"}, {"a]b", "Name"},
                          {"S", ""},     {"S", "a=b"},    {"S", ";c"},     {"S", "#c"},
                          {"S", "[c"}};
  for (const Case& c : refused) {
    EXPECT_FALSE(ini.WriteString(c.section, c.key, "v"))
        << c.section.toStdString() << "/" << c.key.toStdString();
    EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), "default");
  }
  EXPECT_EQ(SavedText(ini), "[Padded Name]\nName=\"a b  c \"\n");
}

TEST_F(IniFileTest, MissingFileLoadsEmptyAndTheFirstSaveCreatesIt) {
  IniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Missing);
  EXPECT_TRUE(ini.ReadSections().isEmpty());
  EXPECT_EQ(ini.ReadString("Last Session", "Threads", "10"), "10");
  ASSERT_TRUE(ini.WriteString("Last Session", "Threads", "10"));
  EXPECT_EQ(SavedText(ini), "[Last Session]\nThreads=10\n");
}

TEST_F(IniFileTest, FileThatIsNoIniTextLoadsEmptyAndIsLeftAlone) {
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18)},
      {"NUL inside text", QByteArray("[Last Session]\nName=A\0B\n", 24)},
      {"Windows-1252 text", "[Last Session]\nName=\xD1" "andu\n"},
      {"UTF-8 cut short", "[Last Session]\nName=\xC3"},
      {"overlong UTF-8", "[Last Session]\nName=\xC0\xAF\n"},
      {"UTF-16", QByteArray("\xFF\xFE[\0L\0]\0\n\0", 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(c.bytes);
    IniFile ini;
    ASSERT_TRUE(ini.WriteString("Stale", "Key", "from before"));
    EXPECT_EQ(ini.Load(Path()), Status::Invalid);
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), "default");
    EXPECT_EQ(ReadBytes(), c.bytes);
  }
}

TEST_F(IniFileTest, HugeFileIsInvalid) {
  QFile file(Path());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.resize(17 * 1024 * 1024));  // sparse: costs no disk
  file.close();
  IniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Invalid);
}

TEST_F(IniFileTest, FolderInPlaceOfTheFileIsUnreadable) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Settings.ini"));
  IniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Unreadable);
  EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST_F(IniFileTest, SaveReplacesTheFileAndLeavesNothingElse) {
  WriteBytes("[Last Session]\nName=Old\n");
  IniFile ini;
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  ASSERT_TRUE(ini.Save(Path()));
  EXPECT_EQ(ReadBytes(), "[Last Session]\nName=New\n");
  EXPECT_EQ(Entries(), QStringList{"Settings.ini"});
}

TEST_F(IniFileTest, FailedSaveReportsFalseAndChangesNothing) {
  WriteBytes("not a folder", "plain");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
  IniFile ini;
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  EXPECT_FALSE(ini.Save(Path("plain/Settings.ini")));
  EXPECT_FALSE(ini.Save(Path("folder")));
  EXPECT_EQ(ReadBytes("plain"), "not a folder");
  EXPECT_TRUE(QDir(Path("folder")).isEmpty());
  EXPECT_EQ(Entries(), (QStringList{"folder", "plain"}));
}

TEST_F(IniFileTest, SaveIntoReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  WriteBytes("[Last Session]\nName=Old\n");
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner));
  IniFile ini;
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  EXPECT_FALSE(ini.Save(Path()));
  EXPECT_EQ(ReadBytes(), "[Last Session]\nName=Old\n");
  EXPECT_EQ(Entries(), QStringList{"Settings.ini"});
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
