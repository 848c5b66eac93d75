// One download worker against a scripted image host and a recording window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <mutex>
#include <new>

#include "download/JpegBytes.h"
#include "common/QtPrint.h"
#include "download/FileStore.h"
#include "download/LoadImages.h"

namespace {

const QString kWallHost = "http://wallpapers.ostrana.test";
const QString kImageHost = "http://images.ostrana.test/";

struct RecordingHost : download::TWorkerHost {
  std::mutex m;
  QStringList log;
  std::map<int, QStringList> rows;
  QString label3, found, currentPath, lastPreview;
  std::vector<int> progress;
  std::vector<download::TLinkEnd> ends;
  int previews = 0, done = 0, handOffs = 0;
  QStringList writeFailures;
  download::TDownloadRun* run = nullptr;  // what StopForWriteFailure stops, as the window does
  int throwOnLine = -1;        // the log line (counted from 0) that throws instead

  void Log(const QStringList& lines) {
    for (const QString& line : lines) {
      if (log.size() == throwOnLine) {
        ++throwOnLine;  // once
        throw std::bad_alloc();
      }
      log << line;
    }
  }

  void Report(int n, const QStringList& lines, const QString& status) override {
    std::lock_guard l(m);
    ++handOffs;
    Log(lines);
    if (!status.isEmpty()) rows[n] << status;
  }
  void EndLink(int n, const download::TLinkEnd& end) override {
    std::lock_guard l(m);
    ++handOffs;
    Log(end.Lines);
    if (!end.Status.isEmpty()) rows[n] << end.Status;
    ends.push_back(end);
    if (!end.Label3.isEmpty()) {
      currentPath = end.File;
      label3 = end.Label3;
      found = "Found: " + QString::number(run->FoundCnt.load());
    }
    progress.push_back(end.Position);
  }
  void ShowPreview(const QString& id, const QString& path) override {
    std::lock_guard l(m);
    ++handOffs;
    if (!download::PreviewShows(id, currentPath)) return;
    lastPreview = path;
    ++previews;
  }
  void StopForWriteFailure(const download::TWriteResult& failure) override {
    std::lock_guard l(m);
    writeFailures << failure.Describe();
    if (run) run->Stop();
  }
  void AnnounceDone() override { ++done; }
};

// Answers by URL; an unknown URL fails like a refused connection, and a
// failure set for a URL comes instead of its body.
struct ImageHost {
  std::map<QString, QByteArray> bodies;
  std::map<QString, site::TFetchResult> failures;
  QStringList requests;
  site::TFetchResult operator()(const QString& url, QByteArray& buffer) {
    requests << url;
    if (const auto failure = failures.find(url); failure != failures.end()) return failure->second;
    const auto it = bodies.find(url);
    if (it == bodies.end()) return {site::TFetchFailure::Refused, "images:80", "connection refused"};
    buffer = it->second;
    return {};
  }
};

class Worker : public ::testing::Test {
 protected:
  void SetUp() override {
    run.Dir = tmp.path();
    UseName("Sample Name");
    run.ImageHostUrl = kImageHost;
    run.ResParams = download::TResParams::All();
    run.Timings.FetchPause = std::chrono::milliseconds(0);
    host.run = &run;
  }
  void UseName(const QString& name) {
    run.Name = name;
    run.NameFolder = tmp.path() + "/Wallpapers/" + name;
    for (download::TResolution r : download::FolderOrder()) QDir().mkpath(run.SizeFolder(download::SizeText(r)));
  }
  void RunWorker(download::TWorkerShare share) {
    download::TWallpaperWorker worker(run, host, std::ref(images), active, terminating);
    worker.Run(share);
  }
  QString File(const QString& size, const QString& id) { return run.SizeFolder(size) + "/" + run.Name + " (" + id + ").jpg"; }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir tmp;
  download::TDownloadRun run;
  RecordingHost host;
  ImageHost images;
  std::atomic<bool> active{true}, terminating{false};
};

TEST_F(Worker, WorkedExampleLogsFilesAndCounts) {
  const QByteArray jpeg = HeaderOnlyJpeg(1280, 1024);
  run.ImageLinks = {kWallHost + "/sample-name/11111/800x600", kWallHost + "/sample-name/41237/1280x1024"};
  const QString url = kImageHost + "sample-name/sample-name-1280x1024-41237.jpg";
  images.bodies[url] = jpeg;

  RunWorker({.Start = 1, .TaskCnt = 2, .TaskIDX = 2});

  EXPECT_EQ(host.log, (QStringList{
                          "Task Started: 2",
                          "Thread #2  MATCHES: " + url,
                          "Thread #2  LOADING... 1280x1024 - 41237  TRY # : 1",
                          "Thread #2  LOADING... 1280x1024 - 41237  SUCCESSFULL",
                          "Finished Thread #: 2",
                      }));
  EXPECT_EQ(host.rows[2], (QStringList{"Loading image: 41237 (1280x1024)   TRY # : 1",
                                       "Loading image: 41237 (1280x1024)  SUCCESSFULL", "Finished!"}));
  EXPECT_EQ(host.label3, "#41237 (1280x1024)");
  EXPECT_EQ(host.found, "Found: 1");
  const QString file = File("1280x1024", "41237");
  EXPECT_EQ(Read(file), jpeg);
  EXPECT_EQ(Read(run.PreviewFile()), jpeg);
  EXPECT_EQ(host.currentPath, file);
  EXPECT_EQ(host.lastPreview, file);
  EXPECT_EQ(host.progress, std::vector<int>{1});
  EXPECT_EQ(host.done, 1);
}

// What the command line counts: each link's outcome, and why a failed one failed;
// and what the window pays: a link costs at most its first try, its preview and its end.
TEST_F(Worker, EachLinkEndsWithItsOutcomeInAFewHandOffs) {
  const QByteArray jpeg = HeaderOnlyJpeg(1024, 768);
  run.ImageLinks = {kWallHost + "/sample-name/1/1024x768", kWallHost + "/sample-name/2/1024x768",
                    kWallHost + "/sample-name/3/1024x768", kWallHost + "/sample-name/4/1920x1200"};
  run.ResParams = download::TResParams();
  run.ResParams.Include(download::tr1024x768);
  QFile stored(File("1024x768", "1"));
  ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
  stored.write(jpeg);
  stored.close();
  images.bodies[kImageHost + "sample-name/sample-name-1024x768-2.jpg"] = jpeg;
  images.failures[kImageHost + "sample-name/sample-name-1024x768-3.jpg"] = {site::TFetchFailure::TooLarge, "images:80",
                                                                             "larger than 16 MiB"};
  RunWorker({0, 1, 1});

  ASSERT_EQ(host.ends.size(), 4u);
  const struct {
    download::TLinkOutcome outcome;
    QString id, reason;
  } expected[] = {{download::TLinkOutcome::OnDisk, "1", ""},
                  {download::TLinkOutcome::Fetched, "2", ""},
                  {download::TLinkOutcome::Failed, "3", "images:80: larger than 16 MiB"},
                  {download::TLinkOutcome::Skipped, "4", ""}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(host.ends[i].Outcome, expected[i].outcome) << i;
    EXPECT_EQ(host.ends[i].Id, expected[i].id) << i;
    EXPECT_EQ(host.ends[i].Reason, expected[i].reason) << i;
  }
  // Task Started, then per accepted link its first try, its preview and its end,
  // per failed link its try and its end, per skipped one its end, then Finished.
  EXPECT_EQ(host.handOffs, 1 + 3 + 3 + 2 + 1 + 1);
}

TEST_F(Worker, TakesEveryNthLinkFromItsStart) {
  for (int i = 0; i < 10; ++i) run.ImageLinks << kWallHost + "/sample-name/" + QString::number(100 + i) + "/1024x768";
  struct {
    download::TWorkerShare share;
    QStringList ids;
  } cases[] = {
      {{0, 3, 1}, {"100", "103", "106", "109"}},
      {{1, 3, 2}, {"101", "104", "107"}},
      {{2, 3, 3}, {"102", "105", "108"}},
  };
  for (const auto& c : cases) {
    images.requests.clear();
    RunWorker(c.share);
    QStringList expected;
    for (const QString& id : c.ids) expected << kImageHost + "sample-name/sample-name-1024x768-" + id + ".jpg";
    // Each link fails, so each is fetched 100 times (one attempt per try).
    expected.removeDuplicates();
    QStringList seen = images.requests;
    seen.removeDuplicates();
    EXPECT_EQ(seen, expected) << c.share.TaskIDX;
  }
}

TEST_F(Worker, StartBeyondTheListLogsOutOfRangeAndFinishes) {
  for (int i = 0; i < 10; ++i) run.ImageLinks << kWallHost + "/sample-name/" + QString::number(i) + "/1024x768";
  RunWorker({.Start = 11, .TaskCnt = 12, .TaskIDX = 12});
  EXPECT_EQ(host.log, (QStringList{"Task Started: 12", "Thread #12 INDEX 11 OUT of Range: 11/10", "Finished Thread #: 12"}));
  EXPECT_EQ(host.rows[12], QStringList{"Finished!"});
  EXPECT_EQ(host.done, 1);

  run.ImageLinks.clear();
  host.log.clear();
  RunWorker({.Start = 0, .TaskCnt = 1, .TaskIDX = 1});
  EXPECT_EQ(host.log[1], "Thread #1 INDEX 0 OUT of Range: 0/0");
}

TEST_F(Worker, SizesNotKeptArePassedOverSilentlyButAdvanceTheProgress) {
  run.ResParams = download::TResParams();
  run.ResParams.Include(download::tr1920x1200);
  UseName("Model 12");
  run.ImageLinks = {
      kWallHost + "/model-12/5/1024x768",   // not kept
      kWallHost + "/model-12/6/800x600",    // unknown size
      kWallHost + "/model-12/12/1024x768",  // "12" first occurs in the slug: size "12/1024x768"
      "",                                   // an empty link
  };
  RunWorker({.Start = 0, .TaskCnt = 1, .TaskIDX = 1});
  EXPECT_EQ(host.log, (QStringList{"Task Started: 1", "Finished Thread #: 1"}));
  EXPECT_TRUE(images.requests.empty());
  EXPECT_EQ(host.progress, (std::vector<int>{1, 2, 3, 4}));
  for (const download::TLinkEnd& end : host.ends) EXPECT_EQ(end.Outcome, download::TLinkOutcome::Skipped);
}

TEST_F(Worker, NarrowOrNonJpegAnswersAreRejectedAndRetriedToTheLimit) {
  struct {
    const char* what;
    QByteArray body;
    bool accepted;
  } cases[] = {
      {"300 wide", HeaderOnlyJpeg(300, 200), true},
      {"299 wide", HeaderOnlyJpeg(299, 200), false},
      {"error page", "<html>404 Not Found</html>", false},
      {"empty body", "", false},
  };
  // Capitals in the host: fetched lower-cased, logged as built.
  run.ImageHostUrl = "http://Images.Ostrana.test/";
  run.ImageLinks = {kWallHost + "/sample-name/7/1024x768"};
  const QString built = "http://Images.Ostrana.test/sample-name/sample-name-1024x768-7.jpg";
  for (const auto& c : cases) {
    images.bodies = {{built.toLower(), c.body}};
    images.requests.clear();
    host.log.clear();
    QFile::remove(File("1024x768", "7"));
    RunWorker({0, 1, 1});
    EXPECT_EQ(QFile::exists(File("1024x768", "7")), c.accepted) << c.what;
    EXPECT_EQ(images.requests.size(), c.accepted ? 1 : download::TWallpaperWorker::kMaxTries) << c.what;
    EXPECT_TRUE(images.requests.front() == built.toLower()) << c.what;
    EXPECT_EQ(host.log.contains("Thread #1  NOT LOADED: " + built), !c.accepted) << c.what;
    EXPECT_EQ(host.log.contains("Thread #1  LOADING... 1024x768 - 7  TRY # : 100"), !c.accepted) << c.what;
  }
}

TEST_F(Worker, AFileAlreadyThereIsJudgedBeforeAnyRequest) {
  run.ImageLinks = {kWallHost + "/sample-name/7/1024x768"};
  const QString url = kImageHost + "sample-name/sample-name-1024x768-7.jpg";
  const QByteArray fresh = HeaderOnlyJpeg(1024, 768);
  images.bodies[url] = fresh;
  struct {
    const char* what;
    QByteArray present;
    int requests;
  } cases[] = {
      {"valid", HeaderOnlyJpeg(1600, 1200), 0},
      {"damaged", "garbage", 1},
      {"empty", "", 1},
      {"narrow", HeaderOnlyJpeg(200, 100), 1},
  };
  for (const auto& c : cases) {
    images.requests.clear();
    host.log.clear();
    QFile f(File("1024x768", "7"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.present);
    f.close();
    RunWorker({0, 1, 1});
    EXPECT_EQ(images.requests.size(), c.requests) << c.what;
    EXPECT_TRUE(host.log.contains("Thread #1  LOADING... 1024x768 - 7  SUCCESSFULL")) << c.what;
    EXPECT_EQ(Read(File("1024x768", "7")), c.requests ? fresh : c.present) << c.what;
  }
}

TEST_F(Worker, PreviewFollowsTheIdRuleAndPreviewJpgIsWrittenOnce) {
  // Ids long enough not to occur by chance in the temporary folder's name.
  run.ImageLinks = {kWallHost + "/sample-name/77777/1024x768", kWallHost + "/sample-name/88888/1024x768"};
  const QByteArray first = HeaderOnlyJpeg(1024, 768), second = HeaderOnlyJpeg(1025, 768);
  images.bodies[kImageHost + "sample-name/sample-name-1024x768-77777.jpg"] = first;
  images.bodies[kImageHost + "sample-name/sample-name-1024x768-88888.jpg"] = second;
  // The first id occurs in the current path, so that wallpaper feeds no preview.
  host.currentPath = "/home/u77777";
  RunWorker({0, 1, 1});
  EXPECT_EQ(host.previews, 1);
  EXPECT_EQ(host.lastPreview, File("1024x768", "88888"));
  EXPECT_EQ(Read(run.PreviewFile()), first);
  EXPECT_EQ(host.found, "Found: 2");
}

TEST_F(Worker, StopEndsTheWorkerAfterItsTryInProgress) {
  run.ImageLinks = {kWallHost + "/sample-name/1/1024x768", kWallHost + "/sample-name/2/1024x768"};
  // The host fails; the run is stopped during the first attempt.
  struct StoppingHost {
    std::atomic<bool>* working;
    int calls = 0;
    site::TFetchResult operator()(const QString&, QByteArray&) {
      ++calls;
      *working = false;
      return {site::TFetchFailure::Stopped, {}, "stopped"};
    }
  } stopping{&run.Working};
  download::TWallpaperWorker worker(run, host, std::ref(stopping), active, terminating);
  worker.Run({0, 1, 1});
  EXPECT_EQ(stopping.calls, 1);
  EXPECT_TRUE(host.log.contains("Thread #1  NOT LOADED: " + kImageHost + "sample-name/sample-name-1024x768-1.jpg"));
  EXPECT_EQ(host.rows[1].last(), "Finished!");
  EXPECT_EQ(host.done, 1);
  EXPECT_EQ(host.progress, std::vector<int>{1});
}

// A file name the folder cannot hold ends only its link, at once; a folder
// that takes no file stops the run, as every other write there would fail too.
TEST_F(Worker, AWriteErrorEndsTheLinkAtOnceAndAFolderThatTakesNoFileStopsTheRun) {
  const QString longId = QString(260, '9');
  run.ImageLinks = {kWallHost + "/sample-name/" + longId + "/1024x768", kWallHost + "/sample-name/1/1024x768",
                    kWallHost + "/sample-name/2/1280x1024"};
  for (const QString& link : run.ImageLinks) {
    const QString id = link.section('/', 4, 4), size = link.section('/', 5, 5);
    images.bodies[kImageHost + "sample-name/sample-name-" + size + "-" + id + ".jpg"] = HeaderOnlyJpeg(1024, 768);
  }
  // A file where the 1280x1024 folder should be.
  QDir(run.SizeFolder("1280x1024")).removeRecursively();
  ASSERT_TRUE(download::WriteFileAtomically(run.SizeFolder("1280x1024"), "x"));
  run.ImageLinks << kWallHost + "/sample-name/3/1024x768";
  RunWorker({0, 1, 1});

  EXPECT_EQ(images.requests.size(), 3) << images.requests.join('\n').toStdString();
  const QStringList errors = host.log.filter("  ERR: Can not save - ");
  ASSERT_EQ(errors.size(), 2) << host.log.join('\n').toStdString();
  EXPECT_TRUE(errors[0].endsWith(": File name too long")) << errors[0].toStdString();
  EXPECT_TRUE(errors[1].endsWith(": Not a directory")) << errors[1].toStdString();
  EXPECT_TRUE(host.log.contains("Thread #1  LOADING... 1024x768 - 1  SUCCESSFULL"));
  EXPECT_EQ(host.writeFailures.size(), 1);
  EXPECT_FALSE(run.Working);
  EXPECT_TRUE(host.log.contains("Thread #1  NOT LOADED: " + kImageHost + "sample-name/sample-name-1280x1024-2.jpg"));
  EXPECT_FALSE(host.log.contains("Thread #1  MATCHES: " + kImageHost + "sample-name/sample-name-1024x768-3.jpg"));
  EXPECT_EQ(host.rows[1].last(), "Finished!");
  EXPECT_EQ(host.done, 1);
}

// A failure that no retry can mend costs one attempt and says why.
TEST_F(Worker, WhatNoRetryCanMendIsTriedOnceAndSaysWhy) {
  run.ImageLinks = {kWallHost + "/sample-name/1/1024x768", kWallHost + "/sample-name/2/1024x768"};
  const QString first = kImageHost + "sample-name/sample-name-1024x768-1.jpg";
  images.failures[first] = {site::TFetchFailure::TooLarge, "images:80", "larger than 16 MiB"};
  images.bodies[kImageHost + "sample-name/sample-name-1024x768-2.jpg"] = HeaderOnlyJpeg(1024, 768);
  RunWorker({0, 1, 1});
  EXPECT_EQ(images.requests.count(first), 1);
  const qsizetype why = host.log.indexOf("Thread #1  ERR: images:80: larger than 16 MiB");
  ASSERT_GE(why, 0) << host.log.join('\n').toStdString();
  EXPECT_EQ(host.log.value(why + 1), "Thread #1  NOT LOADED: " + first);
  EXPECT_TRUE(host.log.contains("Thread #1  LOADING... 1024x768 - 2  SUCCESSFULL"));
}

// A server that closes early leaves a picture whose header is intact.
TEST_F(Worker, ACutOffPictureIsNeverStored) {
  run.ImageLinks = {kWallHost + "/sample-name/7/1024x768"};
  const QString url = kImageHost + "sample-name/sample-name-1024x768-7.jpg";
  images.bodies[url] = CutHeaderOnlyJpeg(1024, 768);
  RunWorker({0, 1, 1});
  EXPECT_EQ(images.requests.size(), download::TWallpaperWorker::kMaxTries);
  EXPECT_FALSE(QFile::exists(File("1024x768", "7")));
  EXPECT_FALSE(QFile::exists(run.PreviewFile()));
  EXPECT_TRUE(host.log.contains("Thread #1  NOT LOADED: " + url));
}

// A body that arrives after Stop is dropped, and a file that a newer run of the
// name may own is neither replaced nor removed.
TEST_F(Worker, AStoppedRunWritesNothingMore) {
  run.ImageLinks = {kWallHost + "/sample-name/1/1024x768", kWallHost + "/sample-name/2/1024x768"};
  const QByteArray newer = "a newer run's file, not a JPEG at all";
  ASSERT_TRUE(download::WriteFileAtomically(File("1024x768", "2"), newer));
  struct LateHost {
    download::TDownloadRun* run;
    site::TFetchResult operator()(const QString&, QByteArray& buffer) {
      buffer = HeaderOnlyJpeg(1024, 768);
      run->Stop();  // Stop comes while the body is on its way
      return {};
    }
  } late{&run};
  download::TWallpaperWorker worker(run, host, std::ref(late), active, terminating);
  worker.Run({0, 1, 1});
  EXPECT_FALSE(QFile::exists(File("1024x768", "1")));
  EXPECT_FALSE(QFile::exists(run.PreviewFile()));
  // Stopped before its check, the worker leaves the other file alone.
  run.ImageLinks.removeFirst();
  download::TWallpaperWorker again(run, host, std::ref(late), active, terminating);
  again.CheckImage(File("1024x768", "2"), "2");
  EXPECT_EQ(Read(File("1024x768", "2")), newer);
  EXPECT_EQ(QDir(run.SizeFolder("1024x768")).entryList(QDir::Files | QDir::Hidden), QStringList{run.Name + " (2).jpg"});
}

// Whatever ends a worker early, the run still counts it down exactly once.
TEST_F(Worker, AnExceptionStillAnnouncesTheEndOnce) {
  run.ImageLinks = {kWallHost + "/sample-name/1/1024x768"};
  struct Throwing {
    site::TFetchResult operator()(const QString&, QByteArray&) { throw std::bad_alloc(); }
  };
  download::TWallpaperWorker worker(run, host, Throwing{}, active, terminating);
  worker.Run({0, 1, 1});
  EXPECT_EQ(host.done, 1);
  EXPECT_EQ(host.rows[1].last(), "Finished!");

  // A hand-off that throws (the UI thread ran out of memory) ends it the same way.
  for (int line : {0, 1, 2}) {
    SCOPED_TRACE(line);
    host.done = 0;
    host.log.clear();
    host.throwOnLine = line;
    RunWorker({0, 1, 1});
    EXPECT_EQ(host.done, 1);
  }
}

}  // namespace
