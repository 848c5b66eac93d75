// The thumbnail pass against the fixture site, with a recording view standing
// in for the catalogue on the window.
#include "download/ThumbnailPass.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "common/QtPrint.h"
#include "common/SmallFileSystem.h"
#include "download/Jpeg.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"

namespace {

using namespace std::chrono_literals;
using fixture::TFixtureSite;

// The catalogue as a list of captions; every call is recorded in order, as
// "Label5:...", "State:<i> <caption> Busy|Stored|Failed", "Show:<caption>",
// "Log:...". `OnLog` lets a case act at a log line (the pass's page address
// comes just before its fetches).
class TRecordingView : public download::TThumbnailView {
 public:
  explicit TRecordingView(QStringList items) : Items(std::move(items)) {}

  int ItemCount() override {
    std::lock_guard lock(Mutex);
    return int(Items.size());
  }
  std::optional<QString> Caption(int i) override {
    std::lock_guard lock(Mutex);
    if (i < 0 || i >= Items.size()) return std::nullopt;
    return Items[i];
  }
  void ShowProgress(const QString& caption) override { Record("Label5:" + caption); }
  void SetState(int i, const QString& caption, download::TThumbState state) override {
    static const char* const names[] = {"Busy", "Stored", "Failed"};
    Record("State:" + QString::number(i) + ' ' + caption + ' ' + names[int(state)]);
  }
  bool ShowThumbnail(const QString& caption, const QString& path) override {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !download::ReadWholeJpeg(file.readAll())) return false;
    Record("Show:" + caption);
    return true;
  }
  void AddLog(const QString& line) override {
    Record("Log:" + line);
    if (OnLog) OnLog(line);
  }

  QStringList Calls() const {
    std::lock_guard lock(Mutex);
    return Recorded;
  }
  QStringList Only(const QString& kind) const {
    QStringList out;
    for (const QString& call : Calls())
      if (call.startsWith(kind + ':')) out << call.mid(kind.size() + 1);
    return out;
  }
  void Append(const QString& caption) {
    std::lock_guard lock(Mutex);
    Items << caption;
  }

  std::function<void(const QString&)> OnLog;

 private:
  void Record(const QString& call) {
    std::lock_guard lock(Mutex);
    Recorded << call;
  }

  mutable std::mutex Mutex;
  QStringList Items;
  QStringList Recorded;
};

class ThumbnailPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WorkDir.isValid());
    Settings.Dir = WorkDir.path();
    Settings.Urls = Site.Urls();
    Settings.Fetch.DataTimeout = 5s;
  }

  QString AllGirls() const { return WorkDir.path() + "/AllGirls"; }
  bool MakeAllGirls() const { return QDir(WorkDir.path()).mkpath("AllGirls"); }
  void Run(TRecordingView& view) { download::TThumbnailPass(Settings, view, Alive, Terminating).Run(); }
  int Requests(int host) const {
    int count = 0;
    for (const fixture::TRequestRecord& r : Site.Server().Requests()) count += r.Host == host;
    return count;
  }

  TFixtureSite Site;
  QTemporaryDir WorkDir;
  download::TThumbnailSettings Settings;
  std::atomic<bool> Alive{true};
  std::atomic<bool> Terminating{false};
};

TEST_F(ThumbnailPassTest, EachNameEndsStoredFailedOrBusyAndThePassGoesOn) {
  const QByteArray jpeg = fixture::MakeJpeg(640, 480);
  const QString slashed = "Ann/Two";  // a "/" is written as U+2215 in the file's name
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 2, jpeg, 52001, {"1920x1200"}));
  Site.AddName(fixture::MakeSiteName(slashed, 1, 1, jpeg, 300));
  Site.AddName(fixture::MakeSiteName("Bea 404", 1, 1, QByteArray()));  // the image host answers 404
  Site.AddName(fixture::MakeSiteName("Cy Narrow", 1, 1, fixture::MakeJpeg(200, 150)));
  ASSERT_TRUE(MakeAllGirls());
  QFile present(AllGirls() + "/Had One.jpg");
  ASSERT_TRUE(present.open(QIODevice::WriteOnly));
  present.write(jpeg);
  present.close();
  QFile broken(AllGirls() + "/Broken.jpg");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("no picture");
  broken.close();
  const QString withNul = QString("Nul") + QChar(0) + "Name";
  const QString tooLong(300, u'x');

  TRecordingView view({"Had One", withNul, "Ann One", "Broken", tooLong, "No Page", slashed, "Bea 404", "Cy Narrow"});
  Run(view);

  const QString main = Site.MainSiteUrl();
  EXPECT_EQ(view.Only("State"), (QStringList{"0 Had One Stored", "1 " + withNul + " Failed", "2 Ann One Busy",
                                             "2 Ann One Stored", "3 Broken Failed", "4 " + tooLong + " Failed",
                                             "5 No Page Busy", "6 " + slashed + " Busy", "6 " + slashed + " Stored",
                                             "7 Bea 404 Busy", "7 Bea 404 Failed", "8 Cy Narrow Busy",
                                             "8 Cy Narrow Failed"}));
  EXPECT_EQ(view.Only("Log"),
            (QStringList{"ERR: Can not save - " + withNul + " (no file name can hold the name)",
                         main + "/ann-one/wallpapers/", "ERR: Can not read - " + AllGirls() + "/Broken.jpg",
                         "ERR: Can not save - " + tooLong + " (no file name can hold the name)",
                         main + "/no-page/wallpapers/", main + "/ann/two/wallpapers/", main + "/bea-404/wallpapers/",
                         "ERR: Can not load - Bea 404 (no JPEG picture)", main + "/cy-narrow/wallpapers/",
                         "ERR: Can not load - Cy Narrow (only 200 pixels wide)"}));
  EXPECT_EQ(view.Only("Show"), (QStringList{"Had One", "Ann One", slashed}));
  EXPECT_EQ(view.Only("Label5").first(), "Image: 1 of 9");
  EXPECT_EQ(view.Only("Label5").last(), "Image: 9 of 9");

  QFile stored(AllGirls() + "/Ann One.jpg");
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), jpeg);  // the bytes as sent
  EXPECT_TRUE(QFile::exists(AllGirls() + "/Ann" + QChar(0x2215) + "Two.jpg"));
  EXPECT_FALSE(QFile::exists(AllGirls() + "/Bea 404.jpg"));
  EXPECT_FALSE(QFile::exists(AllGirls() + "/Cy Narrow.jpg"));
  // Names that cannot be stored cost no request; the others the limits.
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, "/no-page/wallpapers/"), download::TThumbnailPass::kLinkCalls);
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kImageHost, TFixtureSite::ImageTarget("cy-narrow", "1280x1024", "1001")),
            download::TThumbnailPass::kImageCalls);
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kImageHost,
                                       TFixtureSite::ImageTarget("ann-one", "1920x1200", "52001")),
            1);
  for (const fixture::TRequestRecord& r : Site.Server().Requests()) {
    EXPECT_FALSE(r.Target.contains("nul")) << r.Target.toStdString();
    EXPECT_FALSE(r.Target.contains("xxx")) << r.Target.toStdString();
  }
}

TEST_F(ThumbnailPassTest, WithoutTheFolderThePassEndsBeforeAnyRequest) {
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, fixture::MakeJpeg(640, 480)));
  const struct {
    const char* Name;
    bool FileInstead;
    const char* Reason;
  } cases[] = {{"no AllGirls", false, "No such file or directory"}, {"a file named AllGirls", true, "Not a directory"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Site.Server().ClearLog();
    QFile::remove(AllGirls());
    if (c.FileInstead) {
      QFile file(AllGirls());
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString withNul = QString("A") + QChar(0);
    TRecordingView view({withNul, "Ann One", "Bea Two"});
    Run(view);
    EXPECT_EQ(view.Only("Log"), (QStringList{"ERR: Can not save - " + withNul + " (no file name can hold the name)",
                                             "ERR: Can not save thumbnails - " + AllGirls() + ": " + c.Reason}));
    EXPECT_EQ(view.Only("State"), QStringList{"0 " + withNul + " Failed"});
    EXPECT_EQ(view.Only("Label5").last(), "Image: 2 of 3");  // the pass ended there
    EXPECT_TRUE(Site.Server().Requests().empty());
  }
}

TEST_F(ThumbnailPassTest, APageThatNeverArrivesIsLoggedWhyAndThePassGoesOn) {
  ASSERT_TRUE(MakeAllGirls());
  fixture::TResponse closing;
  closing.Fault = fixture::TFault::CloseAtOnce;
  Site.Server().SetRoute(TFixtureSite::kMainHost, "/gone/wallpapers/", closing);
  Site.AddName(fixture::MakeSiteName("After", 1, 1, fixture::MakeJpeg(640, 480)));
  TRecordingView view({"Gone", "After"});
  Run(view);
  const QStringList log = view.Only("Log");
  ASSERT_EQ(log.size(), 3) << log.join('\n').toStdString();
  EXPECT_TRUE(log[1].startsWith("ERR: Can not load page - " + Site.MainSiteUrl() + "/gone/wallpapers/ (")) << log[1].toStdString();
  EXPECT_EQ(view.Only("State"), (QStringList{"0 Gone Busy", "1 After Busy", "1 After Stored"}));
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, "/gone/wallpapers/"), download::TThumbnailPass::kLinkCalls);
}

// Stopped while it looks for the link the name keeps its busy icon and
// nothing is said; stopped while its picture is fetched it fails, saying so.
TEST_F(ThumbnailPassTest, AStopEndsTheLoopInProgressAndThePass) {
  ASSERT_TRUE(MakeAllGirls());
  fixture::TResponse silent;
  silent.Fault = fixture::TFault::Silent;
  Site.AddName(fixture::MakeSiteName("Picture", 1, 1, fixture::MakeJpeg(640, 480)));
  Site.Server().SetRoute(TFixtureSite::kMainHost, "/link/wallpapers/", silent);
  Site.Server().SetRoute(TFixtureSite::kImageHost, TFixtureSite::ImageTarget("picture", "1280x1024", "1001"), silent);
  const struct {
    const char* Name;
    QString Caption;
    int Host;  // the stop comes once this host has a request
    QStringList States;
    QStringList Log;
  } cases[] = {
      {"in the link loop", "Link", TFixtureSite::kMainHost, {"0 Link Busy"}, {Site.MainSiteUrl() + "/link/wallpapers/"}},
      {"in the image loop", "Picture", TFixtureSite::kImageHost, {"0 Picture Busy", "0 Picture Failed"},
       {Site.MainSiteUrl() + "/picture/wallpapers/",
        "ERR: Can not load - Picture (" + Site.ImageHostUrl().mid(7).chopped(1) + ": stopped)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Site.Server().ClearLog();
    Alive = true;
    TRecordingView view({c.Caption, "Never Visited"});
    // Bounded, so a pass that never asks the host still ends; the request
    // count below then says what went wrong.
    std::thread stopper([&] {
      const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (Requests(c.Host) == 0 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
      Alive = false;
    });
    Run(view);
    stopper.join();
    EXPECT_EQ(view.Only("State"), c.States);
    EXPECT_EQ(view.Only("Log"), c.Log);
    EXPECT_EQ(Requests(c.Host), 1);  // the loop ended at the call in progress
    EXPECT_FALSE(QFile::exists(AllGirls() + "/" + c.Caption + ".jpg"));
  }
}

TEST_F(ThumbnailPassTest, NamesAddedDuringThePassAreVisitedToo) {
  ASSERT_TRUE(MakeAllGirls());
  for (const char* name : {"A.jpg", "B.jpg"}) {
    QFile f(AllGirls() + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(fixture::MakeJpeg(320, 240));
  }
  // "Load Girls" appends while the pass shows A.
  class TGrowingView : public TRecordingView {
   public:
    using TRecordingView::TRecordingView;
    std::function<void()> OnShow;
    bool ShowThumbnail(const QString& caption, const QString& path) override {
      const bool shown = TRecordingView::ShowThumbnail(caption, path);
      if (OnShow) OnShow();
      return shown;
    }
  } growing({"A"});
  bool appended = false;
  growing.OnShow = [&] {
    if (!appended) growing.Append("B");
    appended = true;
  };
  Run(growing);
  EXPECT_EQ(growing.Only("Label5"), (QStringList{"Image: 1 of 1", "Image: 2 of 2"}));
  EXPECT_EQ(growing.Only("State"), (QStringList{"0 A Stored", "1 B Stored"}));
  EXPECT_TRUE(Site.Server().Requests().empty());
}

TEST_F(ThumbnailPassTest, AFolderThatTakesNoFileEndsThePass) {
  ASSERT_TRUE(MakeAllGirls());
  testfs::TSmallFileSystem disk(AllGirls(), 1024);
  if (!disk.Mounted() || !disk.MakeReadOnly()) GTEST_SKIP() << "no file system can be mounted here";
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, fixture::MakeJpeg(640, 480)));
  TRecordingView view({"Ann One", "Bea Two"});
  Run(view);
  EXPECT_EQ(view.Only("State"), (QStringList{"0 Ann One Busy", "0 Ann One Failed"}));
  const QStringList log = view.Only("Log");
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[1], "ERR: Can not save - " + AllGirls() + "/Ann One.jpg: Read-only file system");
  EXPECT_EQ(view.Only("Label5").last(), "Image: 1 of 2");
}

TEST_F(ThumbnailPassTest, NothingHappensOnceTheViewHasNoItemsOrTheProgramCloses) {
  ASSERT_TRUE(MakeAllGirls());
  TRecordingView empty({});
  Run(empty);
  EXPECT_TRUE(empty.Calls().isEmpty());
  Terminating = true;
  TRecordingView closing({"Ann One"});
  Run(closing);
  EXPECT_TRUE(closing.Calls().isEmpty());
  EXPECT_TRUE(Site.Server().Requests().empty());
}

}  // namespace
