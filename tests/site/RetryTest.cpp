// The retry loops: how many tries inside and outside a run, and what the
// caller gets back.

#include <gtest/gtest.h>

#include "site/SiteTestSupport.h"
#include "fixture/Jpeg.h"
#include "fixture/LoopbackServer.h"
#include "site/Retry.h"

namespace {

using fixture::TFault;
using fixture::TResponse;

TResponse Answer(const QByteArray& Body, int Status = 200, TFault Fault = TFault::None, int FaultTimes = -1) {
  TResponse r;
  r.Status = Status;
  r.Body = Body;
  r.Fault = Fault;
  r.FaultTimes = FaultTimes;
  return r;
}

class RetryTest : public ::testing::Test {
 protected:
  fixture::TLoopbackServer Server{1};
  sitetest::TTestRun Flags;

  QString Url(const char* Target) const { return Server.BaseUrl(0) + QString::fromLatin1(Target); }
};

// Each try opens one connection, so the server's count is the number of tries.
TEST_F(RetryTest, DownloadPageTriesPerRunState) {
  Server.SetRoute(0, "/dead/", Answer("x", 200, TFault::CloseAtOnce));
  const struct {
    bool Working;
    int Tries;
  } cases[] = {{true, site::kDownloadPageTries}, {false, 1}};
  for (const auto& c : cases) {
    Server.ClearLog();
    Flags.Working = c.Working;
    QStringList lines;
    site::DownloadPage(Url("/dead/"), lines, Flags.Run);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(Server.ConnectionCount(), c.Tries) << "working " << c.Working;
  }
}

TEST_F(RetryTest, DownloadPageStopsAtTheFirstFetchedBody) {
  Server.SetRoute(0, "/flaky/", Answer("line 1\nline 2\n", 200, TFault::CloseAtOnce, 3));
  Server.SetRoute(0, "/missing/", Answer("<html>\n<b>404</b>\n</html>\n", 404));
  QStringList lines;
  site::DownloadPage(Url("/flaky/"), lines, Flags.Run);
  EXPECT_EQ(lines, (QStringList{"line 1", "line 2"}));
  EXPECT_EQ(Server.RequestCount(0, "/flaky/"), 4);

  lines.clear();
  site::DownloadPage(Url("/missing/"), lines, Flags.Run);
  EXPECT_EQ(lines, (QStringList{"<html>", "<b>404</b>", "</html>"}));
  EXPECT_EQ(Server.RequestCount(0, "/missing/"), 1);
}

TEST_F(RetryTest, DownloadPageAgainstARefusingServerLeavesTheListEmpty) {
  QStringList lines;
  site::DownloadPage(Server.RefusingUrl() + "/x/", lines, Flags.Run);
  EXPECT_TRUE(lines.isEmpty());
}

TEST_F(RetryTest, ShutDownEndsTheLoops) {
  Server.SetRoute(0, "/page/", Answer("body"));
  Flags.Terminating = true;
  QStringList lines;
  site::DownloadPage(Url("/page/"), lines, Flags.Run);
  sitetest::TJpegPicture picture;
  EXPECT_FALSE(site::LoadWithSynaps(Url("/page/"), picture, Flags.Run));
  EXPECT_TRUE(lines.isEmpty());
  EXPECT_EQ(Server.ConnectionCount(), 0);
}

TEST_F(RetryTest, LoadWithSynapsTriesPerRunState) {
  Server.SetRoute(0, "/dead.jpg", Answer("x", 200, TFault::CloseAtOnce));
  const struct {
    bool Working;
    int Tries;
  } cases[] = {{true, site::kLoadWithSynapsTries}, {false, 1}};
  for (const auto& c : cases) {
    Server.ClearLog();
    Flags.Working = c.Working;
    sitetest::TJpegPicture picture;
    picture.Data = "earlier picture";
    picture.Width = 640;
    EXPECT_FALSE(site::LoadWithSynaps(Url("/dead.jpg"), picture, Flags.Run));
    EXPECT_EQ(picture.Data, "earlier picture");
    EXPECT_EQ(picture.Width, 640);
    EXPECT_EQ(Server.ConnectionCount(), c.Tries) << "working " << c.Working;
  }
}

TEST_F(RetryTest, LoadWithSynapsJudgesWhatArrived) {
  const QByteArray jpeg = fixture::MakeJpeg(320, 200);
  const struct {
    const char* Name;
    TResponse Response;
    bool Result;
    int Width;
  } cases[] = {
      {"a JPEG", Answer(jpeg), true, 320},
      {"a JPEG after two failed tries", Answer(jpeg, 200, TFault::Truncate, 2), true, 320},
      {"an HTML error page", Answer("<html>not found</html>", 404), false, 0},
      {"an empty body", Answer(""), true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Server.SetRoute(0, "/picture.jpg", c.Response);
    sitetest::TJpegPicture picture;
    picture.Data = "earlier picture";
    picture.Width = 640;
    EXPECT_EQ(site::LoadWithSynaps(Url("/picture.jpg"), picture, Flags.Run), c.Result);
    EXPECT_EQ(picture.Width, c.Width);
    EXPECT_EQ(picture.Data, c.Result && c.Width > 0 ? jpeg : QByteArray());
  }
  // Only the retried picture needed more than one try.
  EXPECT_EQ(Server.RequestCount(0, "/picture.jpg"), 6);
}

// Inside a run a failure is retried to the limit, unless no retry can mend it
// or the work the loop serves was stopped.
TEST_F(RetryTest, LoopsGiveUpAtOnceOnWhatNoRetryCanMend) {
  Server.SetRoute(0, "/big/", Answer(QByteArray(3000, 'x')));
  Server.SetRoute(0, "/dead/", Answer("x", 200, TFault::CloseAtOnce));
  std::atomic<bool> alive{true};
  const struct {
    const char* Name;
    QString Url;
    bool Alive;
    int Requests;  // at most, for each loop
  } cases[] = {
      {"a page over its cap", Url("/big/"), true, 1},
      {"an address with a blank", Url("/a b/"), true, 0},
      // Its one try gives up at the first poll slice, whether or not the
      // connection got through by then.
      {"a stopped pass", Url("/dead/"), false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Server.ClearLog();
    alive = c.Alive;
    site::TRunContext run = Flags.Run;
    run.Fetch.MaxPageBytes = 1000;
    run.Fetch.MaxPictureBytes = 1000;
    run.Alive = &alive;
    QStringList lines;
    site::DownloadPage(c.Url, lines, run);
    sitetest::TJpegPicture picture;
    site::TFetchResult outcome;
    EXPECT_FALSE(site::LoadWithSynaps(c.Url, picture, run, &outcome));
    EXPECT_FALSE(outcome);
    EXPECT_TRUE(lines.isEmpty());
    if (c.Alive)
      EXPECT_EQ(Server.ConnectionCount(), 2 * c.Requests);
    else
      EXPECT_LE(Server.ConnectionCount(), 2 * c.Requests);
  }
}

// Outside a run each call is one try, so the server's count of connections
// is the number of calls.
TEST_F(RetryTest, IndexPageIsAskedForUntilALineArrivesOrTheCallsRunOut) {
  std::atomic<bool> alive{true};
  const struct {
    const char* Name;
    TResponse Response;
    QString Target;
    bool Alive;
    bool Terminating;
    QStringList Lines;
    int Connections;  // at most, for a stopped loop
    bool Fetched;
  } cases[] = {
      {"a silent site", Answer("x", 200, TFault::CloseAtOnce), "/babes/", true, false, {}, site::kIndexPageCalls, false},
      {"a page without a line", Answer(""), "/babes/", true, false, {}, site::kIndexPageCalls, true},
      {"a page at the third call", Answer("one\ntwo\n", 200, TFault::CloseAtOnce, 2), "/babes/", true, false,
       {"one", "two"}, 3, true},
      {"an address that cannot be sent", Answer("x"), "/ba bes/", true, false, {}, 0, false},
      {"the program closing", Answer("x"), "/babes/", true, true, {}, 0, false},
      // Last: a connection it gave up on may reach the server's count only
      // after the next case has cleared the log.
      {"a stopped fetch", Answer("x", 200, TFault::CloseAtOnce), "/babes/", false, false, {}, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Server.ClearLog();
    Server.SetRoute(0, "/babes/", c.Response);
    Flags.Working = false;
    Flags.Terminating = c.Terminating;
    alive = c.Alive;
    site::TRunContext run = Flags.Run;
    run.Alive = &alive;
    QStringList lines;
    const site::TFetchResult result = site::DownloadIndexPage(Url(qPrintable(c.Target)), lines, run);
    EXPECT_EQ(lines, c.Lines);
    EXPECT_EQ(bool(result), c.Fetched);
    if (c.Alive)
      EXPECT_EQ(Server.ConnectionCount(), c.Connections);
    else
      EXPECT_LE(Server.ConnectionCount(), c.Connections);
  }
}

}  // namespace
