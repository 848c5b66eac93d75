// The main window against a site that misbehaves and a disk that fails: every
// wait ends, every failure is said once, and nothing on disk is lost.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include "control/window/Form1TestSupport.h"
#include "common/SmallFileSystem.h"
#include "download/FileStore.h"
#include "fixture/Jpeg.h"
#include "task/Thread.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

using namespace form1test;
using namespace std::chrono_literals;
using fixture::TFault;
using fixture::TFixtureSite;
using fixture::TFraming;
using fixture::TResponse;
using Kind = ui::TPlatformCall::TKind;

namespace {

QStringList Matching(const QStringList& lines, const QString& part) {
  QStringList out;
  for (const QString& l : lines)
    if (l.contains(part)) out << l;
  return out;
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file under `folder` whose name is one of our temporary files.
QStringList Temporaries(const QString& folder) {
  QStringList found;
  for (const QString& entry : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    const QString path = folder + "/" + entry;
    if (QFileInfo(path).isDir())
      found << Temporaries(path);
    else if (download::IsTemporaryFileName(entry))
      found << path;
  }
  return found;
}

class HostileSite : public Form1Fixture {
 protected:
  QString LastMessage() const {
    QString text;
    for (const auto& call : Platform.Calls())
      if (call.Kind == Kind::ShowMessage) text = call.Text;
    return text;
  }
  // A name of `links` wallpapers of 1024x768, ids from 5000.
  QByteArray AddName(const QString& name, int links) {
    const QByteArray jpeg = fixture::MakeJpeg(1024, 768, 7);
    Site.AddName(fixture::MakeSiteName(name, 1, links, jpeg, 5000, {"1024x768"}));
    return jpeg;
  }
  void ImageAnswer(const QString& name, int id, const TResponse& response) {
    Site.Server().SetRoute(TFixtureSite::kImageHost,
                           TFixtureSite::ImageTarget(fixture::SiteSlug(name), "1024x768", QString::number(id)), response);
  }
  int ImageRequests(const QString& name, int id) const {
    return Site.Server().RequestCount(TFixtureSite::kImageHost,
                                      TFixtureSite::ImageTarget(fixture::SiteSlug(name), "1024x768", QString::number(id)));
  }
  QString WallpaperFile(const QString& name, int id) const {
    return Environment.Dir + "/Wallpapers/" + name + "/1024x768/" + name + " (" + QString::number(id) + ").jpg";
  }
  // Presses Start and waits for the run's end.
  bool Run(const QString& name) {
    Form->NameEdit->setEditText(name);
    Form->Button1Click();
    return PumpUntil([&] { return !Form->Working && task::LiveThreadCount() == 0; });
  }
};

// Only the Stop can end these fetches: every bound is an hour.
TEST_F(HostileSite, StopEndsARunAtOnceWhereverItsFetchesWait) {
  Environment.Fetch.ConnectTimeout = Environment.Fetch.DataTimeout = Environment.Fetch.LowSpeedWindow = 1h;
  TResponse silent;
  silent.Fault = TFault::Silent;
  TResponse trickle;
  trickle.Body = fixture::MakeJpeg(1024, 768);
  trickle.Fault = TFault::Trickle;
  trickle.PieceGap = 20ms;
  const struct {
    const char* Name;
    int Host;  // which host stalls
    TResponse Response;
  } cases[] = {
      {"a silent listing page", TFixtureSite::kMainHost, silent},
      {"a silent image host", TFixtureSite::kImageHost, silent},
      {"a trickling image host", TFixtureSite::kImageHost, trickle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Site.Server().ClearLog();
    Site.AddName(fixture::MakeSiteName("Stuck", 1, 3, fixture::MakeJpeg(1024, 768), 5000, {"1024x768"}));
    if (c.Host == TFixtureSite::kMainHost)
      Site.Server().SetRoute(c.Host, TFixtureSite::ListingTarget("stuck", 1), c.Response);
    else
      for (int id = 5000; id < 5003; ++id) ImageAnswer("Stuck", id, c.Response);
    ui::TForm1& form = Open();
    form.SpinEdit1->setValue(3);
    form.NameEdit->setEditText("Stuck");
    form.Button1Click();
    ASSERT_TRUE(PumpUntil([&] { return Site.Server().ConnectionCount(c.Host) >= (c.Host ? 3 : 1); }));
    form.Button1Click();
    ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0; })) << "a fetch outlived its Stop";
    // Workers that were still finishing left the bar as the Stop filled it.
    EXPECT_EQ(form.Status->text(), "Done");
    EXPECT_EQ(form.Label2->text(), "100%");
    EXPECT_EQ(form.Progress->value(), form.Progress->maximum());
    Form.reset();
  }
}

// A trickle never lets a single wait run out, but it stays under the floor;
// the picture arrives once the host answers properly.
TEST_F(HostileSite, ATrickleFailsLikeSilenceAndTheNextTryGetsThePicture) {
  Environment.Fetch.LowSpeedWindow = 300ms;
  const QByteArray jpeg = AddName("Slow", 1);
  TResponse trickle;
  trickle.Body = jpeg;
  trickle.Fault = TFault::Trickle;
  trickle.PieceGap = 20ms;
  trickle.FaultTimes = 2;
  ImageAnswer("Slow", 5000, trickle);
  Open();
  ASSERT_TRUE(Run("Slow"));
  EXPECT_EQ(Read(WallpaperFile("Slow", 5000)), jpeg);
  EXPECT_EQ(ImageRequests("Slow", 5000), 3);
}

// A host that never answers the connection attempt: each try ends at the bound
// and the log says why the name found nothing.
TEST_F(HostileSite, ASilentConnectIsBoundedAndSaysSo) {
  Environment.Fetch.ConnectTimeout = 10ms;
  Environment.Site.MainSiteUrl = Site.Server().SilentConnectUrl();
  Open();
  ASSERT_TRUE(Run("Anyone"));
  EXPECT_EQ(Form->Status->text(), "Site Not Reachable!!!");
  const QString page = Environment.Site.MainSiteUrl + "/anyone/wallpapers/";
  EXPECT_EQ(Matching(LogLines(), "ERR: Can not load page - "),
            QStringList{"ERR: Can not load page - " + page + " (" + Environment.Site.MainSiteUrl.mid(7) +
                        ": no connection within 10 ms)"});
}

// What no retry can mend is asked for once, not a hundred times, and said why.
TEST_F(HostileSite, AnOversizedPageOrPictureIsAskedForOnceAndSaysWhy) {
  Environment.Fetch.MaxPageBytes = 64 * 1024;
  Environment.Fetch.MaxPictureBytes = 1024 * 1024;
  AddName("Big Page", 1);
  TResponse huge;
  huge.Body = QByteArray(100 * 1024, '\n');
  Site.Server().SetRoute(TFixtureSite::kMainHost, TFixtureSite::ListingTarget("big-page", 1), huge);

  const QByteArray jpeg = AddName("Big Picture", 3);
  TResponse announced;  // a length over the cap, and far less sent
  announced.Body = jpeg;
  announced.Framing = TFraming::CloseDelimited;
  announced.Headers = {{"Content-Length", "999999999"}};
  ImageAnswer("Big Picture", 5000, announced);
  TResponse sent;  // a body over the cap without any length
  sent.Body = QByteArray(2 * 1024 * 1024, 'x');
  sent.Framing = TFraming::CloseDelimited;
  ImageAnswer("Big Picture", 5001, sent);

  Open();
  ASSERT_TRUE(Run("Big Page"));
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, TFixtureSite::ListingTarget("big-page", 1)), 2);
  EXPECT_EQ(Matching(LogLines(), "ERR: Can not load page - ").size(), 1);
  EXPECT_TRUE(Matching(LogLines(), "ERR: Can not load page - ").value(0).endsWith(": larger than 64 KiB)"));

  ASSERT_TRUE(Run("Big Picture"));
  const QStringList log = LogLines();
  EXPECT_EQ(ImageRequests("Big Picture", 5000), 1);
  EXPECT_EQ(ImageRequests("Big Picture", 5001), 1);
  EXPECT_EQ(Matching(log, ": larger than 1 MiB").size(), 2) << log.join('\n').toStdString();
  EXPECT_EQ(Matching(log, "NOT LOADED").size(), 2);
  EXPECT_EQ(Read(WallpaperFile("Big Picture", 5002)), jpeg);
}

// Over HTTP/1.0 a body ends when the server closes: a server that closes early
// leaves a picture with an intact header, which is never stored.
TEST_F(HostileSite, ATruncatedPictureWithoutALengthIsNeverKept) {
  const QByteArray jpeg = AddName("Cut", 2);
  TResponse cut;
  cut.Body = jpeg;
  cut.Framing = TFraming::CloseDelimited;
  cut.Fault = TFault::Truncate;
  ImageAnswer("Cut", 5000, cut);  // always cut
  cut.FaultTimes = 2;
  ImageAnswer("Cut", 5001, cut);  // whole on the third request
  Open();
  ASSERT_TRUE(Run("Cut"));
  EXPECT_FALSE(QFile::exists(WallpaperFile("Cut", 5000)));
  EXPECT_EQ(ImageRequests("Cut", 5000), 100);
  EXPECT_EQ(Read(WallpaperFile("Cut", 5001)), jpeg);
  EXPECT_EQ(Read(Environment.Dir + "/Wallpapers/Cut/Preview.jpg"), jpeg);
  EXPECT_TRUE(Temporaries(Environment.Dir).isEmpty());
}

// A progressive file with thousands of scans is a whole JPEG and kept, but it
// is never decoded past the scan limit, and never on the UI thread.
TEST_F(HostileSite, AScanBombIsKeptButNeverHoldsTheWindow) {
  const QByteArray bomb = fixture::MakeJpegScanBomb(1600, 1200, 3000);
  Site.AddName(fixture::MakeSiteName("Bomb", 1, 1, bomb, 5000, {"1024x768"}));
  Open();
  ASSERT_TRUE(Run("Bomb"));
  EXPECT_EQ(Read(Environment.Dir + "/Wallpapers/Bomb/Preview.jpg"), bomb);
  EXPECT_FALSE(Form->Image1->HasPicture());

  // At start-up the window comes up before the preview is decoded, and
  // closing it abandons the decode.
  Form.reset();
  ASSERT_TRUE(download::WriteFileAtomically(Environment.Dir + "/Settings.ini", "[Last Session]\nName=Bomb\n"));
  Open();
  EXPECT_TRUE(Form->PreviewPending());
  Form.reset();
  EXPECT_EQ(task::LiveThreadCount(), 0);

  Open();
  ASSERT_TRUE(PreviewSettled(*Form));
  EXPECT_FALSE(Form->Image1->HasPicture());
  EXPECT_EQ(Form->CurrentPath, Environment.Dir + "/Wallpapers/Bomb/Preview.jpg");
}

// A killed run leaves its temporary files; the next run of the name removes
// those of the program's own pattern and nothing else.
TEST_F(HostileSite, LeftoversOfAKilledRunGoAndNothingElse) {
  const QByteArray jpeg = AddName("Left", 1);
  const QString folder = Environment.Dir + "/Wallpapers/Left";
  ASSERT_TRUE(QDir().mkpath(folder + "/1024x768"));
  const QStringList ours{folder + "/.Preview.jpg.ostrana-Ab12Cd", folder + "/1024x768/.Left (5000).jpg.ostrana-000aaa"};
  const QStringList theirs{folder + "/.hidden", folder + "/1024x768/.Left (5000).jpg.part"};
  for (const QString& path : ours + theirs) ASSERT_TRUE(download::WriteFileAtomically(path, "half"));
  Open();
  ASSERT_TRUE(Run("Left"));
  for (const QString& path : ours) EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
  for (const QString& path : theirs) EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
  EXPECT_EQ(Read(WallpaperFile("Left", 5000)), jpeg);
}

// The system may refuse a thread; the run still ends, and a batch goes on.
TEST_F(HostileSite, AThreadThatCannotBeMadeStillEndsTheRun) {
  AddName("Few Threads", 4);
  Open();
  Form->SpinEdit1->setValue(4);
  Form->NameEdit->setEditText("Few Threads");
  Form->Button1Click();
  // The search has its thread; two of the four workers will get none.
  ASSERT_TRUE(PumpUntil([&] { return Site.Server().ConnectionCount(TFixtureSite::kMainHost) >= 1; }));
  task::RefuseNextThreadCreations(2);
  ASSERT_TRUE(PumpUntil([&] { return !Form->Working && task::LiveThreadCount() == 0; }));
  task::RefuseNextThreadCreations(0);
  const QStringList log = LogLines();
  EXPECT_EQ(Matching(log, "ERR: the thread could not be started").size(), 2);
  EXPECT_EQ(Matching(log, "LEFT THREADS: ").last(), "LEFT THREADS: 0");
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 1);
  EXPECT_EQ(Platform.Count(Kind::Open), 1);

  // Without a thread for the search the run ends at once, saying why.
  task::RefuseNextThreadCreations(1);
  Form->Button1Click();
  task::RefuseNextThreadCreations(0);
  EXPECT_FALSE(Form->Working);
  EXPECT_EQ(Matching(LogLines(), "ERR: the search could not be started").size(), 1);
}

// Stopped at once, some workers end before their threads ever begin; each
// still counts down, so the run ends and its folder opens.
TEST_F(HostileSite, AStopBeforeTheWorkersBeginStillEndsTheRun) {
  AddName("Early", 50);
  Open();
  Form->SpinEdit1->setValue(50);
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    Platform.Clear();
    Form->ListView3->clear();  // filled again when the download phase begins
    Form->NameEdit->setEditText("Early");
    Form->Button1Click();
    ASSERT_TRUE(PumpUntil([&] { return Form->ListView3->topLevelItemCount() == 50; }));
    Form->Button1Click();
    ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0; }));
    ASSERT_TRUE(PumpUntil([&] { return Platform.Count(Kind::Open) == 1; }, 3s))
        << "the run never ended\n" << Form->Log->toPlainText().right(3000).toStdString();
    EXPECT_EQ(Matching(LogLines(), "LEFT THREADS: ").last(), "LEFT THREADS: 0");
  }
}

// An address that can never be fetched is said once, at start-up, and no run
// starts on it.
TEST_F(HostileSite, AnUnusableSiteAddressIsSaidAtStartUpAndRefusesRuns) {
  Environment.Site.ImageHostUrl = "https://images.ostrana.example/";
  Open();
  const QString problem = "The site address ImageHostUrl=https://images.ostrana.example/ in [Site] of Settings.ini "
                          "can not be used: not an http address.";
  ASSERT_TRUE(PumpUntil([&] { return Platform.Count(Kind::ShowMessage) == 1; }));
  EXPECT_EQ(Platform.Calls().back().Text, problem);
  Form->NameEdit->setEditText("Anyone");
  Form->Button1Click();
  EXPECT_FALSE(Form->Working);
  EXPECT_EQ(Platform.Count(Kind::ShowMessage), 2);
  EXPECT_EQ(Site.Server().ConnectionCount(), 0);
}

// A site that cannot be reached is not a name without wallpapers: the run says
// which, and why; a batch passes over such an entry, keeping it for later.
TEST_F(HostileSite, ASiteThatCannotBeReachedIsToldApartFromANameWithoutWallpapers) {
  Environment.Site.MainSiteUrl = Site.Server().RefusingUrl();
  Open();
  ASSERT_TRUE(Run("Anyone"));
  EXPECT_EQ(Form->Status->text(), "Site Not Reachable!!!");
  ASSERT_EQ(Platform.Count(Kind::ShowMessage), 1);
  EXPECT_EQ(LastMessage(), "The site could not be reached for \"Anyone\":\n" + Environment.Site.MainSiteUrl.mid(7) +
                               ": connection refused\n\nCheck the addresses in [Site] of Settings.ini, or try again later.");
  EXPECT_EQ(Matching(LogLines(), "ERR: Can not load page - ").size(), 1);
  EXPECT_EQ(Platform.Count(Kind::Open), 0);
}

TEST_F(HostileSite, ABatchPassesOverAnEntryWhoseSiteCannotBeReached) {
  const QByteArray jpeg = AddName("Fine", 1);
  TResponse closed;
  closed.Fault = TFault::CloseAtOnce;
  for (const char* slug : {"gone", "lost"}) Site.Server().SetRoute(TFixtureSite::kMainHost, TFixtureSite::ListingTarget(slug, 1), closed);
  Open();
  // Passed over first, so the batch must go on; and last, so it must still end.
  for (const char* name : {"Gone", "Fine", "Lost"}) {
    Form->Edit1->setText(name);
    Form->Button2Click();
  }
  Form->Button3Click();
  ASSERT_TRUE(PumpUntil([&] { return !Form->BatchMode && !Form->Working && task::LiveThreadCount() == 0; }));
  EXPECT_EQ(Platform.Count(Kind::ShowMessage), 0);  // nobody watches a batch
  ASSERT_EQ(Platform.Count(Kind::NotifyRunDone), 1);  // its end, though the last entry was passed over
  for (const auto& call : Platform.Calls())
    if (call.Kind == Kind::NotifyRunDone) {
      EXPECT_EQ(call.Notice.Names, 1);
      EXPECT_EQ(call.Notice.Unreached, 2);  // nobody watched: the notification says it
    }
  for (int i : {0, 2}) {
    const QTreeWidgetItem* gone = Form->ListView1->topLevelItem(i);
    EXPECT_EQ(gone->checkState(0), Qt::Checked) << i;
    EXPECT_EQ(gone->text(2), "No") << i;
  }
  const QTreeWidgetItem* fine = Form->ListView1->topLevelItem(1);
  EXPECT_EQ(fine->checkState(0), Qt::Unchecked);
  EXPECT_EQ(fine->text(2), "Yes");
  EXPECT_EQ(Read(WallpaperFile("Fine", 5000)), jpeg);
  // Asked for in this batch once each: its hundred tries, and the second asking.
  for (const char* slug : {"gone", "lost"})
    EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, TFixtureSite::ListingTarget(slug, 1)), 200) << slug;
}

// The built-in addresses reach no site; the first Start says so and how to mend it.
TEST_F(HostileSite, TheBuiltInAddressesAreSaidOnceAtStart) {
  Environment.Site = site::TSiteUrls();
  Environment.Fetch.ConnectTimeout = 10ms;
  Open();
  ASSERT_TRUE(Run("Anyone"));
  ASSERT_GE(Platform.Count(Kind::ShowMessage), 1);
  const QString notice = Platform.Calls().front().Text;
  EXPECT_TRUE(notice.startsWith("No site is configured: the built-in addresses (http://www.ostrana.example")) << notice.toStdString();
  EXPECT_TRUE(notice.contains(Environment.Dir + "/Settings.ini"));
  const int messages = Platform.Count(Kind::ShowMessage);
  ASSERT_TRUE(Run("Anyone"));
  EXPECT_EQ(Matching(LogLines(), "No site is configured").size(), 1);  // the first Start's line
  EXPECT_EQ(Platform.Count(Kind::ShowMessage), messages + 1);  // only the run's own "not reachable"
  // The first Start's notice already said why the site is away: one box.
  EXPECT_EQ(messages, 1);
}

// The working folder on a small file system of its own.
class FullDisk : public HostileSite {
 protected:
  void SetUp() override {
    HostileSite::SetUp();
    Environment.Dir = WorkDir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(Environment.Dir));
    Disk = std::make_unique<testfs::TSmallFileSystem>(Environment.Dir, 1024);
  }
  void TearDown() override {
    HostileSite::TearDown();
    Limit.reset();
    Disk.reset();
  }
  // Fills the disk, or where none could be mounted, limits the size of the
  // files this process writes; false when neither can be done.
  bool MakeFull(rlim_t limit) {
    if (Disk->Mounted()) return Disk->Fill();
    Limit = std::make_unique<testfs::TFileSizeLimit>(limit);
    return Limit->Set();
  }

  std::unique_ptr<testfs::TSmallFileSystem> Disk;
  std::unique_ptr<testfs::TFileSizeLimit> Limit;
};

TEST_F(FullDisk, SavesOnAFullDiskLeaveEveryFileAsItWasAndSaySo) {
  const QByteArray settings = "[Site]\nMainSiteUrl=" + Site.MainSiteUrl().toUtf8() +
                              "\n\n[Last Session]\nName=Someone\nThreads=7\n";
  const QByteArray batch = "[Ann]\nDone=No\nFound=0\nChecked=Yes\n";
  ASSERT_TRUE(download::WriteFileAtomically(Environment.Dir + "/Settings.ini", settings));
  ASSERT_TRUE(download::WriteFileAtomically(Environment.Dir + "/Batch.ini", batch));
  ui::TForm1& form = Open();
  ASSERT_TRUE(MakeFull(16));
  form.NameEdit->setEditText("Someone Else");
  form.Edit1->setText("Bea");
  form.Button2Click();
  EXPECT_EQ(Matching(LogLines(), "ERR: Can not save - " + Environment.Dir + "/Batch.ini: ").size(), 1);
  Form.reset();
  EXPECT_EQ(Read(Environment.Dir + "/Settings.ini"), settings);
  EXPECT_EQ(Read(Environment.Dir + "/Batch.ini"), batch);
  ASSERT_EQ(Platform.Count(Kind::ShowMessage), 1);
  EXPECT_TRUE(Platform.Calls().back().Text.startsWith("The settings could not be saved in \"" + Environment.Dir +
                                                      "/Settings.ini\": "));
  EXPECT_TRUE(Temporaries(Environment.Dir).isEmpty());
}

TEST_F(FullDisk, ARunOnAFullDiskStopsWithOneMessageAndKeepsWhatIsThere) {
  const QByteArray jpeg = AddName("Ann", 3);
  Open();
  ASSERT_TRUE(Run("Ann"));
  ASSERT_TRUE(QFile::remove(WallpaperFile("Ann", 5001)));
  ASSERT_TRUE(QFile::remove(WallpaperFile("Ann", 5002)));
  Site.Server().ClearLog();
  Platform.Clear();
  ASSERT_TRUE(MakeFull(1024));
  Form->SpinEdit1->setValue(1);
  ASSERT_TRUE(Run("Ann"));
  EXPECT_EQ(Read(WallpaperFile("Ann", 5000)), jpeg);
  EXPECT_EQ(Read(Environment.Dir + "/Wallpapers/Ann/Preview.jpg"), jpeg);
  EXPECT_FALSE(QFile::exists(WallpaperFile("Ann", 5001)));
  EXPECT_EQ(ImageRequests("Ann", 5001), 1);
  EXPECT_EQ(ImageRequests("Ann", 5002), 0);
  ASSERT_EQ(Platform.Count(Kind::ShowMessage), 1);
  const QString folder = Environment.Dir + "/Wallpapers/Ann/1024x768";
  EXPECT_TRUE(LastMessage().startsWith("Can not write into the folder \"" + folder + "\": "));
  EXPECT_TRUE(LastMessage().endsWith(".\nThe download has been stopped."));
  EXPECT_EQ(Form->Status->text(), "Done");
  EXPECT_TRUE(Temporaries(Environment.Dir).isEmpty());
}

TEST_F(FullDisk, AReadOnlyFolderStopsTheRunWithOneMessage) {
  const QByteArray jpeg = AddName("Bea", 2);
  const QString wallpapers = Environment.Dir + "/Wallpapers";
  ASSERT_TRUE(QDir().mkpath(wallpapers));
  testfs::TSmallFileSystem readOnly(wallpapers, 1024);
  if (!readOnly.Mounted()) GTEST_SKIP() << "no file system can be mounted here";
  for (const char* size : {"1024x768", "1152x864", "1280x800", "1280x960", "1280x1024", "1440x900", "1600x1200",
                           "1680x1050", "1920x1200"})
    ASSERT_TRUE(QDir().mkpath(wallpapers + "/Bea/" + size));
  ASSERT_TRUE(download::WriteFileAtomically(WallpaperFile("Bea", 5000), jpeg));
  ASSERT_TRUE(readOnly.MakeReadOnly());
  Open();
  Form->SpinEdit1->setValue(1);
  ASSERT_TRUE(Run("Bea"));
  EXPECT_EQ(Read(WallpaperFile("Bea", 5000)), jpeg);
  EXPECT_LE(ImageRequests("Bea", 5001), 1);
  ASSERT_EQ(Platform.Count(Kind::ShowMessage), 1);
  EXPECT_TRUE(LastMessage().contains(": Read-only file system.")) << LastMessage().toStdString();
  Form.reset();  // before the file system goes
}

}  // namespace
