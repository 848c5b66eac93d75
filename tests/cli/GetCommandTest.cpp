// ostrana-get end to end against the fixture site: the command in this process
// (so the race checker sees its threads), and the program itself for Ctrl-C.

#include "cli/GetCommand.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/Account.h"
#include "common/QtPrint.h"
#include "control/BatchList.h"
#include "control/FolderLock.h"
#include "download/DiskLayout.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"

namespace {

// A stream whose text the test reads afterwards.
class TCapture {
 public:
  TCapture() : Stream(open_memstream(&Data, &Size)) {}
  ~TCapture() {
    std::fclose(Stream);
    std::free(Data);
  }
  QString Text() {
    std::fflush(Stream);
    return QString::fromUtf8(Data, qsizetype(Size));
  }
  std::FILE* Stream;

 private:
  char* Data = nullptr;
  std::size_t Size = 0;
};

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class GetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    fixture::TSiteName name = fixture::MakeSiteName("Sample Name", 2, 4, fixture::MakeJpeg(640, 480), 1001,
                                                    {"1024x768", "1920x1200"});
    name.Pages[1][1].Image.clear();  // the site answers 404 for this one: 1006 at 1024x768
    Site.AddName(name);
    Site.SetNamesIndex({"Sample Name", "Ann Other"});
    WriteSettings(Site.MainSiteUrl());
  }
  void WriteSettings(const QString& mainSite) {
    Settings = "[Site]\nMainSiteUrl=" + mainSite.toUtf8() + "\nWallpaperHostUrl=" + Site.WallpaperHostUrl().toUtf8() +
               "\nImageHostUrl=" + Site.ImageHostUrl().toUtf8() +
               "\n\n[Last Session]\nThreads=4\n1024x768=Yes\n1920x1200=No\n";
    QFile f(download::SettingsFilePath(Dir.path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Settings);
  }
  int Run(QStringList args) {
    args << "--dir" << Dir.path();
    const cli::TParsedCommand parsed = cli::ParseGetOptions(args, QDir::currentPath());
    EXPECT_TRUE(parsed.Options) << parsed.Error.toStdString();
    if (!parsed.Options) return -1;
    cli::TGetTimings fast;
    fast.Download.FetchPause = std::chrono::milliseconds(1);
    fast.Fetch.DataTimeout = std::chrono::seconds(5);
    return cli::RunGetCommand(*parsed.Options, {.Out = Out.Stream, .Err = Err.Stream}, Stop, fast);
  }
  QString File(const QString& size, const QString& id) const {
    return Dir.filePath("Wallpapers/Sample Name/" + size + "/Sample Name (" + id + ").jpg");
  }

  QTemporaryDir Dir;
  fixture::TFixtureSite Site;
  QByteArray Settings;
  TCapture Out, Err;
  std::atomic<bool> Stop{false};
};

TEST_F(GetCommand, DownloadsTheSelectedSizesAndAccountsForEveryWallpaper) {
  EXPECT_EQ(Run({"--json", "Sample Name"}), cli::kExitIncomplete) << Err.Text().toStdString();
  const QJsonObject account = QJsonDocument::fromJson(Out.Text().toUtf8()).object();
  const QJsonObject name = account["names"].toArray().at(0).toObject();
  EXPECT_EQ(name["name"].toString(), "Sample Name");
  EXPECT_EQ(name["found"].toInt(), 4);  // 1024x768 only, as Settings.ini says
  EXPECT_EQ(name["fetched"].toInt(), 3);
  EXPECT_EQ(name["alreadyOnDisk"].toInt(), 0);
  const QJsonObject failure = name["failures"].toArray().at(0).toObject();
  EXPECT_EQ(failure["id"].toString(), "1006");
  EXPECT_EQ(failure["reason"].toString(), "the site answered HTTP 404");
  EXPECT_EQ(account["exitStatus"].toInt(), cli::kExitIncomplete);
  EXPECT_EQ(Read(File("1024x768", "1002")), fixture::MakeJpeg(640, 480));
  EXPECT_FALSE(QFile::exists(File("1920x1200", "1001")));
  EXPECT_TRUE(QFile::exists(Dir.filePath("Wallpapers/Sample Name/Preview.jpg")));
  // The window's file is never written.
  EXPECT_EQ(Read(download::SettingsFilePath(Dir.path())), Settings);
}

TEST_F(GetCommand, PlainLinesSayWhatIsOnDiskAndWhatFailed) {
  EXPECT_EQ(Run({"--sizes", "1920x1200", "Sample Name"}), cli::kExitAllOnDisk);
  EXPECT_TRUE(Out.Text().startsWith("Sample Name: all 4 on disk (0 already there, 4 fetched), 0:0"))
      << Out.Text().toStdString();
  EXPECT_EQ(Out.Text().count('\n'), 1);
  // Quiet: the failure alone, which names its name.
  const qsizetype before = Out.Text().size();
  EXPECT_EQ(Run({"--quiet", "--all-sizes", "Sample Name"}), cli::kExitIncomplete);
  EXPECT_EQ(Out.Text().mid(before), "Sample Name: not loaded: 1006 at 1024x768: the site answered HTTP 404\n");
}

TEST_F(GetCommand, ExitStatusesForASiteAwayAFolderInUseAndAnIndexOfNames) {
  {
    const control::TFolderLock other(Dir.path());
    ASSERT_EQ(other.State(), control::TFolderLock::TState::Held);
    EXPECT_EQ(Run({"Sample Name"}), cli::kExitFolderBusy);
    EXPECT_FALSE(QDir(Dir.filePath("Wallpapers")).exists());
  }
  EXPECT_EQ(Run({"--names"}), cli::kExitAllOnDisk);
  EXPECT_EQ(Out.Text(), "Sample Name\nAnn Other\n");
  const qsizetype before = Out.Text().size();

  // Without [Site] the built-in addresses reach no site, and it says how to mend that.
  ASSERT_TRUE(QFile::remove(download::SettingsFilePath(Dir.path())));
  EXPECT_EQ(Run({"--names"}), cli::kExitSiteUnreachable);
  EXPECT_TRUE(Err.Text().contains("No site is configured")) << Err.Text().toStdString();

  WriteSettings(Site.Server().RefusingUrl());
  EXPECT_EQ(Run({"Sample Name"}), cli::kExitSiteUnreachable);
  EXPECT_TRUE(Out.Text().mid(before).startsWith("Sample Name: the site could not be reached: ")) << Out.Text().toStdString();
  EXPECT_EQ(Run({"--names"}), cli::kExitSiteUnreachable);
}

TEST_F(GetCommand, TheBatchIsRecordedAsTheWindowRecordsIt) {
  control::TBatchFile batch(download::BatchFilePath(Dir.path()));
  ASSERT_TRUE(batch.Save({{"Sample Name", "0", "No", true}, {"Ann Other", "0", "No", false}}, control::TBatchSave::FromScratch));
  EXPECT_EQ(Run({"--batch"}), cli::kExitIncomplete);
  EXPECT_EQ(control::LoadBatchFile(download::BatchFilePath(Dir.path())),
            (QList<control::TBatchEntry>{{"Sample Name", "3", "Yes", false}, {"Ann Other", "0", "No", false}}));
}

// A stop that comes before the first name or entry leaves all of the work
// undone, and the command says so by its status.
TEST_F(GetCommand, AStopBeforeTheFirstNameOrEntryIsNoSuccess) {
  Stop = true;
  EXPECT_EQ(Run({"--json", "Sample Name"}), cli::kExitIncomplete);
  const QJsonObject account = QJsonDocument::fromJson(Out.Text().toUtf8()).object();
  EXPECT_EQ(account["exitStatus"].toInt(), cli::kExitIncomplete);
  EXPECT_TRUE(account["stopped"].toBool());
  EXPECT_TRUE(account["names"].toArray().isEmpty());

  control::TBatchFile batch(download::BatchFilePath(Dir.path()));
  const QList<control::TBatchEntry> entries{{"Sample Name", "0", "No", true}};
  ASSERT_TRUE(batch.Save(entries, control::TBatchSave::FromScratch));
  EXPECT_EQ(Run({"--batch"}), cli::kExitIncomplete);
  EXPECT_FALSE(Err.Text().contains("no ticked entry")) << Err.Text().toStdString();
  EXPECT_EQ(control::LoadBatchFile(download::BatchFilePath(Dir.path())), entries);
  EXPECT_EQ(Site.Server().ConnectionCount(), 0);
}

TEST_F(GetCommand, VersionIsOneLine) {
  EXPECT_EQ(Run({"--version"}), cli::kExitAllOnDisk);
  EXPECT_TRUE(Out.Text().startsWith("ostrana-get ")) << Out.Text().toStdString();
  EXPECT_EQ(Out.Text().count('\n'), 1);
}

TEST_F(GetCommand, TheThumbnailPassStoresOneThumbnailPerName) {
  // A folder without AllGirls/ gets one.
  EXPECT_EQ(Run({"--thumbnails"}), cli::kExitAllOnDisk) << Err.Text().toStdString();
  EXPECT_TRUE(QFile::exists(Dir.filePath("AllGirls/Sample Name.jpg")));
  EXPECT_FALSE(QFile::exists(Dir.filePath("AllGirls/Ann Other.jpg")));  // the site lists none for her
}

// The program itself: Ctrl-C stops like Stop, with nothing half written and
// the batch entry under way still ticked.
TEST_F(GetCommand, CtrlCStopsTheRunAndLeavesTheEntryTicked) {
  Site.AddName(fixture::MakeSiteName("Long Run", 1, 40, fixture::MakeJpeg(640, 480), 5001, {"1024x768"}));
  control::TBatchFile batch(download::BatchFilePath(Dir.path()));
  ASSERT_TRUE(batch.Save({{"Long Run", "0", "No", true}}, control::TBatchSave::FromScratch));
  QProcess program;
  program.start(OSTRANA_GET, {"--batch", "--threads", "1", "--dir", Dir.path()});
  ASSERT_TRUE(program.waitForStarted());
  // Once its first wallpaper is on disk, the run is under way.
  const QString first = Dir.filePath("Wallpapers/Long Run/1024x768/Long Run (5001).jpg");
  const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!QFile::exists(first) && std::chrono::steady_clock::now() < bound) program.waitForFinished(20);
  ASSERT_TRUE(QFile::exists(first));
  ::kill(pid_t(program.processId()), SIGINT);
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), cli::kExitIncomplete) << program.readAllStandardError().toStdString();
  EXPECT_LT(QDir(Dir.filePath("Wallpapers/Long Run/1024x768")).entryList(QDir::Files).size(), 40);
  QDirIterator files(Dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) EXPECT_FALSE(download::IsTemporaryFileName(QFileInfo(files.next()).fileName()));
  EXPECT_TRUE(control::LoadBatchFile(download::BatchFilePath(Dir.path())).value(0).Checked);
}

}  // namespace
