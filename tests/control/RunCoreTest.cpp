// A whole run without a window, against the fixture site: many workers on one
// run (the race checker's case), a site that cannot be reached, a stop in the
// middle, and the batch on Batch.ini.

#include "control/RunCore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "common/QtPrint.h"
#include "control/BatchEntryPrint.h"
#include "control/BatchList.h"
#include "download/DiskLayout.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"

namespace {

using download::TLinkOutcome;

struct TRecorder : control::TBatchObserver {
  QStringList Lines;
  std::map<TLinkOutcome, int> Outcomes;
  QStringList Started;
  std::map<QString, control::TRunReport> Reports;
  std::atomic<bool>* StopAfterFirstLink = nullptr;

  void Log(const QString& line) override { Lines << line; }
  void LinkEnded(const download::TLinkEnd& end) override {
    ++Outcomes[end.Outcome];
    if (StopAfterFirstLink) *StopAfterFirstLink = true;
  }
  void EntryStarted(const QString& name) override { Started << name; }
  void EntryEnded(const QString& name, const control::TRunReport& report) override { Reports[name] = report; }
};

class RunCore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Site.AddName(fixture::MakeSiteName("Sample Name", 3, 10, fixture::MakeJpeg(640, 480), 1001, {"1024x768", "1280x1024"}));
    Settings.Dir = Dir.path();
    Settings.Site = Site.Urls();
    Settings.Fetch.DataTimeout = std::chrono::seconds(5);
    Settings.Timings.FetchPause = std::chrono::milliseconds(1);
    Settings.Sizes.Include(download::tr1024x768);
    Settings.Threads = 8;
  }
  int FilesIn(const QString& size) const {
    return int(QDir(Dir.filePath("Wallpapers/Sample Name/" + size)).entryList(QDir::Files | QDir::Hidden).size());
  }

  QTemporaryDir Dir;
  fixture::TFixtureSite Site;
  control::TRunSettings Settings;
  TRecorder Recorder;
  std::atomic<bool> Stop{false};
};

TEST_F(RunCore, ManyWorkersFetchEverySelectedSizeAndASecondRunKeepsThem) {
  const control::TRunReport first = control::RunName("Sample Name", Settings, Recorder, Stop);
  EXPECT_EQ(first.Outcome, control::TSearchOutcome::Links);
  EXPECT_FALSE(first.Stopped);
  EXPECT_EQ(first.Found, 15);
  EXPECT_EQ(first.NotLoaded, 0);
  EXPECT_EQ(Recorder.Outcomes[TLinkOutcome::Fetched], 15);
  EXPECT_EQ(Recorder.Outcomes[TLinkOutcome::Skipped], 15);
  EXPECT_EQ(FilesIn("1024x768"), 15);
  EXPECT_EQ(FilesIn("1280x1024"), 0);
  EXPECT_TRUE(QFile::exists(Dir.filePath("Wallpapers/Sample Name/Preview.jpg")));
  EXPECT_TRUE(Recorder.Lines.contains("LEFT THREADS: 0"));

  TRecorder again;
  const control::TRunReport second = control::RunName("Sample Name", Settings, again, Stop);
  EXPECT_EQ(second.Found, 15);
  EXPECT_EQ(again.Outcomes[TLinkOutcome::OnDisk], 15);
  EXPECT_EQ(again.Outcomes[TLinkOutcome::Fetched], 0);
}

TEST_F(RunCore, SaysWhyARunCouldNotStartOrFoundNothing) {
  struct {
    const char* what;
    QString name;
    QString mainSite;
    control::TRunStart::TRefusal refusal;
    control::TSearchOutcome outcome;
  } cases[] = {
      {"no name", "", Site.MainSiteUrl(), control::TRunStart::TRefusal::NoName, control::TSearchOutcome::Links},
      {"no folder", "..", Site.MainSiteUrl(), control::TRunStart::TRefusal::BadFolder, control::TSearchOutcome::Links},
      {"unusable address", "Sample Name", "https://www.ostrana.example", control::TRunStart::TRefusal::BadAddress,
       control::TSearchOutcome::Links},
      {"unknown name", "Nobody", Site.MainSiteUrl(), control::TRunStart::TRefusal::None,
       control::TSearchOutcome::NoWallpapers},
      {"refused", "Sample Name", Site.Server().RefusingUrl(), control::TRunStart::TRefusal::None,
       control::TSearchOutcome::Unreachable},
  };
  for (const auto& c : cases) {
    Settings.Site.MainSiteUrl = c.mainSite;
    const control::TRunReport report = control::RunName(c.name, Settings, Recorder, Stop);
    EXPECT_EQ(report.Refusal, c.refusal) << c.what;
    if (c.refusal == control::TRunStart::TRefusal::None) {
      EXPECT_EQ(report.Outcome, c.outcome) << c.what;
    } else {
      EXPECT_FALSE(report.Problem.isEmpty()) << c.what;
    }
  }
  // Nothing was found, so no folder was made.
  EXPECT_FALSE(QDir(Dir.filePath("Wallpapers/Sample Name")).exists());
  EXPECT_FALSE(QDir(Dir.filePath("Wallpapers/Nobody")).exists());
}

TEST_F(RunCore, AStopEndsTheRunWithNothingHalfWritten) {
  Settings.Sizes = download::TResParams::All();
  Settings.Threads = 2;
  Recorder.StopAfterFirstLink = &Stop;
  const control::TRunReport report = control::RunName("Sample Name", Settings, Recorder, Stop);
  EXPECT_TRUE(report.Stopped);
  EXPECT_LT(report.Found, 30);
  QDirIterator files(Dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) EXPECT_FALSE(download::IsTemporaryFileName(QFileInfo(files.next()).fileName()));
}

TEST_F(RunCore, TheBatchRecordsWhatEndedAndKeepsTheRestTicked) {
  const QList<control::TBatchEntry> entries = {
      {"Sample Name", "0", "No", true},
      {"Not Ticked", "0", "No", false},
      {"Nobody", "0", "No", true},
  };
  control::TBatchFile file(download::BatchFilePath(Dir.path()));
  ASSERT_TRUE(file.Save(entries, control::TBatchSave::FromScratch));

  ASSERT_TRUE(control::RunBatch(Settings, Recorder, Stop).Saved);
  EXPECT_EQ(Recorder.Started, (QStringList{"Sample Name", "Nobody"}));
  EXPECT_EQ(Recorder.Reports["Nobody"].Outcome, control::TSearchOutcome::NoWallpapers) << Recorder.Lines.join('\n').toStdString();
  EXPECT_FALSE(Recorder.Reports["Nobody"].Stopped);
  const QList<control::TBatchEntry> after = control::LoadBatchFile(download::BatchFilePath(Dir.path()));
  EXPECT_EQ(after, (QList<control::TBatchEntry>{
                       {"Sample Name", "15", "Yes", false},
                       {"Not Ticked", "0", "No", false},
                       {"Nobody", "0", "Yes", false},
                   }));
  // As the window's batch does, the name without wallpapers has its folders.
  EXPECT_TRUE(QDir(Dir.filePath("Wallpapers/Nobody/1920x1200")).exists());

  // Stopped during its first entry, the batch leaves that entry ticked and
  // starts no other; so does a site that cannot be reached, but the batch goes on.
  ASSERT_TRUE(file.Save({{"Sample Name", "0", "No", true}, {"Nobody", "0", "No", true}}, control::TBatchSave::FromScratch));
  QDir(Dir.filePath("Wallpapers")).removeRecursively();
  TRecorder stopped;
  stopped.StopAfterFirstLink = &Stop;
  ASSERT_TRUE(control::RunBatch(Settings, stopped, Stop).Saved);
  EXPECT_EQ(stopped.Started, QStringList{"Sample Name"});
  EXPECT_TRUE(control::LoadBatchFile(download::BatchFilePath(Dir.path())).value(0).Checked);

  Stop = false;
  Settings.Site.MainSiteUrl = Site.Server().RefusingUrl();
  TRecorder unreachable;
  ASSERT_TRUE(control::RunBatch(Settings, unreachable, Stop).Saved);
  EXPECT_EQ(unreachable.Started, (QStringList{"Sample Name", "Nobody"}));
  for (const control::TBatchEntry& entry : control::LoadBatchFile(download::BatchFilePath(Dir.path())))
    EXPECT_TRUE(entry.Checked) << entry.Name.toStdString();
}

}  // namespace
