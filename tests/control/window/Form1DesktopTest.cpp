// What the main window tells the desktop beyond itself, driven against the
// fixture site: the notification at the end of a run or a batch, the run's
// progress on the launcher, and the log line when nothing can be opened.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <map>
#include <QPushButton>
#include <QSpinBox>

#include "control/window/Form1TestSupport.h"
#include "fixture/Jpeg.h"
#include "ui/TListView.h"

using namespace form1test;
using Kind = ui::TPlatformCall::TKind;

namespace {

// Three whole pictures, one too narrow and one the host does not have.
fixture::TSiteName MixedName(const QString& name) {
  const QByteArray whole = fixture::MakeJpeg(1024, 768);
  return {name, fixture::SiteSlug(name), {{{"501", "1024x768", whole}, {"502", "1024x768", whole},
                                           {"503", "1024x768", fixture::MakeJpeg(299, 200)},
                                           {"504", "1024x768", whole}, {"505", "1024x768", QByteArray()}}}};
}

int ImageRequests(const fixture::TFixtureSite& site, const QString& id) {
  return site.Server().RequestCount(fixture::TFixtureSite::kImageHost,
                                    fixture::TFixtureSite::ImageTarget("mixed-bag", "1024x768", id));
}

TEST_F(Form1Fixture, ARunEndsWithANotificationOfItsCountsAndAgainRetriesOnlyWhatFailed) {
  Site.AddName(MixedName("Mixed Bag"));
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(2);
  ASSERT_TRUE(RunName("Mixed Bag"));

  const QString folder = WorkDir.path() + "/Wallpapers/Mixed Bag";
  auto notices = Platform.Calls(Kind::NotifyRunDone);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Notice.Name, "Mixed Bag");
  EXPECT_EQ(notices[0].Notice.Found, 3);
  EXPECT_EQ(notices[0].Notice.NotLoaded, 2);
  EXPECT_EQ(notices[0].Notice.Folder, folder);
  EXPECT_TRUE(notices[0].OnUiThread);
  // The chime, then the notification, then the folder opens.
  const auto calls = Platform.Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 2].Kind, Kind::NotifyRunDone);
  EXPECT_EQ(calls.back().Kind, Kind::Open);

  // What the notification promises: the same name again fetches exactly the
  // two that failed, and finds the same.
  std::map<QString, int> before;
  for (const char* id : {"501", "502", "503", "504", "505"}) before[id] = ImageRequests(Site, id);
  Platform.Clear();
  ASSERT_TRUE(RunName("Mixed Bag"));
  for (const auto& [id, count] : before)
    EXPECT_EQ(ImageRequests(Site, id), count + (id == "503" || id == "505" ? 100 : 0)) << id.toStdString();
  notices = Platform.Calls(Kind::NotifyRunDone);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Notice.Found, 3);
  EXPECT_EQ(notices[0].Notice.NotLoaded, 2);
}

TEST_F(Form1Fixture, TheLauncherFollowsTheBarInWholePercentsAndIsHiddenAtTheEnd) {
  Site.AddName(fixture::MakeSiteName("Many", 1, 250, fixture::MakeJpeg(1024, 768), 1000, {"1024x768"}));
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("Many"));

  const auto progress = Platform.Calls(Kind::ShowLauncherProgress);
  ASSERT_GE(progress.size(), 2u);
  // 250 positions of the bar in the download phase; each phase tells at most 101 percents.
  EXPECT_LE(progress.size(), 3u * 101 + 1);
  for (const auto& call : progress) {
    EXPECT_TRUE(call.OnUiThread);
    EXPECT_TRUE(!call.Progress || (*call.Progress >= 0 && *call.Progress <= 1)) << call.Progress.value_or(-1);
  }
  EXPECT_FALSE(progress.back().Progress) << "still shown after the run";
  ASSERT_TRUE(progress[progress.size() - 2].Progress);
  EXPECT_DOUBLE_EQ(*progress[progress.size() - 2].Progress, 1.0);
  for (std::size_t i = 1; i < progress.size(); ++i)
    EXPECT_NE(progress[i].Progress, progress[i - 1].Progress) << "told twice the same, at " << i;
  EXPECT_EQ(form.Progress->value(), form.Progress->maximum());
}

TEST_F(Form1Fixture, AStoppedRunShowsNoNotificationAndHidesTheLauncherProgress) {
  Site.AddName(fixture::MakeSiteName("Stuck", 1, 2, fixture::MakeJpeg(1024, 768), 9000, {"1024x768"}));
  fixture::TResponse silent;
  silent.Fault = fixture::TFault::Silent;
  Site.Server().SetFallback(fixture::TFixtureSite::kImageHost, silent);
  for (const char* id : {"9000", "9001"})
    Site.Server().SetRoute(fixture::TFixtureSite::kImageHost, fixture::TFixtureSite::ImageTarget("stuck", "1024x768", id),
                           silent);
  Environment.Fetch.DataTimeout = std::chrono::milliseconds(500);
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(2);
  form.NameEdit->setEditText("Stuck");
  form.Button1Click();
  // Both workers hang in their first fetch (a worker stopped before it began
  // would never count down, so the stop waits for them).
  ASSERT_TRUE(PumpUntil([&] {
    int fetches = 0;
    for (const auto& request : Site.Server().Requests()) fetches += request.Host == fixture::TFixtureSite::kImageHost;
    return fetches == 2;
  }));
  ASSERT_TRUE(Platform.Calls(Kind::ShowLauncherProgress).back().Progress);
  form.Button1Click();  // Stop
  ASSERT_TRUE(PumpUntil([&] { return task::LiveThreadCount() == 0 && form.Run->ThreadsLeft == 0; }))
      << task::LiveThreadCount() << " threads, " << form.Run->ThreadsLeft << " left";

  EXPECT_EQ(Platform.Count(Kind::NotifyRunDone), 0);
  EXPECT_EQ(Platform.Count(Kind::Open), 1);  // the folder still opens, as before
  EXPECT_FALSE(Platform.Calls(Kind::ShowLauncherProgress).back().Progress);
}

TEST_F(Form1Fixture, ABatchTellsOnceAtItsEndWhatAllItsNamesFound) {
  Site.AddName(MixedName("Mixed Bag"));
  Site.AddName(fixture::MakeSiteName("Beta", 1, 3, fixture::MakeJpeg(1024, 768), 200, {"1024x768"}));
  ui::TForm1& form = Open();
  for (const char* name : {"Mixed Bag", "Beta"}) {
    form.Edit1->setText(name);
    form.Button2Click();
  }
  form.Button3Click();
  ASSERT_TRUE(PumpUntil([&] { return !form.BatchMode && !form.Working && task::LiveThreadCount() == 0; }));

  const auto notices = Platform.Calls(Kind::NotifyRunDone);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].Notice.IsBatch());
  EXPECT_EQ(notices[0].Notice.Names, 2);
  EXPECT_EQ(notices[0].Notice.Found, 6);
  EXPECT_EQ(notices[0].Notice.NotLoaded, 2);
  EXPECT_EQ(notices[0].Notice.Folder, WorkDir.path() + "/Wallpapers");
  EXPECT_EQ(Platform.Count(Kind::Open), 0);

  // A single run afterwards tells only its own counts.
  Platform.Clear();
  ASSERT_TRUE(RunName("Beta"));
  const auto single = Platform.Calls(Kind::NotifyRunDone);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].Notice.Name, "Beta");
  EXPECT_EQ(single[0].Notice.Found, 3);
}

TEST_F(Form1Fixture, WhatCanNotBeOpenedIsSaidInTheLog) {
  Site.AddName(fixture::MakeSiteName("Beta", 1, 1, fixture::MakeJpeg(1024, 768), 200, {"1024x768"}));
  Platform.NothingOpens = true;
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("Beta"));
  const QString folder = WorkDir.path() + "/Wallpapers/Beta";
  EXPECT_EQ(LogLines().last(), "ERR: Can not open - " + folder + " (no program to open it with; is xdg-utils installed?)");

  form.CurrentPath = folder + "/Preview.jpg";
  form.Image1MouseDown(Qt::LeftButton);
  EXPECT_EQ(LogLines().last(),
            "ERR: Can not open - " + folder + "/Preview.jpg (no program to open it with; is xdg-utils installed?)");
  form.Image1MouseDown(Qt::RightButton);
  EXPECT_EQ(LogLines().last(), "ERR: Can not show - " + folder +
                                   "/Preview.jpg (no file manager answered and the folder could not be opened)");
  Platform.NothingOpens = false;
  const qsizetype lines = LogLines().size();
  form.Image1MouseDown(Qt::LeftButton);
  form.Image1MouseDown(Qt::RightButton);
  EXPECT_EQ(LogLines().size(), lines);
}

}  // namespace
