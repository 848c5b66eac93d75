// Start-up and shut-down of the main window: Settings.ini, the size boxes and
// the size set they drive, the thread count, the name list and its preview.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTest>
#include <array>
#include <functional>
#include <vector>

#include "control/window/Form1TestSupport.h"
#include "control/IniFile.h"
#include "control/LastSession.h"
#include "fixture/Jpeg.h"
#include "ui/TComboBox.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TSpinEdit.h"

using namespace form1test;

namespace {

// The ten boxes in the order of the settings: "All Available", then the nine
// sizes from "1024x768" to "1920x1200".
using Boxes = std::array<bool, 10>;

Boxes BoxesOf(const ui::TForm1& form) {
  Boxes boxes{form.CheckBox1->isChecked()};
  for (int i = 0; i < download::kResolutionCount; ++i) boxes[i + 1] = form.SizeBox(download::FolderOrder()[i])->isChecked();
  return boxes;
}

// The size set the checked size boxes stand for.
download::TResParams SizesOf(const Boxes& boxes) {
  download::TResParams sizes;
  for (int i = 0; i < download::kResolutionCount; ++i)
    if (boxes[i + 1]) sizes.Include(download::FolderOrder()[i]);
  return sizes;
}

const Boxes Only1024 = {false, true, false, false, false, false, false, false, false, false};
const Boxes AllTen = {true, true, true, true, true, true, true, true, true, true};
const Boxes NoneAtAll = {};

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a file, trimmed, blank ones left out.
QStringList Lines(const QByteArray& text) {
  QStringList lines;
  for (const QString& line : QString::fromUtf8(text).split(u'\n'))
    if (!line.trimmed().isEmpty()) lines << line.trimmed();
  return lines;
}

class Form1Settings : public Form1Fixture {
 protected:
  QString SettingsFile() const { return WorkDir.filePath("Settings.ini"); }
  // Starts the program on `text` as Settings.ini, or on none for a null text;
  // a window still open is closed first, so its save comes before.
  ui::TForm1& OpenWith(const QByteArray& text) {
    Form.reset();
    QFile::remove(SettingsFile());
    if (!text.isNull()) {
      EXPECT_TRUE(WriteFile(SettingsFile(), text));
    }
    return Open();
  }
  // Shut-down, then start-up again, as closing and restarting the program does.
  ui::TForm1& Reopen() {
    Form.reset();
    return Open();
  }
  QString SavedKey(const char* key) const {
    control::TIniFile ini;
    EXPECT_EQ(ini.Load(SettingsFile()), control::TIniFile::TLoadStatus::Loaded);
    return ini.ReadString("Last Session", key, "<absent>");
  }
  QString NameFolder(const QString& name) const { return WorkDir.filePath("Wallpapers/" + name); }
  QString PreviewOf(const QString& name) const { return NameFolder(name) + "/Preview.jpg"; }
  // Wallpapers/<name>/, with `preview` as its Preview.jpg unless that is null.
  void MakeNameFolder(const QString& name, const QByteArray& preview = {}) {
    ASSERT_TRUE(QDir().mkpath(NameFolder(name)));
    if (!preview.isNull()) {
      ASSERT_TRUE(WriteFile(PreviewOf(name), preview));
    }
  }
  // Three names: one with a picture, one without, one whose Preview.jpg is no JPEG.
  void MakeThreeNames() {
    MakeNameFolder("With Preview", fixture::MakeJpeg(640, 480));
    MakeNameFolder("No Preview");
    MakeNameFolder("Broken", "this is no picture");
  }
  void ShowActive(ui::TForm1& form) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 5000));
  }
  // A pick from NameEdit's drop-down list, as the user makes it.
  static void Pick(ui::TForm1& form, const QString& name) {
    const int index = form.NameEdit->findText(name, Qt::MatchExactly);
    ASSERT_GE(index, 0) << name.toStdString();
    form.NameEdit->setCurrentIndex(index);
    emit form.NameEdit->Select(index);  // as a pick from the drop-down list reports it
    ASSERT_TRUE(form1test::PreviewSettled(form));
  }
};

void ExpectBoxes(const ui::TForm1& form, const Boxes& expected) {
  EXPECT_EQ(BoxesOf(form), expected);
  EXPECT_EQ(form.ResParams, SizesOf(expected)) << "the size set follows the boxes";
}

const QByteArray kAllYes =
    "[Last Session]\nAllResolutions=Yes\n1024x768=Yes\n1152x864=Yes\n1280x800=Yes\n1280x960=Yes\n"
    "1280x1024=Yes\n1440x900=Yes\n1600x1200=Yes\n1680x1050=Yes\n1920x1200=Yes\n";

// ---------------------------------------------------------------- first start

TEST_F(Form1Settings, AFirstStartShowsTheDefaultsAndItsShutDownCreatesTheFile) {
  ui::TForm1& form = Open();
  EXPECT_EQ(form.NameEdit->currentText(), "");
  EXPECT_EQ(form.SpinEdit1->text(), "10");
  EXPECT_EQ(form.SpinEdit1->value(), 10);
  ExpectBoxes(form, Only1024);
  download::TResParams only1024;
  only1024.Include(download::tr1024x768);
  EXPECT_EQ(form.ResParams, only1024);
  EXPECT_FALSE(form.Image1->HasPicture());
  EXPECT_EQ(form.Label3->text(), "");
  EXPECT_EQ(form.CurrentPath, WorkDir.path());
  EXPECT_FALSE(form.ShowLog);
  EXPECT_EQ(form.width(), 444);
  EXPECT_TRUE(form.PageControl1->isHidden());
  EXPECT_FALSE(QFile::exists(SettingsFile())) << "nothing is written while the program runs";

  Form.reset();
  EXPECT_EQ(Lines(ReadFile(SettingsFile())),
            (QStringList{"[Last Session]", "Name=", "Threads=10", "AllResolutions=No", "1024x768=Yes",
                         "1152x864=No", "1280x800=No", "1280x960=No", "1280x1024=No", "1440x900=No",
                         "1600x1200=No", "1680x1050=No", "1920x1200=No"}));
}

// ---------------------------------------------------------------- the size boxes

TEST_F(Form1Settings, EachBoxEndsAsItsOwnKeySaysAfterAllAvailableHasCascaded) {
  struct Case {
    const char* what;
    QByteArray settings;
    Boxes expected;
  } cases[] = {
      {"every key Yes", kAllYes, AllTen},
      {"All Available with 1440x900 No", QByteArray(kAllYes).replace("1440x900=Yes", "1440x900=No"),
       {true, true, true, true, true, true, false, true, true, true}},
      {"All Available and no size key: the sizes take their defaults", "[Last Session]\nAllResolutions=Yes\n",
       {true, true, false, false, false, false, false, false, false, false}},
      {"only an exact Yes checks", "[last session]\nAllResolutions=yes\n1024x768=yes\n1152x864=YES\n1920x1200=Yes\n",
       {false, false, false, false, false, false, false, false, false, true}},
      {"sizes without All Available", "[Last Session]\n1024x768=No\n1280x960=Yes\n1680x1050=Yes\n",
       {false, false, false, false, true, false, false, false, true, false}},
      {"keys of another section are not ours", "[Other]\nAllResolutions=Yes\n1024x768=No\n", Only1024},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectBoxes(OpenWith(c.settings), c.expected);
  }
}

TEST_F(Form1Settings, TheUsersClicksCascadeFromAllAvailableAndTheSizeSetFollowsEveryBox) {
  using Box = QCheckBox* ui::TForm1::*;
  struct Case {
    const char* what;
    QByteArray settings;  // null: no file
    std::vector<Box> clicks;
    Boxes expected;
  } cases[] = {
      {"unchecking a size leaves All Available checked", kAllYes, {&ui::TForm1::CheckBox7},
       {true, true, true, true, true, true, false, true, true, true}},
      {"then unchecking All Available unchecks every box", kAllYes,
       {&ui::TForm1::CheckBox7, &ui::TForm1::CheckBox1}, NoneAtAll},
      {"checking All Available while only 1024x768 is checked", QByteArray(), {&ui::TForm1::CheckBox1}, AllTen},
      {"checking All Available again after a size was unchecked", kAllYes,
       {&ui::TForm1::CheckBox7, &ui::TForm1::CheckBox1, &ui::TForm1::CheckBox1}, AllTen},
      {"single sizes on their own", QByteArray(),
       {&ui::TForm1::CheckBox4, &ui::TForm1::CheckBox10, &ui::TForm1::CheckBox2},
       {false, false, false, false, true, false, false, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui::TForm1& form = OpenWith(c.settings);
    for (Box box : c.clicks) (form.*box)->click();
    ExpectBoxes(form, c.expected);
  }
}

// ---------------------------------------------------------------- round trip

TEST_F(Form1Settings, ShutDownThenStartUpRestoresTheNameTheThreadsAndEveryBox) {
  struct Case {
    QString name;
    QString threads;
    Boxes boxes;
  } cases[] = {
      {QString::fromUtf8("Sample O'Name \xc3\x91"), "33", {true, false, true, true, true, true, false, true, true, true}},
      {" Kate  Moss ", "many", NoneAtAll},
      {"", "1", {false, false, false, false, false, false, false, false, false, true}},
      {"Mary=Ann [x] ;y", "50", AllTen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    ui::TForm1& before = Open();
    before.NameEdit->setEditText(c.name);
    before.SpinEdit1->SetText(c.threads);
    before.CheckBox1->setChecked(c.boxes[0]);
    for (int i = 0; i < download::kResolutionCount; ++i) before.SizeBox(download::FolderOrder()[i])->setChecked(c.boxes[i + 1]);
    ASSERT_EQ(BoxesOf(before), c.boxes);

    ui::TForm1& after = Reopen();
    EXPECT_EQ(after.NameEdit->currentText(), c.name);
    EXPECT_EQ(after.Label3->text(), c.name);
    EXPECT_EQ(after.SpinEdit1->text(), c.threads);
    ExpectBoxes(after, c.boxes);
    Form.reset();
  }
}

TEST_F(Form1Settings, OtherSectionsKeysAndCommentsSurviveASave) {
  ui::TForm1& form = OpenWith(
      "; the site to use\n[Site]\nMainSiteUrl=http://127.0.0.1:1\n\n[Mine]\nkey=value\n"
      "[Last Session]\nName=Old\nExtra=kept\n");
  EXPECT_EQ(form.NameEdit->currentText(), "Old");
  form.NameEdit->setEditText("New");
  Form.reset();

  control::TIniFile saved;
  ASSERT_EQ(saved.Load(SettingsFile()), control::TIniFile::TLoadStatus::Loaded);
  EXPECT_EQ(saved.ReadSections(), (QStringList{"Site", "Mine", "Last Session"}));
  EXPECT_EQ(saved.ReadString("Site", "MainSiteUrl", ""), "http://127.0.0.1:1");
  EXPECT_EQ(saved.ReadString("Mine", "key", ""), "value");
  EXPECT_EQ(saved.ReadString("Last Session", "Extra", ""), "kept");
  EXPECT_EQ(saved.ReadString("Last Session", "Name", ""), "New");
  EXPECT_TRUE(ReadFile(SettingsFile()).startsWith("; the site to use\n"));
}

TEST_F(Form1Settings, ASettingsFileThatIsNoIniTextStartsWithTheDefaultsAndIsKeptAside) {
  struct Case {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"a NUL inside", QByteArray("[Last Session]\nName=Kate\0Moss\nThreads=3\n", 40)},
      {"a binary file", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20)},
      {"UTF-16 holding a NUL character", QByteArray("\xFF\xFE[\0L\0]\0\n\0N\0=\0\0\0", 16)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFile(SettingsFile() + ".bad", "an older file kept aside"));
    ui::TForm1& form = OpenWith(c.bytes);
    EXPECT_EQ(form.NameEdit->currentText(), "");
    EXPECT_EQ(form.SpinEdit1->text(), "10");
    ExpectBoxes(form, Only1024);
    form.NameEdit->setEditText("Kept");
    Form.reset();
    EXPECT_EQ(ReadFile(SettingsFile() + ".bad"), c.bytes);
    EXPECT_EQ(SavedKey("Name"), "Kept");
  }
}

TEST_F(Form1Settings, ASettingsFileFromAWindowsEditorIsUsedAsItIsAndSavedBackAsUtf8) {
  const QString name = QString::fromUtf8("Ren\xC3\xA9" "e");
  const site::TSiteUrls urls = Site.Urls();
  ASSERT_TRUE(WriteFile(SettingsFile(), "[Site]\r\nMainSiteUrl=" + urls.MainSiteUrl.toUtf8() +
                                            "\r\nWallpaperHostUrl=" + urls.WallpaperHostUrl.toUtf8() +
                                            "\r\nImageHostUrl=" + urls.ImageHostUrl.toUtf8() +
                                            "\r\n\r\n[Last Session]\r\nName=Ren\xE9" "e\r\nThreads=3\r\n"));
  // As the program starts: [Site] is read before the window exists, over the
  // compiled-in hosts.
  Environment.Site = site::TSiteUrls();
  control::TIniFile startUp;
  ASSERT_EQ(startUp.Load(SettingsFile()), control::TIniFile::TLoadStatus::Loaded);
  Environment.Site = control::ReadSiteUrls(startUp, Environment.Site);
  EXPECT_EQ(Environment.Site.MainSiteUrl, urls.MainSiteUrl);
  EXPECT_EQ(Environment.Site.WallpaperHostUrl, urls.WallpaperHostUrl);
  EXPECT_EQ(Environment.Site.ImageHostUrl, urls.ImageHostUrl);

  ui::TForm1& form = Open();
  EXPECT_EQ(form.NameEdit->currentText(), name);
  EXPECT_EQ(form.Label3->text(), name);
  EXPECT_EQ(form.SpinEdit1->text(), "3");
  ASSERT_TRUE(RunName(form.NameEdit->currentText()));
  EXPECT_GT(Site.Server().RequestCount(fixture::TFixtureSite::kMainHost,
                                       fixture::TFixtureSite::ListingTarget(fixture::SiteSlug(name), 1)),
            0)
      << "the run asks the site of [Site] for the name as read";
  Form.reset();

  EXPECT_FALSE(QFile::exists(SettingsFile() + ".bad"));
  const QByteArray saved = ReadFile(SettingsFile());
  QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString text = strict.decode(saved);
  EXPECT_FALSE(strict.hasError()) << "the file is UTF-8 now";
  EXPECT_TRUE(text.startsWith("[Site]\nMainSiteUrl=" + urls.MainSiteUrl + "\n")) << text.toStdString();
  EXPECT_TRUE(saved.contains("\nName=Ren\xC3\xA9" "e\n"));
  control::TIniFile after;
  ASSERT_EQ(after.Load(SettingsFile()), control::TIniFile::TLoadStatus::Loaded);
  const site::TSiteUrls kept = control::ReadSiteUrls(after, site::TSiteUrls());
  EXPECT_EQ(kept.MainSiteUrl, urls.MainSiteUrl);
  EXPECT_EQ(kept.WallpaperHostUrl, urls.WallpaperHostUrl);
  EXPECT_EQ(kept.ImageHostUrl, urls.ImageHostUrl);
  EXPECT_EQ(after.ReadString("Last Session", "Name", ""), name);
}

TEST_F(Form1Settings, ASettingsFileThatCannotBeReadIsLeftAlone) {
  ASSERT_TRUE(QDir().mkpath(SettingsFile()));  // a folder where the file should be
  ui::TForm1& form = Open();
  EXPECT_EQ(form.SpinEdit1->text(), "10");
  ExpectBoxes(form, Only1024);
  form.NameEdit->setEditText("Lost");
  Form.reset();
  EXPECT_TRUE(QFileInfo(SettingsFile()).isDir());
  EXPECT_FALSE(QFile::exists(SettingsFile() + ".bad"));
}

// ---------------------------------------------------------------- the thread count

TEST_F(Form1Settings, AThreadsTextIsShownAsItIsAndCountsWithinOneToFifty) {
  struct Case {
    QByteArray stored;
    QString shown;
    int count;
  } cases[] = {
      {"25", "25", 25},     {"many", "many", 1},  {"", "", 1},         {"12abc", "12abc", 1},
      {"0", "1", 1},        {"-5", "1", 1},       {"51", "50", 50},    {"99999999999999999999", "50", 50},
      {"-99999999999999999999", "1", 1},          {"2.5", "2.5", 1},   {"0x10", "0x10", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.constData());
    ui::TForm1& form = OpenWith("[Last Session]\nThreads=" + c.stored + "\n");
    EXPECT_EQ(form.SpinEdit1->text(), c.shown);
    EXPECT_EQ(form.SpinEdit1->value(), c.count) << "what a run reads";
    EXPECT_EQ(control::ThreadCountFromText(c.shown), c.count);
    Form.reset();
    EXPECT_EQ(SavedKey("Threads"), c.shown) << "written back as shown";
  }
}

TEST_F(Form1Settings, TheThreadFieldTakesAnyTypedTextItsArrowsStepAndTaskCountFollowsEveryChange) {
  ui::TForm1& form = Open();
  ShowActive(form);
  ui::TSpinEdit& field = *form.SpinEdit1;
  field.setFocus();
  QSignalSpy changes(&field, &ui::TSpinEdit::Change);
  form.TaskCount = 0;

  struct Step {
    const char* what;
    std::function<void()> act;
    QString shown;
    int count;
  } steps[] = {
      {"typed text", [&] { field.selectAll(); QTest::keyClicks(&field, "abc"); }, "abc", 1},
      {"Up from text", [&] { QTest::keyClick(&field, Qt::Key_Up); }, "2", 2},
      {"typed too many", [&] { field.selectAll(); QTest::keyClicks(&field, "60"); }, "60", 50},
      {"Enter keeps it", [&] { QTest::keyClick(&field, Qt::Key_Return); }, "60", 50},
      {"leaving keeps it", [&] { form.NameEdit->setFocus(); field.setFocus(); }, "60", 50},
      {"Down", [&] { QTest::keyClick(&field, Qt::Key_Down); }, "49", 49},
      {"blanks and letters", [&] { field.selectAll(); QTest::keyClicks(&field, "  8x"); }, "  8x", 1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const int before = int(changes.count());
    const QString was = field.text();
    s.act();
    EXPECT_EQ(field.text(), s.shown);
    EXPECT_EQ(field.value(), s.count);
    EXPECT_EQ(form.TaskCount, s.count);
    if (s.shown != was) {
      EXPECT_GT(changes.count(), before) << "OnChange on a change of text";
    } else {
      EXPECT_EQ(changes.count(), before) << "no OnChange without one";
    }
  }
  Form.reset();
  EXPECT_EQ(SavedKey("Threads"), "  8x");
  EXPECT_EQ(Open().SpinEdit1->text(), "  8x");
}

// ---------------------------------------------------------------- names and preview

TEST_F(Form1Settings, GetGirlsListOffersEveryFolderUnderWallpapersAndEmptiesTheText) {
  ui::TForm1& none = Open();
  EXPECT_EQ(none.NameEdit->count(), 0) << "no Wallpapers folder";

  for (const QString& name : {QString("A"), QString("B C"), QString(".dotted"), QString::fromUtf8("\xc3\x91""ame")})
    MakeNameFolder(name);
  ASSERT_TRUE(WriteFile(WorkDir.filePath("Wallpapers/loose.jpg"), "x"));
  ui::TForm1& form = Reopen();
  form.NameEdit->setEditText("typed");
  form.GetGirlsList();
  QStringList listed;
  for (int i = 0; i < form.NameEdit->count(); ++i) listed << form.NameEdit->itemText(i);
  listed.sort();
  EXPECT_EQ(listed, (QStringList{".dotted", "A", "B C", QString::fromUtf8("\xc3\x91""ame")}));
  EXPECT_EQ(form.NameEdit->currentText(), "");
}

TEST_F(Form1Settings, StartUpShowsThePreviewOfTheLastName) {
  MakeThreeNames();
  ASSERT_TRUE(QDir().mkpath(WorkDir.filePath("outside")));
  ASSERT_TRUE(WriteFile(WorkDir.filePath("outside/Preview.jpg"), fixture::MakeJpeg(640, 480)));
  struct Case {
    QString name;
    bool picture;
    QString currentPath;
  } cases[] = {
      {"With Preview", true, PreviewOf("With Preview")},
      {"No Preview", false, WorkDir.path()},
      {"Broken", false, PreviewOf("Broken")},
      {"Nobody", false, WorkDir.path()},
      {"../outside", false, WorkDir.path()},  // never a file outside Wallpapers/
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    ui::TForm1& form = OpenWith("[Last Session]\nName=" + c.name.toUtf8() + "\n");
    ASSERT_TRUE(PreviewSettled(form));
    EXPECT_EQ(form.NameEdit->currentText(), c.name);
    EXPECT_EQ(form.Label3->text(), c.name);
    EXPECT_EQ(form.Image1->HasPicture(), c.picture);
    EXPECT_EQ(form.CurrentPath, c.currentPath);
  }
}

TEST_F(Form1Settings, PickingANameShowsItsPreviewOrEmptiesItAndPointsAtTheFolder) {
  MakeThreeNames();
  ui::TForm1& form = Open();
  struct Case {
    QString name;
    bool picture;
    QString currentPath;
  } cases[] = {
      {"With Preview", true, PreviewOf("With Preview")},
      {"No Preview", false, NameFolder("No Preview")},
      {"With Preview", true, PreviewOf("With Preview")},
      {"Broken", false, PreviewOf("Broken")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Pick(form, c.name);
    EXPECT_EQ(form.Label3->text(), c.name);
    EXPECT_EQ(form.Image1->HasPicture(), c.picture);
    EXPECT_EQ(form.CurrentPath, c.currentPath);
  }
}

TEST_F(Form1Settings, TypingANameChangesNeitherThePreviewNorLabel3) {
  MakeThreeNames();
  ui::TForm1& form = Open();
  ShowActive(form);
  // A name not in the list, one that is (Enter would pick it in a plain combo
  // box), and the start of one that inline completion would finish.
  for (const QString& typed : {QString("Someone Else"), QString("No Preview"), QString("No")}) {
    SCOPED_TRACE(typed.toStdString());
    Pick(form, "With Preview");
    ASSERT_TRUE(form.Image1->HasPicture());
    form.NameEdit->setFocus();
    form.NameEdit->lineEdit()->selectAll();
    QTest::keyClicks(form.NameEdit, typed);
    QTest::keyClick(form.NameEdit, Qt::Key_Return);
    form.SpinEdit1->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.Label3->text(), "With Preview");
    EXPECT_TRUE(form.Image1->HasPicture());
    EXPECT_EQ(form.CurrentPath, PreviewOf("With Preview"));
  }
}

TEST_F(Form1Settings, SteppingThroughTheListWithTheKeysIsAPick) {
  MakeThreeNames();
  ui::TForm1& form = Open();
  ShowActive(form);
  form.NameEdit->setFocus();
  form.NameEdit->setCurrentIndex(-1);
  QTest::keyClick(form.NameEdit, Qt::Key_Down);
  ASSERT_GE(form.NameEdit->currentIndex(), 0);
  EXPECT_EQ(form.Label3->text(), form.NameEdit->currentText());
}

// ---------------------------------------------------------------- closing while busy

// Closing serves the threads' last notices and waits for them only within the
// shut-down bound: every thread has ended when the window is gone, so none was
// left behind past it.
TEST_F(Form1Settings, ClosingWhileTheSiteHoldsTasksInSilenceEndsEveryThreadWithinTheBound) {
  Environment.Fetch.DataTimeout = std::chrono::seconds(90);
  Environment.Download.FetchPause = std::chrono::milliseconds(200);  // the program's own pause
  Environment.ShutdownBound = std::chrono::seconds(2);
  fixture::TResponse silent;
  silent.Fault = fixture::TFault::Silent;

  struct Case {
    const char* what;
    QString name;
    std::function<void()> arrange;
    std::function<bool()> busy;  // true once every task is where it should be
  } cases[] = {
      {"25 of 50 workers stuck, 25 downloading", "Half Stuck",
       [&] {
         // 500 links, worker s takes ids 10000+s, +50, ...: the even workers hang
         // on their first image, the odd ones fetch one image after another.
         Site.AddName(fixture::MakeSiteName("Half Stuck", 1, 500, fixture::MakeJpeg(1024, 768), 10000, {"1024x768"}));
         for (int id = 10000; id < 10500; id += 2)
           Site.Server().SetRoute(fixture::TFixtureSite::kImageHost,
                                  fixture::TFixtureSite::ImageTarget("half-stuck", "1024x768", QString::number(id)),
                                  silent);
       },
       [&] {
         for (int id = 10000; id < 10050; ++id)
           if (Site.Server().RequestCount(fixture::TFixtureSite::kImageHost,
                                          fixture::TFixtureSite::ImageTarget("half-stuck", "1024x768",
                                                                             QString::number(id))) == 0)
             return false;
         return true;
       }},
      {"the search on a silent site", "Nobody Home",
       [&] { Site.Server().SetFallback(fixture::TFixtureSite::kMainHost, silent); },
       [&] {
         return Site.Server().RequestCount(fixture::TFixtureSite::kMainHost,
                                           fixture::TFixtureSite::ListingTarget("nobody-home", 1)) > 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    ui::TForm1& form = Open();
    form.SpinEdit1->SetText("50");
    form.NameEdit->setEditText(c.name);
    form.Button1Click();
    ASSERT_TRUE(PumpUntil(c.busy));
    ASSERT_GT(task::LiveThreadCount(), 0);
    Form.reset();  // the window's destruction: shut-down
    EXPECT_EQ(task::LiveThreadCount(), 0);
    EXPECT_EQ(SavedKey("Name"), c.name);
    EXPECT_EQ(SavedKey("Threads"), "50");
  }
}

}  // namespace
