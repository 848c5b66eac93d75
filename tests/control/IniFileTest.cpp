#include "control/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <vector>

#include "common/QtPrint.h"

namespace {

using Status = control::TIniFile::TLoadStatus;

// `text` as Notepad saves it as "Unicode": UTF-16 after its mark.
QByteArray AsUtf16(const QString& text, QStringConverter::Encoding order) {
  QStringEncoder encoder(order);
  const QByteArray mark = order == QStringConverter::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
  return mark + QByteArray(encoder.encode(text));
}

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
  control::TIniFile LoadText(const QByteArray& bytes) {
    WriteBytes(bytes);
    control::TIniFile ini;
    EXPECT_EQ(ini.Load(Path()), Status::Loaded);
    return ini;
  }
  // What `ini` writes to disk.
  QString SavedText(const control::TIniFile& ini) {
    EXPECT_TRUE(ini.Save(Path()));
    return QString::fromUtf8(ReadBytes());
  }
  // Saves `ini`, loads what was written and saves that again: the second save
  // must write the bytes of the first, or the file would change on every run.
  // Returns the first save's bytes.
  QByteArray SavedTwice(const control::TIniFile& ini) {
    EXPECT_TRUE(ini.Save(Path()));
    const QByteArray first = ReadBytes();
    control::TIniFile reloaded;
    EXPECT_EQ(reloaded.Load(Path()), Status::Loaded);
    EXPECT_TRUE(reloaded.Save(Path()));
    EXPECT_EQ(ReadBytes().toStdString(), first.toStdString()) << "the second save changed the file";
    return first;
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
    control::TIniFile ini;
    ASSERT_TRUE(ini.WriteString(c.section, c.key, "value"));
    EXPECT_EQ(ini.ReadString(c.sectionAsRead, c.keyAsRead, "default"), "value");
    ASSERT_TRUE(ini.Save(Path()));
    control::TIniFile reloaded;
    ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
    EXPECT_EQ(reloaded.ReadString(c.sectionAsRead, c.keyAsRead, "default"), "value");
    // Writing under another spelling updates the one entry, keeping the first spelling.
    ASSERT_TRUE(reloaded.WriteString(c.sectionAsRead, c.keyAsRead, "new"));
    EXPECT_EQ(reloaded.ReadSections(), QStringList{c.section});
    EXPECT_EQ(SavedText(reloaded), "[" + c.section + "]\n" + c.key + "=new\n");
  }
}

TEST_F(IniFileTest, PlacesAreKeptAndNewEntriesAppended) {
  control::TIniFile ini = LoadText("[B]\nx=1\ny=2\n\n[A]\nz=3\n");
  ASSERT_TRUE(ini.WriteString("A", "new", "4"));
  ASSERT_TRUE(ini.WriteString("b", "Y", "5"));
  ASSERT_TRUE(ini.WriteString("C", "k", "6"));
  EXPECT_EQ(ini.ReadSections(), (QStringList{"B", "A", "C"}));
  EXPECT_EQ(SavedText(ini), "[B]\nx=1\ny=5\n\n\n[A]\nz=3\nnew=4\n\n\n[C]\nk=6\n");
}

TEST_F(IniFileTest, ClearedFileHoldsExactlyWhatIsWrittenAfterwards) {
  control::TIniFile ini = LoadText("; old list\n[Gone]\nDone=Yes\n\n[Kept]\nDone=No\n");
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
  const control::TIniFile ini = LoadText("[Last Session]\nName=\nThreads=12\n\n[Empty]\n");
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
  control::TIniFile ini = LoadText(
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
  control::TIniFile reloaded;
  ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
  ASSERT_TRUE(reloaded.Save(Path()));
  EXPECT_EQ(ReadBytes(), saved);
}

// Comments after the last entry lead no entry, which is how SimpleIni keeps
// comments; they stay at the end, with the blank lines before them, and settle.
TEST_F(IniFileTest, CommentsAfterTheLastEntryStayAtTheEnd) {
  const struct {
    const char* What;
    QByteArray File;
    QByteArray Saved;  // after Threads=10 was written into [Last Session]
  } cases[] = {
      {"one comment", "[Last Session]\nName=Ann\n; keep me\n", "[Last Session]\nName=Ann\nThreads=10\n; keep me\n"},
      {"a block after blank lines, blank lines after it", "[Last Session]\nName=Ann\n\n# one\n\n; two\n\n\n",
       "[Last Session]\nName=Ann\nThreads=10\n\n# one\n\n; two\n"},
      {"a broken section line at the end", "[Last Session]\nName=Ann\n[Broken Name\n",
       "[Last Session]\nName=Ann\nThreads=10\n; [Broken Name\n"},
      {"blank lines only", "[Last Session]\nName=Ann\n\n\n", "[Last Session]\nName=Ann\nThreads=10\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    control::TIniFile ini = LoadText(c.File);
    ASSERT_TRUE(ini.WriteString("Last Session", "Threads", "10"));
    EXPECT_EQ(SavedTwice(ini).toStdString(), c.Saved.toStdString());
  }
  // Written afresh, the file holds only what was written.
  control::TIniFile ini = LoadText("[A]\nK=V\n; gone once cleared\n");
  ini.Clear();
  ASSERT_TRUE(ini.WriteString("B", "K", "V"));
  EXPECT_EQ(SavedText(ini), "[B]\nK=V\n");
}

TEST_F(IniFileTest, FirstOfDuplicateKeysCountsAndWritingLeavesOne) {
  control::TIniFile ini = LoadText("[S]\nk=first\nj=x\nk=second\n");
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
    const control::TIniFile ini = LoadText("[Last Session]\r\n" + c.line + "\r\n");
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), c.expected);
  }
  const control::TIniFile withBom = LoadText("\xEF\xBB\xBF[Last Session]\nName=Bom\n");
  EXPECT_EQ(withBom.ReadString("Last Session", "Name", ""), "Bom");
}

TEST_F(IniFileTest, ValuesRoundTripExactly) {
  const QString values[] = {"Yes",  "yes",       "Ñandu Test", "Sample O'Name", "",
                            "  lead", "trail\t ", "\"quoted\"",  "'single'",      "\"",
                            "''",   "a=b;c#d",   "[not a section]", "<<<END"};
  for (const QString& value : values) {
    SCOPED_TRACE(value.toStdString());
    control::TIniFile ini;
    ASSERT_TRUE(ini.WriteString("Last Session", "Name", value));
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), value);
    ASSERT_TRUE(ini.Save(Path()));
    control::TIniFile reloaded;
    ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
    EXPECT_EQ(reloaded.ReadString("Last Session", "Name", "default"), value);
  }
}

TEST_F(IniFileTest, Utf8NamesRoundTrip) {
  control::TIniFile ini;
  ASSERT_TRUE(ini.WriteString("Ñandu Test", "Done", "Yes"));
  ASSERT_TRUE(ini.WriteString("Sample O'Name", "Done", "No"));
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "Ñandu Test"));
  EXPECT_EQ(SavedText(ini),
            "[Ñandu Test]\nDone=Yes\n\n\n[Sample O'Name]\nDone=No\n\n\n"
            "[Last Session]\nName=Ñandu Test\n");
  EXPECT_TRUE(ReadBytes().startsWith("[\xC3\x91" "andu Test]"));
  control::TIniFile reloaded;
  ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
  EXPECT_EQ(reloaded.ReadSections(), (QStringList{"Ñandu Test", "Sample O'Name", "Last Session"}));
  EXPECT_EQ(reloaded.ReadString("ñandu test", "Done", ""), "Yes");
  EXPECT_EQ(reloaded.ReadString("Last Session", "Name", ""), "Ñandu Test");
}

TEST_F(IniFileTest, WhatALineCannotHoldIsRefusedOrMadeBlank) {
  control::TIniFile ini;
  ASSERT_TRUE(ini.WriteString("  Padded Name ", "Name", QStringLiteral("a\nb\r\nc") + QChar(0)));
  EXPECT_EQ(ini.ReadSections(), QStringList{"Padded Name"});
  EXPECT_EQ(ini.ReadString("Padded Name", "Name", ""), "a b  c ");
  struct Case {
    QString section, key;
  };
  const Case refused[] = {{"", "Name"},  {" \t", "Name"}, {"\v\f\u00A0", "Name"}, {"S", "\v"}, {"a]b", "Name"},
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
  control::TIniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Missing);
  EXPECT_TRUE(ini.ReadSections().isEmpty());
  EXPECT_EQ(ini.ReadString("Last Session", "Threads", "10"), "10");
  ASSERT_TRUE(ini.WriteString("Last Session", "Threads", "10"));
  EXPECT_EQ(SavedText(ini), "[Last Session]\nThreads=10\n");
}

TEST_F(IniFileTest, EachFormOfTextReadsAsTheWindowsFunctionsReadItAndIsSavedAsUtf8) {
  using enum QStringConverter::Encoding;
  const QString renee = QString::fromUtf8("Ren\xC3\xA9" "e");
  const QString text = "[Last Session]\r\nName=" + renee + "\r\n";
  struct Case {
    const char* what;
    QByteArray bytes;
    QString name;
  };
  const Case cases[] = {
      {"UTF-8", "[Last Session]\nName=Ren\xC3\xA9" "e\n", renee},
      {"UTF-8 after its mark", "\xEF\xBB\xBF[Last Session]\nName=Ren\xC3\xA9" "e\n", renee},
      {"Windows-1252 from a Windows editor", "[Last Session]\r\nName=Ren\xE9" "e\r\n", renee},
      {"Windows-1252 beyond Latin-1, and a byte it leaves unused", "[Last Session]\nName=\x80 \x8A\x9F \x81\n",
       QString::fromUtf8("\xE2\x82\xAC \xC5\xA0\xC5\xB8 \xC2\x81")},
      {"UTF-8 cut short is Windows-1252", "[Last Session]\nName=\xC3", QString::fromUtf8("\xC3\x83")},
      {"overlong UTF-8 is Windows-1252", "[Last Session]\nName=\xC0\xAF\n", QString::fromUtf8("\xC3\x80\xC2\xAF")},
      {"one foreign byte makes the whole file Windows-1252", "[Last Session]\nName=\xC3\x91 \xE9\n",
       QString::fromUtf8("\xC3\x83\xE2\x80\x98 \xC3\xA9")},
      {"UTF-16", AsUtf16(text, Utf16LE), renee},
      {"UTF-16BE", AsUtf16(text, Utf16BE), renee},
      {"UTF-16 with an odd byte at the end", AsUtf16("[Last Session]\nName=" + renee, Utf16LE) + "x",
       renee + QChar(QChar::ReplacementCharacter)},
      // The mark says the file is meant as UTF-8, so a broken sequence is lost
      // rather than the rest read as another code page.
      {"a broken sequence after the UTF-8 mark", "\xEF\xBB\xBF[Last Session]\nName=Ren\xE9" "e\n",
       "Ren" + QString(QChar(QChar::ReplacementCharacter)) + "e"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const control::TIniFile ini = LoadText(c.bytes);
    EXPECT_EQ(ini.ReadSections(), QStringList{"Last Session"});
    EXPECT_EQ(ini.ReadString("Last Session", "Name", "default"), c.name);
    EXPECT_EQ(SavedTwice(ini).toStdString(), ("[Last Session]\nName=" + c.name + "\n").toStdString());
  }
  // A Windows-1252 section name matches without regard to case like any other.
  const control::TIniFile batch = LoadText("[Ren\xC9" "e]\nDone=Yes\n");
  EXPECT_EQ(batch.ReadSections(), QStringList{QString::fromUtf8("Ren\xC3\x89" "e")});
  EXPECT_EQ(batch.ReadString(renee, "Done", "No"), "Yes");
}

TEST_F(IniFileTest, OddLinesComeOutAsTheWindowsFunctionsReadThemAndSettleAfterOneSave) {
  struct Reading {
    QString section, key, value;
  };
  struct Case {
    const char* what;
    QByteArray bytes;
    QStringList sections;
    std::vector<Reading> readings;
    QByteArray saved;
  };
  const QByteArray longName(100000, 'n');
  const QByteArray longValue(1 << 20, 'v');
  const Case cases[] = {
      {"a section line without its \"]\": the keys after it stay in the section before",
       "[A]\nDone=No\n[Broken Name\nDone=Yes\nFound=3\n[B]\nDone=No\n",
       {"A", "B"},
       {{"A", "Done", "No"}, {"A", "Found", "3"}, {"Broken Name", "Done", "none"}, {"B", "Done", "No"}},
       "[A]\nDone=No\n\n; [Broken Name\nDone=Yes\nFound=3\n\n\n[B]\nDone=No\n"},
      {"the same before any section", "[Broken Name\nDone=Yes\n[B]\nDone=No\n",
       {"B"},
       {{"Broken Name", "Done", "none"}, {"B", "Done", "No"}},
       "; [Broken Name\n\n\nDone=Yes\n\n\n[B]\nDone=No\n"},
      {"one with \"=\" in it", "[A]\n[Broken=Yes\nk=v\n", {"A"}, {{"A", "k", "v"}, {"A", "[Broken", "none"}},
       "[A]\n\n; [Broken=Yes\nk=v\n"},
      {"a lone \"[\"", "[A]\n[\nk=v\n", {"A"}, {{"A", "k", "v"}}, "[A]\n\n; [\nk=v\n"},
      {"blanks and tabs before \"[\"", " \t[A]\n\t [Broken\nk=v\n  [B]\n", {"A", "B"}, {{"A", "k", "v"}},
       "[A]\n\n; [Broken\nk=v\n\n\n[B]\n"},
      {"lines ended by CR alone", "[A]\rk=1\r[Broken\rDone=Yes\r[B]\rj=2", {"A", "B"},
       {{"A", "k", "1"}, {"A", "Done", "Yes"}, {"B", "j", "2"}}, "[A]\nk=1\n\n; [Broken\nDone=Yes\n\n\n[B]\nj=2\n"},
      {"every kind of line end, the last one missing", "[A]\r\nk=1\n\r[B]\rj=2\n[C]\r\nx=3", {"A", "B", "C"},
       {{"A", "k", "1"}, {"B", "j", "2"}, {"C", "x", "3"}}, "[A]\nk=1\n\n\n[B]\nj=2\n\n\n[C]\nx=3\n"},
      {"a \"]\" followed by more text", "[A] ; note\nk=v\n[B]]\nj=w\n", {"A", "B"}, {{"A", "k", "v"}, {"B", "j", "w"}},
       "[A]\nk=v\n\n\n[B]\nj=w\n"},
      // A section without a name cannot be asked for, and its keys do not join
      // the section before.
      {"\"[]\" and \"[ ]\", a comment among their keys", "[A]\nk=1\n[]\n; note\nk=2\n[ \t]\nj=3\n[B]\n",
       {"A", "B"}, {{"A", "k", "1"}, {"A", "j", "none"}, {"B", "k", "none"}},
       "[A]\nk=1\n\n\n; []\n; note\n; k=2\n; [ \t]\n; j=3\n[B]\n"},
      {"a name of other white space", "[A]\nk=1\n[\v\f\xC2\xA0]\nk=2\n[B]\n\v=3\nj=4\n", {"A", "B"},
       {{"A", "k", "1"}, {"B", "j", "4"}}, "[A]\nk=1\n\n\n; [\v\f\xC2\xA0]\n; k=2\n[B]\n\n; \v=3\nj=4\n"},
      {"\"[]\" before any section", "k=0\n[]\nk=1\n[B]\nj=2\n", {"B"}, {{"B", "j", "2"}, {"B", "k", "none"}},
       "k=0\n\n\n; []\n; k=1\n[B]\nj=2\n"},
      {"control characters", "[\x01" "A\x0b\x1b]\n\x02k\x0c\x7f=\x03v\x1f\n\x04[x=y\n", {"\x01" "A\x0b\x1b"},
       {{"\x01" "A\x0b\x1b", "\x02k\x0c\x7f", "\x03v\x1f"}, {"\x01" "A\x0b\x1b", "\x04[x", "y"}},
       "[\x01" "A\x0b\x1b]\n\x02k\x0c\x7f=\x03v\x1f\n\x04[x=y\n"},
      {"lines that hold no key", "[A]\nk=1\nno equals sign\n=no name\n  \t =blank name\nj=2\n", {"A"},
       {{"A", "k", "1"}, {"A", "j", "2"}, {"A", "no equals sign", "none"}},
       "[A]\nk=1\n\n; no equals sign\n; =no name\n; =blank name\nj=2\n"},
      // Comments at the top are the file's own, however they are indented or
      // preceded; SimpleIni would otherwise write them at the very start as
      // the first entry's, for the next load to take as the file's.
      {"comments at the top after blank lines and blanks", "\n\r\n \t; top\n\t# second\n[A]\nk=v\n", {"A"},
       {{"A", "k", "v"}}, "; top\n# second\n\n\n[A]\nk=v\n"},
      {"a comment at the top after a line without a key", "stray line\n; top\nk=v\n[A]\n", {"A"}, {},
       "; stray line\n; top\n\n\nk=v\n\n\n[A]\n"},
      {"very long lines", "[" + longName + "]\nk=" + longValue + "\n", {QString::fromLatin1(longName)},
       {{QString::fromLatin1(longName), "k", QString::fromLatin1(longValue)}},
       "[" + longName + "]\nk=" + longValue + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const control::TIniFile ini = LoadText(c.bytes);
    EXPECT_EQ(ini.ReadSections(), c.sections);
    for (const Reading& r : c.readings)
      EXPECT_EQ(ini.ReadString(r.section, r.key, "none"), r.value)
          << r.section.left(20).toStdString() << "/" << r.key.toStdString();
    EXPECT_EQ(SavedTwice(ini).toStdString(), c.saved.toStdString());
  }
}

TEST_F(IniFileTest, ANameOrValueBeginningWithU_FEFFKeepsIt) {
  const QString mark(QChar(0xFEFF));
  control::TIniFile ini;
  ASSERT_TRUE(ini.WriteString(mark + "First", "Done", "1"));
  ASSERT_TRUE(ini.WriteString("Plain", "Done", "2"));
  ASSERT_TRUE(ini.WriteString(mark + "Plain", mark + "Key", mark + "value"));
  EXPECT_EQ(SavedTwice(ini).toStdString(),
            "[\xEF\xBB\xBF" "First]\nDone=1\n\n\n[Plain]\nDone=2\n\n\n"
            "[\xEF\xBB\xBFPlain]\n\xEF\xBB\xBFKey=\xEF\xBB\xBFvalue\n");
  control::TIniFile reloaded;
  ASSERT_EQ(reloaded.Load(Path()), Status::Loaded);
  EXPECT_EQ(reloaded.ReadSections(), (QStringList{mark + "First", "Plain", mark + "Plain"}));
  EXPECT_EQ(reloaded.ReadString(mark + "plain", mark + "KEY", ""), mark + "value");
  EXPECT_EQ(reloaded.ReadString("Plain", "Done", ""), "2");
  EXPECT_EQ(reloaded.ReadString("First", "Done", "none"), "none");

  // Only the mark the file starts with is taken off, in any of its forms. One
  // more right after it is text, as the Windows functions read it: the first
  // line is then no section, nor a key anyone can ask for, and it is kept as a
  // comment, since at the start of a file written without a mark it would be
  // taken for one.
  using enum QStringConverter::Encoding;
  const QString named = "[" + mark + "First]\r\nDone=1\r\n";
  const QString doubled = mark + "[A]\r\nk=v\r\n[B]\r\nj=w\r\n";
  struct Case {
    const char* what;
    QByteArray bytes;
    QStringList sections;
    QByteArray saved;
  };
  const Case cases[] = {
      {"a name after the UTF-8 mark", "\xEF\xBB\xBF" + named.toUtf8(), {mark + "First"},
       "[\xEF\xBB\xBF" "First]\nDone=1\n"},
      {"a name after the UTF-16 mark", AsUtf16(named, Utf16LE), {mark + "First"}, "[\xEF\xBB\xBF" "First]\nDone=1\n"},
      {"a name after the UTF-16BE mark", AsUtf16(named, Utf16BE), {mark + "First"},
       "[\xEF\xBB\xBF" "First]\nDone=1\n"},
      {"a doubled UTF-8 mark", "\xEF\xBB\xBF" + doubled.toUtf8(), {"B"},
       "; \xEF\xBB\xBF[A]\n\n\nk=v\n\n\n[B]\nj=w\n"},
      {"a doubled UTF-16 mark", AsUtf16(doubled, Utf16LE), {"B"}, "; \xEF\xBB\xBF[A]\n\n\nk=v\n\n\n[B]\nj=w\n"},
      {"a key before any section after the mark", AsUtf16(mark + "k=v\n[B]\n", Utf16LE), {"B"},
       "; \xEF\xBB\xBFk=v\n\n\n[B]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const control::TIniFile marked = LoadText(c.bytes);
    EXPECT_EQ(marked.ReadSections(), c.sections);
    EXPECT_EQ(SavedTwice(marked).toStdString(), c.saved.toStdString());
  }
}

TEST_F(IniFileTest, FileThatIsNoIniTextLoadsEmptyAndIsLeftAlone) {
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18)},
      {"NUL inside text", QByteArray("[Last Session]\nName=A\0B\n", 24)},
      {"NUL after the UTF-8 mark", QByteArray("\xEF\xBB\xBF[L]\nName=A\0B\n", 17)},
      {"NUL character in UTF-16", QByteArray("\xFF\xFE[\0L\0]\0\n\0N\0=\0\0\0", 16)},
      {"NUL character in UTF-16BE", QByteArray("\xFE\xFF\0[\0L\0]\0\n\0\0", 12)},
      {"UTF-16 without a mark", QByteArray("[\0L\0]\0\n\0", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(c.bytes);
    control::TIniFile ini;
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
  control::TIniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Invalid);
}

TEST_F(IniFileTest, FolderInPlaceOfTheFileIsUnreadable) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Settings.ini"));
  control::TIniFile ini;
  EXPECT_EQ(ini.Load(Path()), Status::Unreadable);
  EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST_F(IniFileTest, SaveReplacesTheFileAndLeavesNothingElse) {
  WriteBytes("[Last Session]\nName=Old\n");
  control::TIniFile ini;
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  ASSERT_TRUE(ini.Save(Path()));
  EXPECT_EQ(ReadBytes(), "[Last Session]\nName=New\n");
  EXPECT_EQ(Entries(), QStringList{"Settings.ini"});
}

TEST_F(IniFileTest, FailedSaveReportsFalseAndChangesNothing) {
  WriteBytes("not a folder", "plain");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
  control::TIniFile ini;
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
  control::TIniFile ini;
  ASSERT_TRUE(ini.WriteString("Last Session", "Name", "New"));
  EXPECT_FALSE(ini.Save(Path()));
  EXPECT_EQ(ReadBytes(), "[Last Session]\nName=Old\n");
  EXPECT_EQ(Entries(), QStringList{"Settings.ini"});
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The predicates say what the file does: a name is held exactly when its
// section reads back under that very name, and two names are one section
// exactly when writing both makes one.
TEST_F(IniFileTest, WhatASectionNameHoldsAndWhichNamesShareOneAreWhatTheFileDoes) {
  const QString names[] = {"Plain", "two  inner blanks", "a[b", ";lead", "Sample O'Name",
                           QString::fromUtf8("\xC3\x91" "andu"), QString::fromUtf8("\xC3\xB1" "andu"), "PLAIN",
                           " lead", "trail ", "\ttab", "tab\t", "a]b", "line\nbreak", "cr\r",
                           QString("nul") + QChar(0) + "x", "", "   ", QString(QChar(0xFEFF)) + "mark"};
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    control::TIniFile ini;
    ini.WriteString(name, "Key", "v");
    ASSERT_TRUE(ini.Save(Path()));
    control::TIniFile read;
    ASSERT_EQ(read.Load(Path()), Status::Loaded);
    EXPECT_EQ(control::TIniFile::HoldsSectionName(name), read.ReadSections() == QStringList{name});
  }
  for (const QString& a : names)
    for (const QString& b : names) {
      if (!control::TIniFile::HoldsSectionName(a) || !control::TIniFile::HoldsSectionName(b)) continue;
      SCOPED_TRACE((a + " / " + b).toStdString());
      control::TIniFile ini;
      ini.WriteString(a, "Key", "v");
      ini.WriteString(b, "Key", "v");
      EXPECT_EQ(control::TIniFile::SameSection(a, b), ini.ReadSections().size() == 1);
    }
  EXPECT_TRUE(control::TIniFile::SameSection("  Plain ", "plain"));  // blanks around a name do not count
  EXPECT_FALSE(control::TIniFile::SameSection("a]b", "a]b"));        // no section at all
}

// The one-pass reading gives what a ReadString per key would.
TEST_F(IniFileTest, AllSectionsAtOnceReadAsEachKeyAlone) {
  const control::TIniFile ini = LoadText(
      "top=1\n[B]\nDone=Yes\nfound=3\nFOUND=4\nChecked=\"  Yes \"\n\n[a]\nx=\n[\xC3\x91" "andu]\nk=\xC3\xA9\n[b]\nlate=5\n");
  const QList<control::TIniFile::TSection> all = ini.ReadAllSections();
  ASSERT_EQ(all.size(), 3);
  QStringList names;
  for (const control::TIniFile::TSection& section : all) {
    names << section.Name;
    for (const auto& [key, value] : section.Keys) {
      EXPECT_EQ(value, ini.ReadString(section.Name, key, "<none>")) << section.Name.toStdString() << "/" << key.toStdString();
    }
  }
  EXPECT_EQ(names, ini.ReadSections());
  ASSERT_EQ(all[0].Keys.size(), 4);  // "found" once, with its first value, and "late" of [b]
  EXPECT_EQ(all[0].Keys.count({"found", "3"}), 1);
}

}  // namespace
