// The search for a name's wallpaper links against the fixture site.

#include <gtest/gtest.h>

#include <algorithm>

#include "site/SiteTestSupport.h"
#include "fixture/FixtureSite.h"
#include "site/Discovery.h"
#include "site/Markup.h"
#include "site/Text.h"

namespace {

using fixture::TFault;
using fixture::TFixtureSite;
using fixture::TResponse;

TResponse Html(const QByteArray& Body, TFault Fault = TFault::None, int FaultTimes = -1) {
  TResponse r;
  r.Body = Body;
  r.Fault = Fault;
  r.FaultTimes = FaultTimes;
  return r;
}

class DiscoveryTest : public ::testing::Test {
 protected:
  TFixtureSite Site;
  site::TSiteUrls Urls = Site.Urls();
  sitetest::TTestRun Flags;
  sitetest::TRecordingView View;
  site::TDiscovery Discovery{Flags.Run, Urls, View};

  QByteArray Main() const { return Site.MainSiteUrl().toUtf8(); }
  QByteArray Wall() const { return Site.WallpaperHostUrl().toUtf8(); }
  void Page(const QByteArray& Target, const QByteArray& Body, TFault Fault = TFault::None, int FaultTimes = -1) {
    Site.Server().SetRoute(TFixtureSite::kMainHost, Target, Html(Body, Fault, FaultTimes));
  }
  QByteArray PageLink(const QByteArray& Path) const { return "<a href=\"" + Main() + Path + "\">page</a>\n"; }
  QByteArray WallLink(const QByteArray& Path) const {
    return "<li><a href=\"" + Wall() + Path + "\"><img src=\"x.jpg\"></a></li>\n";
  }
  std::vector<QByteArray> Targets() const {
    std::vector<QByteArray> out;
    for (const auto& r : Site.Server().Requests()) out.push_back(r.Target);
    return out;
  }
};

TEST_F(DiscoveryTest, WorkedExample) {
  fixture::TSiteName name{"Mary Ann O'Test", "mary-ann-o-test", {}};
  name.Pages = {{{"1000", "1024x768", {}}}, {{"1001", "1280x1024", {}}}};
  Site.AddName(name);
  View.Name = "Mary Ann O'Test";

  const QString pageLine = "<a href=\"" + Site.MainSiteUrl() + "/mary-ann-o-test/wallpapers/page/2/\">2</a>";
  const qsizetype L = Site.MainSiteUrl().size();
  EXPECT_EQ(site::Pos(Site.MainSiteUrl(), pageLine), 10);
  EXPECT_EQ(site::Pos(site::kPageLinkEnd, pageLine), L + 44);
  EXPECT_EQ(site::ListingPageEntry(pageLine, Site.MainSiteUrl()),
            Site.MainSiteUrl() + "/mary-ann-o-test/wallpapers/page/2");

  const QString linkLine = "<a href=\"" + Site.WallpaperHostUrl() + "/mary-ann-o-test/1001/1280x1024/\"><img src=";
  const qsizetype W = Site.WallpaperHostUrl().size();
  EXPECT_EQ(site::Pos(Site.WallpaperHostUrl(), linkLine), 10);
  EXPECT_EQ(site::Pos(site::kWallpaperLinkEnd, linkLine), W + 41);
  EXPECT_EQ(site::WallpaperLinkEntry(linkLine, Site.WallpaperHostUrl()),
            Site.WallpaperHostUrl() + "/mary-ann-o-test/1001/1280x1024");

  QStringList imageLinks{"left over from the last run"};
  Discovery.FindImagesTask(imageLinks);
  EXPECT_EQ(imageLinks, (QStringList{Site.WallpaperLink("mary-ann-o-test", "1000", "1024x768"),
                                     Site.WallpaperLink("mary-ann-o-test", "1001", "1280x1024")}));
  // The first listing page is read for its page links and again for its wallpapers.
  EXPECT_EQ(Targets(), (std::vector<QByteArray>{"/mary-ann-o-test/wallpapers/", "/mary-ann-o-test/wallpapers/",
                                                "/mary-ann-o-test/wallpapers/page/2/"}));
}

TEST_F(DiscoveryTest, FindsEveryLinkOfAManyPagedName) {
  const QByteArray jpeg = "not needed by the search";
  const fixture::TSiteName name =
      fixture::MakeSiteName("Sample Name", 12, 7, jpeg, 5001, {"1024x768", "1280x1024", "1920x1200"});
  Site.AddName(name);
  View.Name = "Sample Name";
  QStringList imageLinks;
  Discovery.FindImagesTask(imageLinks);

  QStringList expected;
  for (const auto& page : name.Pages)
    for (const auto& w : page) expected << Site.WallpaperLink(name.Slug, w.Id, w.Size);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(imageLinks, expected);
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, TFixtureSite::ListingTarget(name.Slug, 1)), 2);
  for (int p = 2; p <= 12; ++p)
    EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, TFixtureSite::ListingTarget(name.Slug, p)), 1) << p;
}

TEST_F(DiscoveryTest, APageWithoutPageLinksGivesOnlyItself) {
  Page("/solo/wallpapers/", "<html>\n" + WallLink("/solo/1/1024x768/") + "</html>\n");
  QStringList pages;
  Discovery.GetPages(Site.MainSiteUrl() + "/solo/wallpapers", pages);
  EXPECT_EQ(pages, QStringList{Site.MainSiteUrl() + "/solo/wallpapers/"});
}

TEST_F(DiscoveryTest, EachPageIsVisitedOnceInTextOrder) {
  Page("/x/wallpapers/", "<html>\n" + PageLink("/x/wallpapers/page/2/") + PageLink("/x/wallpapers/page/10/") +
                             PageLink("/x/wallpapers/page/2/") + PageLink("/X/wallpapers/page/3/") +
                             PageLink("/x/wallpapers/page/3/") + "</html>\n");
  QStringList links;
  Discovery.FindImages(Site.MainSiteUrl() + "/x/wallpapers/", links);
  const auto targets = Targets();
  ASSERT_EQ(targets.size(), 5u);
  EXPECT_EQ(targets[1], "/x/wallpapers/");
  EXPECT_EQ(targets[2], "/x/wallpapers/page/10/");
  EXPECT_EQ(targets[3], "/x/wallpapers/page/2/");
  EXPECT_EQ(targets[4].toLower(), "/x/wallpapers/page/3/");
}

TEST_F(DiscoveryTest, BrokenPageLinksCostATryAndAddNothing) {
  // A link without its end marker gives an empty entry, which asks for "/";
  // a relative link gives the line up to the marker's slash. Neither is fetchable.
  Page("/x/wallpapers/", PageLink("/x/wallpapers/page/2") + "<a href=\"/x/wallpapers/page/3/\">3</a>\n" +
                             WallLink("/x/7/1024x768/"));
  QStringList pages;
  Discovery.GetPages(Site.MainSiteUrl() + "/x/wallpapers/", pages);
  EXPECT_EQ(pages, (QStringList{"", "<a href=\"/x/wallpapers/page/3/", Site.MainSiteUrl() + "/x/wallpapers/"}));

  QStringList links;
  Discovery.FindImages(Site.MainSiteUrl() + "/x/wallpapers/", links);
  EXPECT_EQ(links, QStringList{Site.WallpaperLink("x", "7", "1024x768")});
  // Two readings of the first page for GetPages, one for its links; the others never connect.
  EXPECT_EQ(Site.Server().ConnectionCount(), 3);
}

TEST_F(DiscoveryTest, GetLinksTakesTheFirstLinkOfALineAndAppends) {
  Page("/x/wallpapers/page/2/", "<p>\n<a href=\"" + Wall() + "/x/1/1024x768/\"><a href=\"" + Wall() +
                                    "/x/2/1024x768/\">\n" + WallLink("/x/3/1280x800/") + "<a href='" + Wall() +
                                    "/x/4/1024x768/'>\n");
  QStringList links{"kept"};
  Discovery.GetLinks(Site.MainSiteUrl() + "/x/wallpapers/page/2", links);
  EXPECT_EQ(links, (QStringList{"kept", Site.WallpaperLink("x", "1", "1024x768"),
                                Site.WallpaperLink("x", "3", "1280x800")}));
}

TEST_F(DiscoveryTest, ControlChangesInOrder) {
  Page("/x/wallpapers/", "<html>\n" + PageLink("/x/wallpapers/page/2/") + "</html>\n");
  Page("/x/wallpapers/page/2/", WallLink("/x/9/1024x768/"));
  QStringList links;
  Discovery.FindImages(Site.MainSiteUrl() + "/x/wallpapers/", links);
  const QStringList expected{
      // GetPages: each line's caption shows the bar as the previous line left it.
      "Status:Searching for pages...", "Max:3", "Label2:0%", "Pos:0", "Label2:0%", "Pos:1", "Label2:33%", "Pos:2",
      "Pos:0",
      // FindImages: each page's caption shows that page's own share.
      "Status:Searching for Wallpapers...", "Max:2", "Pos:0", "Label2:0%", "Pos:1", "Label2:50%", "Pos:0"};
  EXPECT_EQ(View.Calls, expected);
}

TEST_F(DiscoveryTest, TheFirstLineShowsTheBarAsTheNewMaximumLeavesIt) {
  Page("/x/wallpapers/", "a\nb\nc\nd\n");
  View.Position = 3;
  QStringList pages;
  Discovery.GetPages(Site.MainSiteUrl() + "/x/wallpapers/", pages);
  EXPECT_EQ(View.Only("Label2"), (QStringList{"75%", "0%", "25%", "50%"}));

  View.Calls.clear();
  View.Max = 100;
  View.Position = 90;  // above the new maximum: the bar shows full
  Discovery.GetPages(Site.MainSiteUrl() + "/x/wallpapers/", pages);
  EXPECT_EQ(View.Only("Label2").value(0), "100%");
}

TEST_F(DiscoveryTest, AnEmptyFirstPageStillCountsAsOnePage) {
  Page("/x/wallpapers/", "");
  QStringList links;
  Discovery.FindImages(Site.MainSiteUrl() + "/x/wallpapers/", links);
  EXPECT_TRUE(links.isEmpty());
  EXPECT_EQ(View.Only("Max"), (QStringList{"0", "1"}));
  EXPECT_EQ(View.Only("Label2"), QStringList{"0%"});
}

TEST_F(DiscoveryTest, AnUnreachableFirstPageIsAskedForTwice) {
  const struct {
    bool Working;
    int Requests;
  } cases[] = {{false, 2}, {true, 2 * site::kDownloadPageTries}};
  for (const auto& c : cases) {
    Site.Server().ClearLog();
    Flags.Working = c.Working;
    Page("/gone/wallpapers/", "never sent", TFault::CloseAtOnce);
    QStringList links;
    Discovery.FindImages(Site.MainSiteUrl() + "/gone/wallpapers/", links);
    EXPECT_TRUE(links.isEmpty());
    EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, "/gone/wallpapers/"), c.Requests)
        << "working " << c.Working;
  }
}

// A site that never sends the first listing page is told apart from a name
// without wallpapers, and each page that could not be fetched is said once.
TEST_F(DiscoveryTest, TheFirstPageSaysWhetherTheSiteAnswered) {
  Page("/gone/wallpapers/", "never sent", TFault::CloseAtOnce);
  Page("/late/wallpapers/", "<html></html>\n", TFault::CloseAtOnce, 1);
  Page("/empty/wallpapers/", "<html>no links here</html>\n");
  Flags.Working = false;  // one try per asking
  const struct {
    const char* Path;
    bool Arrived;
    int FailureLines;
  } cases[] = {{"/gone/wallpapers/", false, 1}, {"/late/wallpapers/", true, 1}, {"/empty/wallpapers/", true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    View.Calls.clear();
    site::TDiscovery discovery(Flags.Run, Urls, View);
    QStringList links;
    discovery.FindImages(Site.MainSiteUrl() + c.Path, links);
    EXPECT_EQ(bool(discovery.FirstPage()), c.Arrived);
    const QStringList lines = View.Only("Log");
    ASSERT_EQ(lines.size(), c.FailureLines);
    if (c.FailureLines) {
      EXPECT_EQ(lines[0], "ERR: Can not load page - " + Site.MainSiteUrl() + c.Path + " (" + Site.MainSiteUrl().mid(7) +
                              ": the connection closed without an answer)");
    }
  }
}

TEST_F(DiscoveryTest, AnUnknownNameFindsNothing) {
  View.Name = "Nobody Known";
  QStringList links;
  Discovery.FindImagesTask(links);
  EXPECT_TRUE(links.isEmpty());
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, "/nobody-known/wallpapers/"), 2);
}

// After a stop every remaining page is still asked for, once.
TEST_F(DiscoveryTest, AfterAStopEveryPageGetsOneTry) {
  Page("/x/wallpapers/", PageLink("/x/wallpapers/page/2/") + PageLink("/x/wallpapers/page/3/") +
                             WallLink("/x/1/1024x768/"));
  Page("/x/wallpapers/page/2/", "", TFault::CloseAtOnce);
  Page("/x/wallpapers/page/3/", WallLink("/x/3/1024x768/"));
  Flags.Working = false;
  QStringList links;
  Discovery.FindImages(Site.MainSiteUrl() + "/x/wallpapers/", links);
  EXPECT_EQ(links, (QStringList{Site.WallpaperLink("x", "1", "1024x768"), Site.WallpaperLink("x", "3", "1024x768")}));
  EXPECT_EQ(Site.Server().RequestCount(TFixtureSite::kMainHost, "/x/wallpapers/page/2/"), 1);
}

// Each control change waits for the UI thread, so a long page moves the bar in
// percent steps only, and a stopped search shows nothing more of it.
TEST_F(DiscoveryTest, ALongPageCostsAHundredStepsAtMost) {
  QByteArray body;
  for (int i = 0; i < 100000; ++i) body += "<p>line</p>\n";
  body += PageLink("/x/wallpapers/page/2/");
  Page("/x/wallpapers/", body);
  QStringList pages;
  Discovery.GetPages(Site.MainSiteUrl() + "/x/wallpapers/", pages);
  EXPECT_EQ(pages.size(), 2);
  EXPECT_LE(View.Only("Label2").size(), 101);
  EXPECT_EQ(View.Only("Label2").size(), View.Only("Pos").size() - 1);  // and the final "Pos:0"
  EXPECT_EQ(View.Only("Label2").last(), "99%");
  EXPECT_EQ(View.Only("Pos").value(View.Only("Pos").size() - 2), "100000");

  std::atomic<bool> alive{false};
  site::TRunContext stopped = Flags.Run;
  stopped.Alive = &alive;
  site::TDiscovery discovery(stopped, Urls, View);
  View.Calls.clear();
  Site.Server().SetRoute(TFixtureSite::kMainHost, "/y/wallpapers/", Html(body));
  discovery.GetPages(Site.MainSiteUrl() + "/y/wallpapers/", pages);
  EXPECT_TRUE(View.Only("Label2").isEmpty());
}

}  // namespace
