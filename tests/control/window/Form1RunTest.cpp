// Download runs driven through the main window against the fixture site.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "control/window/Form1TestSupport.h"
#include "fixture/Jpeg.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

using namespace form1test;
using Kind = ui::TPlatformCall::TKind;

namespace {

QStringList Matching(const QStringList& lines, const QString& start) {
  QStringList out;
  for (const QString& l : lines)
    if (l.startsWith(start)) out << l;
  return out;
}

QStringList Rows(const ui::TListView& list) {
  QStringList out;
  for (int i = 0; i < list.topLevelItemCount(); ++i) out << list.topLevelItem(i)->text(1);
  return out;
}

TEST_F(Form1Fixture, AnEmptyNameIsRefusedWithAMessageAndNothingElse) {
  ui::TForm1& form = Open();
  form.NameEdit->setEditText("");
  form.Button1Click();
  ASSERT_EQ(Platform.Count(Kind::ShowMessage), 1);
  EXPECT_EQ(Platform.Calls().back().Text, "Enter Girl's Neme First!!!");
  EXPECT_FALSE(form.Working);
  EXPECT_EQ(form.Button1->text(), "Start");
  EXPECT_EQ(form.Status->text(), "Progress");
  EXPECT_TRUE(form.NameEdit->isEnabled());
  EXPECT_EQ(task::LiveThreadCount(), 0);
}

TEST_F(Form1Fixture, ANameThatCanNotBeAFolderIsRefusedBeforeAnyRequest) {
  ui::TForm1& form = Open();
  for (const QString& name : {QString(".."), QString("."), QString(256, 'n')}) {
    form.NameEdit->setEditText(name);
    form.Button1Click();
    EXPECT_FALSE(form.Working) << name.toStdString();
    EXPECT_TRUE(LogLines().contains("ERR: Name can not be used as a folder - " + name));
  }
  EXPECT_EQ(Site.Server().ConnectionCount(), 0);
  EXPECT_EQ(Platform.Count(Kind::ShowMessage), 3);
  EXPECT_FALSE(QDir(WorkDir.path() + "/Wallpapers").exists());
}

// The site's slugs allow "/" in a name; on disk the name is still one folder
// and one file name part, so nothing lands outside Wallpapers/ either.
TEST_F(Form1Fixture, ANameWithASlashIsOneFolderAndOneFileNamePart) {
  const QByteArray jpeg = fixture::MakeJpeg(1024, 768, 4);
  Site.AddName(fixture::MakeSiteName("Ann/Bee", 1, 2, jpeg, 1001, {"1024x768"}));
  Site.AddName(fixture::MakeSiteName("../../Out", 1, 1, jpeg, 2001, {"1024x768"}));
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("Ann/Bee"));
  const QString folder = WorkDir.path() + "/Wallpapers/Ann" + QChar(0x2215) + "Bee";
  EXPECT_EQ(QFile(folder + "/1024x768/Ann" + QChar(0x2215) + "Bee (1001).jpg").size(), jpeg.size());
  EXPECT_EQ(QFile(folder + "/Preview.jpg").size(), jpeg.size());
  EXPECT_EQ(Site.Server().RequestCount(fixture::TFixtureSite::kImageHost, "/ann/bee/ann/bee-1024x768-1002.jpg"), 1);
  EXPECT_EQ(Platform.Calls().back().Text, folder);
  // The name field offers the folder as the name it stands for.
  EXPECT_GE(form.NameEdit->findText("Ann/Bee"), 0);

  ASSERT_TRUE(RunName("../../Out"));
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/Wallpapers/.." + QChar(0x2215) + ".." + QChar(0x2215) +
                            "Out/1024x768/.." + QChar(0x2215) + ".." + QChar(0x2215) + "Out (2001).jpg"));
  EXPECT_EQ(QDir(WorkDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Wallpapers"});
}

TEST_F(Form1Fixture, ARunDownloadsEveryLinkAndEndsWithOneChimeAndTheFolder) {
  // The worked example's name and link form, with more links and workers than one.
  const QByteArray jpeg = fixture::MakeJpeg(1280, 1024, 3);
  Site.AddName(fixture::MakeSiteName("Sample Name", 2, 5, jpeg, 41237, {"1280x1024", "1024x768"}));
  ui::TForm1& form = Open();
  form.CheckBox3->setChecked(true);  // 1280x1024 as well as the default 1024x768
  form.SpinEdit1->setValue(4);
  ASSERT_TRUE(RunName("Sample Name"));

  const QString folder = WorkDir.path() + "/Wallpapers/Sample Name";
  EXPECT_EQ(form.Found->text(), "Found: 10");
  EXPECT_EQ(form.Status->text(), "Done");
  EXPECT_EQ(form.Label2->text(), "100%");
  EXPECT_EQ(form.Progress->value(), form.Progress->maximum());
  EXPECT_TRUE(form.GroupBox1->isEnabled());
  EXPECT_TRUE(form.NameEdit->isEnabled());
  EXPECT_EQ(form.NameEdit->currentText(), "Sample Name");
  // The fixture gives odd ids the second size.
  EXPECT_TRUE(QFile::exists(folder + "/1024x768/Sample Name (41237).jpg"));
  EXPECT_TRUE(QFile::exists(folder + "/1280x1024/Sample Name (41238).jpg"));
  EXPECT_TRUE(QFile::exists(folder + "/Preview.jpg"));
  for (const char* size : {"1024x768", "1152x864", "1280x800", "1280x960", "1280x1024", "1440x900", "1600x1200",
                           "1680x1050", "1920x1200"})
    EXPECT_TRUE(QDir(folder + "/" + size).exists()) << size;

  const QStringList log = LogLines();
  EXPECT_TRUE(log.contains("Thread #1  MATCHES: " + Site.ImageHostUrl() + "sample-name/sample-name-1024x768-41237.jpg"));
  EXPECT_TRUE(log.contains("Thread #1  LOADING... 1024x768 - 41237  TRY # : 1"));
  EXPECT_TRUE(log.contains("Thread #1  LOADING... 1024x768 - 41237  SUCCESSFULL"));
  EXPECT_EQ(Matching(log, "LEFT THREADS: "),
            (QStringList{"LEFT THREADS: 3", "LEFT THREADS: 2", "LEFT THREADS: 1", "LEFT THREADS: 0"}));
  EXPECT_EQ(Rows(*form.ListView3), QStringList(4, "Finished!"));
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
  ASSERT_EQ(Platform.Count(Kind::Open), 1);
  EXPECT_EQ(Platform.Calls().back().Text, folder);
  EXPECT_TRUE(form.Image1->HasPicture());
}

TEST_F(Form1Fixture, MoreWorkersThanLinksFinishAtOnceAndEveryCountdownLineComesOnce) {
  Site.AddName(fixture::MakeSiteName("Ten", 1, 10, fixture::MakeJpeg(1024, 768), 100, {"1024x768"}));
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(12);
  ASSERT_TRUE(RunName("Ten"));
  const QStringList log = LogLines();
  EXPECT_TRUE(log.contains("Thread #11 INDEX 10 OUT of Range: 10/10"));
  EXPECT_TRUE(log.contains("Thread #12 INDEX 11 OUT of Range: 11/10"));
  QStringList countdown;
  for (int left = 11; left >= 0; --left) countdown << "LEFT THREADS: " + QString::number(left);
  EXPECT_EQ(Matching(log, "LEFT THREADS: "), countdown);
  EXPECT_EQ(form.Found->text(), "Found: 10");
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
}

TEST_F(Form1Fixture, ANameOfBlanksStartsARunAndANameWithCapitalsAndApostropheKeepsThemInFolders) {
  Site.AddName(fixture::MakeSiteName("Sample O'Name", 1, 2, fixture::MakeJpeg(1024, 768), 500, {"1024x768"}));
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("   "));
  EXPECT_EQ(Site.Server().RequestCount(fixture::TFixtureSite::kMainHost, "/---/wallpapers/"), 2);
  EXPECT_EQ(form.Status->text(), "No Wallpapers Found!!!");
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);

  ASSERT_TRUE(RunName("Sample O'Name"));
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/Wallpapers/Sample O'Name/1024x768/Sample O'Name (500).jpg"));
  EXPECT_EQ(form.Found->text(), "Found: 2");
}

TEST_F(Form1Fixture, NarrowAndMissingImagesAreTriedAHundredTimesAndLeaveNothingOnDisk) {
  fixture::TSiteName name{"Edge Cases", "edge-cases", {{{"300", "1024x768", fixture::MakeJpeg(300, 200)},
                                                        {"299", "1024x768", fixture::MakeJpeg(299, 200)},
                                                        {"404", "1024x768", QByteArray()}}}};
  Site.AddName(name);
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(3);
  ASSERT_TRUE(RunName("Edge Cases"));
  const QString folder = WorkDir.path() + "/Wallpapers/Edge Cases/1024x768/";
  EXPECT_TRUE(QFile::exists(folder + "Edge Cases (300).jpg"));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Edge Cases (300).jpg"});
  const auto& server = Site.Server();
  for (const char* id : {"299", "404"}) {
    EXPECT_EQ(server.RequestCount(fixture::TFixtureSite::kImageHost, fixture::TFixtureSite::ImageTarget("edge-cases", "1024x768", id)), 100) << id;
    EXPECT_TRUE(LogLines().contains(QString("Thread #%1  NOT LOADED: %2edge-cases/edge-cases-1024x768-%3.jpg")
                                        .arg(QString(id) == "299" ? 1 : 3)  // the sorted links: 299, 300, 404
                                        .arg(Site.ImageHostUrl(), id)))
        << id;
  }
  EXPECT_EQ(form.Found->text(), "Found: 1");
  EXPECT_EQ(Rows(*form.ListView3), QStringList(3, "Finished!"));
}

TEST_F(Form1Fixture, NoLinksEndsTheRunAndOnlyInBatchModeStartsTheWorkersEmpty) {
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(3);
  ASSERT_TRUE(RunName("Nobody"));
  EXPECT_EQ(form.Status->text(), "No Wallpapers Found!!!");
  EXPECT_FALSE(QDir(WorkDir.path() + "/Wallpapers").exists());
  EXPECT_EQ(form.ListView3->topLevelItemCount(), 0);

  form.BatchMode = true;
  ASSERT_TRUE(RunName("Nobody"));
  EXPECT_EQ(form.Status->text(), "Loading Wallpapers...");
  EXPECT_TRUE(QDir(WorkDir.path() + "/Wallpapers/Nobody/1920x1200").exists());
  const QStringList log = LogLines();
  EXPECT_TRUE(log.contains("Thread #1 INDEX 0 OUT of Range: 0/0"));
  EXPECT_EQ(Matching(log, "LEFT THREADS: ").last(), "LEFT THREADS: 0");
  EXPECT_EQ(Rows(*form.ListView3), QStringList(3, "Finished!"));
}

TEST_F(Form1Fixture, InBatchModeTheEndRecordsTheEntryInsteadOfOpeningTheFolder) {
  Site.AddName(fixture::MakeSiteName("Batched", 1, 3, fixture::MakeJpeg(1024, 768), 20, {"1024x768"}));
  ui::TForm1& form = Open();
  form.ListView1->AddItem("Other");
  QTreeWidgetItem* entry = form.ListView1->AddItem("Batched");
  entry->setCheckState(0, Qt::Checked);
  form.ListView1->SetImageIndex(entry, 0);
  form.BatchMode = true;
  form.BatchIDX = 1;
  ASSERT_TRUE(RunName("Batched"));
  EXPECT_EQ(entry->text(1), "3");
  EXPECT_EQ(entry->text(2), "Yes");
  EXPECT_EQ(entry->checkState(0), Qt::Unchecked);
  EXPECT_EQ(ui::TListView::ImageIndex(entry), 1);
  EXPECT_EQ(LogLines().last(), "BATCH Mode: ON, Selecting Next Task...  ");
  EXPECT_EQ(Platform.Count(Kind::Open), 0);
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
}

TEST_F(Form1Fixture, ASecondRunOfTheSameNameFetchesNoImage) {
  Site.AddName(fixture::MakeSiteName("Again", 1, 6, fixture::MakeJpeg(1024, 768), 700, {"1024x768"}));
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("Again"));
  Site.Server().ClearLog();
  ASSERT_TRUE(RunName("Again"));
  for (const auto& r : Site.Server().Requests()) EXPECT_NE(r.Host, fixture::TFixtureSite::kImageHost) << r.Target.constData();
  EXPECT_EQ(form.Found->text(), "Found: 6");
  EXPECT_EQ(Platform.Count(Kind::Open), 2);
}

TEST_F(Form1Fixture, StopDuringTheSearchStartsNoWorkerAndLeavesTheWindowDone) {
  Site.AddName(fixture::MakeSiteName("Slow", 1, 3, fixture::MakeJpeg(1024, 768), 1, {"1024x768"}));
  fixture::TResponse silent;
  silent.Fault = fixture::TFault::Silent;
  Site.Server().SetRoute(fixture::TFixtureSite::kMainHost, fixture::TFixtureSite::ListingTarget("slow", 1), silent);
  Environment.Fetch.DataTimeout = std::chrono::milliseconds(300);
  ui::TForm1& form = Open();
  form.NameEdit->setEditText("Slow");
  form.Button1Click();
  ASSERT_TRUE(PumpUntil([&] { return Site.Server().ConnectionCount() >= 1; }));
  form.Button1Click();
  EXPECT_FALSE(form.Working);
  ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0; }));
  EXPECT_EQ(form.Status->text(), "Done");
  EXPECT_EQ(form.Label2->text(), "100%");
  EXPECT_EQ(form.Progress->value(), form.Progress->maximum());
  EXPECT_TRUE(form.GroupBox1->isEnabled() && form.NameEdit->isEnabled() && form.SpinEdit1->isEnabled());
  EXPECT_EQ(form.ListView3->topLevelItemCount(), 0);
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
  EXPECT_FALSE(QDir(WorkDir.path() + "/Wallpapers").exists());
}

// The image host stays silent, so each worker hangs in its first fetch until stopped.
class StalledRun : public Form1Fixture {
 protected:
  void Stall(const QString& name, int links) {
    Site.AddName(fixture::MakeSiteName(name, 1, links, fixture::MakeJpeg(1024, 768), 9000, {"1024x768"}));
    fixture::TResponse silent;
    silent.Fault = fixture::TFault::Silent;
    Site.Server().SetFallback(fixture::TFixtureSite::kImageHost, silent);
    for (int i = 0; i < links; ++i)
      Site.Server().SetRoute(fixture::TFixtureSite::kImageHost,
                             fixture::TFixtureSite::ImageTarget(fixture::SiteSlug(name), "1024x768", QString::number(9000 + i)),
                             silent);
    Environment.Fetch.DataTimeout = std::chrono::milliseconds(500);
  }
  bool WaitForImageRequests(int n) {
    return PumpUntil([&] {
      int count = 0;
      for (const auto& r : Site.Server().Requests()) count += r.Host == fixture::TFixtureSite::kImageHost;
      return count >= n;
    });
  }
};

TEST_F(StalledRun, StopDuringTheDownloadFinishesEveryWorkerOpensTheFolderOnceAndChimesOnce) {
  Stall("Stuck", 3);
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(3);
  form.NameEdit->setEditText("Stuck");
  form.Button1Click();
  ASSERT_TRUE(WaitForImageRequests(3));
  form.Button1Click();
  ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0; }));
  EXPECT_EQ(Rows(*form.ListView3), QStringList(3, "Finished!"));
  const QStringList log = LogLines();
  EXPECT_EQ(Matching(log, "LEFT THREADS: ").last(), "LEFT THREADS: 0");
  EXPECT_EQ(Matching(log, "Thread #1  NOT LOADED: ").size(), 1);
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
  EXPECT_EQ(Platform.Count(Kind::Open), 1);
  EXPECT_EQ(form.Found->text(), "Found:");
}

TEST_F(StalledRun, ANewRunIsNotCountedDownByTheLateNoticesOfAStoppedOne) {
  Stall("Stuck", 2);
  Environment.Fetch.DataTimeout = std::chrono::seconds(2);  // the old workers outlive the new run
  Site.AddName(fixture::MakeSiteName("Fresh", 1, 4, fixture::MakeJpeg(1024, 768), 300, {"1024x768"}));
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(2);
  form.NameEdit->setEditText("Stuck");
  form.Button1Click();
  ASSERT_TRUE(WaitForImageRequests(2));
  form.Button1Click();  // stop: the two workers are still inside their fetch
  ASSERT_TRUE(RunName("Fresh"));

  const QStringList log = LogLines();
  EXPECT_EQ(Matching(log, "LEFT THREADS: "), (QStringList{"LEFT THREADS: 1", "LEFT THREADS: 0"}));
  EXPECT_EQ(Matching(log, "Thread #1  NOT LOADED"), QStringList());
  EXPECT_EQ(form.Found->text(), "Found: 4");
  EXPECT_FALSE(QDir(WorkDir.path() + "/Wallpapers/Stuck/1024x768").entryList(QDir::Files).size() > 0);
  // Only the current run's end opens a folder; the replaced run ends nothing.
  ASSERT_EQ(Platform.Count(Kind::Open), 1);
  EXPECT_EQ(Platform.Calls().back().Text, WorkDir.path() + "/Wallpapers/Fresh");
}

TEST_F(StalledRun, TheRunsNameIsFixedWhenStartIsPressed) {
  Site.AddName(fixture::MakeSiteName("First", 1, 4, fixture::MakeJpeg(1024, 768), 10, {"1024x768"}));
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(1);
  form.NameEdit->setEditText("First");
  form.Button1Click();
  // As a pick in the batch list would do while the run goes on.
  form.NameEdit->setEditText("Other");
  ASSERT_TRUE(PumpUntil([&] { return !form.Working && task::LiveThreadCount() == 0; }));
  EXPECT_EQ(QDir(WorkDir.path() + "/Wallpapers/First/1024x768").entryList(QDir::Files).size(), 4);
  EXPECT_FALSE(QDir(WorkDir.path() + "/Wallpapers/Other").exists());
  ASSERT_EQ(Platform.Count(Kind::Open), 1);
  EXPECT_EQ(Platform.Calls().back().Text, WorkDir.path() + "/Wallpapers/First");
}

TEST_F(StalledRun, StartAndStopPressedAgainAndAgainNeverCrashHangOrMiscount) {
  Stall("Stuck", 3);
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(3);
  form.NameEdit->setEditText("Stuck");
  for (int i = 0; i < 40; ++i) {
    form.Button1Click();
    QCoreApplication::processEvents();
    task::CheckSynchronize();
  }
  // An even number of presses: the last one stopped.
  EXPECT_FALSE(form.Working);
  ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0; }));
  EXPECT_EQ(form.Button1->text(), "Start");
  EXPECT_TRUE(form.NameEdit->isEnabled());
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 20);
  // A clean run after all of that counts down exactly once per worker.
  Site.AddName(fixture::MakeSiteName("Fresh", 1, 3, fixture::MakeJpeg(1024, 768), 300, {"1024x768"}));
  ASSERT_TRUE(RunName("Fresh"));
  EXPECT_EQ(Matching(LogLines(), "LEFT THREADS: "),
            (QStringList{"LEFT THREADS: 2", "LEFT THREADS: 1", "LEFT THREADS: 0"}));
}

TEST_F(StalledRun, ClosingTheWindowDuringARunEndsEveryThreadWithoutWaitingForTheServer) {
  Stall("Stuck", 50);
  Environment.Fetch.DataTimeout = std::chrono::seconds(90);
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(50);
  form.NameEdit->setEditText("Stuck");
  form.Button1Click();
  ASSERT_TRUE(WaitForImageRequests(50));
  Form.reset();  // the window's destruction: shut-down
  EXPECT_EQ(task::LiveThreadCount(), 0);
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/Settings.ini"));
}

TEST_F(Form1Fixture, TheClockCountsWhileWorkingAndStopsAtTheFirstTickAfter) {
  ui::TForm1& form = Open();
  form.Working = true;
  form.Minutes = 0;
  form.Seconds = 58;
  form.Timer1->start();
  form.Timer1Timer();
  EXPECT_EQ(form.Label4->text(), "Time: 0 m. 59 s.");
  form.Timer1Timer();
  EXPECT_EQ(form.Label4->text(), "Time: 1 m. 0 s.");
  form.Working = false;
  form.Timer1Timer();
  EXPECT_EQ(form.Label4->text(), "Time: 1 m. 0 s.");
  EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(Form1Fixture, ThePreviewOpensCurrentPathAndShowsTheMagnifierOnHover) {
  ui::TForm1& form = Open();
  EXPECT_FALSE(form.Image10->isVisible());
  ASSERT_EQ(form.CurrentPath, WorkDir.path());
  form.Image1MouseDown(Qt::LeftButton);
  form.Image1MouseDown(Qt::RightButton);
  form.Image1MouseDown(Qt::MiddleButton);
  const auto calls = Platform.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Kind, Kind::Open);
  EXPECT_EQ(calls[0].Text, WorkDir.path());
  EXPECT_EQ(calls[1].Kind, Kind::ShowSelected);
  EXPECT_EQ(calls[1].Text, WorkDir.path());
  form.show();
  emit form.Image1->MouseEnter();
  EXPECT_TRUE(form.Image10->isVisible());
  emit form.Image1->MouseLeave();
  EXPECT_FALSE(form.Image10->isVisible());
}

}  // namespace
