// The name catalogue on the main window, against the fixture site.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "control/window/Form1TestSupport.h"
#include "control/BatchList.h"
#include "fixture/Jpeg.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace {

using namespace std::chrono_literals;
using fixture::TFixtureSite;
using form1test::PumpUntil;
using ui::TListView;

class Form1CatalogueTest : public form1test::Form1Fixture {
 protected:
  void Thumbnail(const QString& caption, const QByteArray& data = fixture::MakeJpeg(400, 300)) {
    ASSERT_TRUE(QDir(WorkDir.path()).mkpath("AllGirls"));
    QFile f(WorkDir.path() + "/AllGirls/" + caption);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }
  // Caption and icon of every item, in list order.
  QList<std::pair<QString, int>> Items() const {
    QList<std::pair<QString, int>> items;
    for (int i = 0; i < Form->ListView2->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = Form->ListView2->topLevelItem(i);
      items.append({item->text(0), TListView::ImageIndex(item)});
    }
    return items;
  }
  int Icon(int i) const { return TListView::ImageIndex(Form->ListView2->topLevelItem(i)); }
  bool PassEnded() {
    return PumpUntil([&] { return task::LiveThreadCount() == 0; });
  }
  // Presses "Load Girls" and waits for the names: the button is disabled and
  // the label says so until they have arrived.
  bool LoadGirls() {
    Form->Button7Click();
    EXPECT_FALSE(Form->Button7->isEnabled());
    EXPECT_EQ(Form->Label5->text(), "Loading names...");
    return PumpUntil([&] { return Form->Button7->isEnabled(); });
  }
  int IndexRequests() const {
    return Site.Server().RequestCount(TFixtureSite::kMainHost, TFixtureSite::IndexTarget());
  }
  int Requests(int host, const QByteArray& target) const { return Site.Server().RequestCount(host, target); }
  bool WaitForRequest(int host, const QByteArray& target) {
    return PumpUntil([&] { return Requests(host, target) > 0; });
  }
  QStringList LogMatching(const QString& start) const {
    QStringList out;
    for (const QString& line : LogLines())
      if (line.startsWith(start)) out << line;
    return out;
  }
  static fixture::TResponse Silent(int times = -1) {
    fixture::TResponse silent;
    silent.Fault = fixture::TFault::Silent;
    silent.FaultTimes = times;
    return silent;
  }
};

TEST_F(Form1CatalogueTest, StartUpListsTheThumbnailFiles) {
  for (const char* name : {"A.jpg", "B.jpg", "notes.txt", "C.jpg.bak", "D.JPG"}) Thumbnail(name);
  Open();
  auto items = Items();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (QList<std::pair<QString, int>>{{"A", 4}, {"B", 4}, {"C.jpg", 4}}));
  EXPECT_EQ(Form->Label5->text(), "3");
}

TEST_F(Form1CatalogueTest, StartUpWithoutThumbnailsKeepsTheLabel) {
  Open();
  EXPECT_EQ(Form->ListView2->topLevelItemCount(), 0);
  EXPECT_EQ(Form->Label5->text(), "Found:0");
}

TEST_F(Form1CatalogueTest, LoadGirlsAppendsTheIndexEveryTimeAndOnePressFetchesOnce) {
  Thumbnail("Ann One.jpg");
  Site.SetNamesIndex({"Ann One", "Bea O'Two", "Cy Three"});
  Open();
  Form->Button7->click();
  Form->Button7Click();  // pressed again while the first fetch runs: nothing more happens
  ASSERT_TRUE(PumpUntil([&] { return Form->Button7->isEnabled(); }));
  EXPECT_EQ(IndexRequests(), 1);
  EXPECT_EQ(Form->Label5->text(), "3");
  ASSERT_TRUE(LoadGirls());
  EXPECT_EQ(IndexRequests(), 2);
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", 4},
                                                      {"Ann One", 4},
                                                      {"Bea O'Two", -1},
                                                      {"Cy Three", -1},
                                                      {"Ann One", 4},
                                                      {"Bea O'Two", -1},
                                                      {"Cy Three", -1}}));
  EXPECT_EQ(Form->Label5->text(), "3");  // the names read, not the items
}

TEST_F(Form1CatalogueTest, LoadGirlsWithoutAnIndexAddsNothing) {
  Open();  // the site serves no /babes/: its 404 page is a page without names
  ASSERT_TRUE(LoadGirls());
  EXPECT_EQ(Form->ListView2->topLevelItemCount(), 0);
  EXPECT_EQ(Form->Label5->text(), "0");
  EXPECT_EQ(IndexRequests(), 1);
  EXPECT_TRUE(LogMatching("ERR:").isEmpty());
}

// The window goes on serving its events meanwhile: the fetch is on a thread.
TEST_F(Form1CatalogueTest, ASilentIndexIsAskedForFiftyTimesAndSaysWhy) {
  Environment.Fetch.DataTimeout = 10ms;
  Site.Server().SetRoute(TFixtureSite::kMainHost, TFixtureSite::IndexTarget(), Silent());
  Open();
  ASSERT_TRUE(LoadGirls());
  EXPECT_EQ(IndexRequests(), 50);
  EXPECT_EQ(Form->ListView2->topLevelItemCount(), 0);
  EXPECT_EQ(Form->Label5->text(), "0");
  EXPECT_EQ(LogMatching("ERR:"), QStringList{"ERR: Can not load page - " + Site.MainSiteUrl() + "/babes/ (" +
                                             Site.MainSiteUrl().mid(7) + ": no answer within 10 ms)"});
}

TEST_F(Form1CatalogueTest, ClosingDuringLoadGirlsEndsTheFetch) {
  Environment.Fetch.DataTimeout = 1h;
  Site.Server().SetRoute(TFixtureSite::kMainHost, TFixtureSite::IndexTarget(), Silent());
  Open();
  Form->Button7Click();
  ASSERT_TRUE(PumpUntil([&] { return IndexRequests() == 1; }));
  Form.reset();
  EXPECT_EQ(task::LiveThreadCount(), 0);  // it ended within the wait at closing
  EXPECT_EQ(IndexRequests(), 1);
}

TEST_F(Form1CatalogueTest, PassStoresWhatArrivesAndMarksWhatDoesNot) {
  const QByteArray jpeg = fixture::MakeJpeg(640, 480);
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 2, jpeg, 52001, {"1920x1200"}));
  Site.AddName(fixture::MakeSiteName("Bea O'Two", 1, 1, QByteArray()));  // the image host answers 404
  Site.SetNamesIndex({"Ann One", "Bea O'Two"});
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  Open();
  ASSERT_TRUE(LoadGirls());
  Form->Button8->click();
  EXPECT_EQ(Form->Button8->text(), "STOP");
  ASSERT_TRUE(PassEnded());
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", 4}, {"Bea O'Two", 6}}));
  QFile stored(WorkDir.path() + "/AllGirls/Ann One.jpg");
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), jpeg);  // the bytes as sent
  EXPECT_FALSE(QFile::exists(WorkDir.path() + "/AllGirls/Bea O'Two.jpg"));
  EXPECT_EQ(Requests(TFixtureSite::kImageHost, TFixtureSite::ImageTarget("ann-one", "1920x1200", "52001")), 1);
  const QStringList log = LogLines();
  EXPECT_TRUE(log.contains(Site.MainSiteUrl() + "/bea-o-two/wallpapers/")) << log.join('\n').toStdString();
  EXPECT_EQ(LogMatching("ERR:"), QStringList{"ERR: Can not load - Bea O'Two (no JPEG picture)"});
  EXPECT_EQ(Form->Label3->text(), "Ann One");
  EXPECT_EQ(Form->CurrentPath, WorkDir.path() + "/AllGirls/Ann One.jpg");
  EXPECT_TRUE(Form->Image1->HasPicture());
  EXPECT_EQ(Form->Label5->text(), "Image: 2 of 2");
  EXPECT_EQ(Form->Button8->text(), "STOP");  // an ended pass leaves the button as it was
  Form->Button8Click();
  EXPECT_EQ(Form->Button8->text(), "Load Images");
  EXPECT_EQ(task::LiveThreadCount(), 0);
}

// Each name costs at most its limits, counted at the site, and one name that
// cannot be stored never stops the pass.
TEST_F(Form1CatalogueTest, EachNameEndsWithinItsLimitsAndThePassGoesOn) {
  Site.AddName(fixture::MakeSiteName("Narrow One", 1, 1, fixture::MakeJpeg(299, 400)));
  Site.AddName(fixture::MakeSiteName("Last One", 1, 1, fixture::MakeJpeg(640, 480)));
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  const QString tooLong(260, u'n');
  Open();
  for (const QString& name : {QString("No Link"), QString("Narrow One"), tooLong, QString("Last One")})
    Form->ListView2->AddItem(name);
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());

  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"No Link", 0}, {"Narrow One", 6}, {tooLong, 6}, {"Last One", 4}}));
  EXPECT_EQ(Requests(TFixtureSite::kMainHost, "/no-link/wallpapers/"), 50);
  EXPECT_EQ(Requests(TFixtureSite::kImageHost, TFixtureSite::ImageTarget("narrow-one", "1280x1024", "1001")), 20);
  EXPECT_EQ(LogMatching("ERR:"), (QStringList{"ERR: Can not load - Narrow One (only 299 pixels wide)",
                                              "ERR: Can not save - " + tooLong + " (no file name can hold the name)"}));
  for (const fixture::TRequestRecord& r : Site.Server().Requests()) EXPECT_FALSE(r.Target.contains("nnnn"));
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/AllGirls/Last One.jpg"));
}

TEST_F(Form1CatalogueTest, PassOverExistingThumbnailsMakesNoRequest) {
  Thumbnail("A.jpg");
  Thumbnail("B.jpg");
  Open();
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());
  EXPECT_EQ(Items().size(), 2);
  for (const auto& item : Items()) EXPECT_EQ(item.second, 4);
  EXPECT_TRUE(Site.Server().Requests().empty());
  EXPECT_EQ(Form->Label5->text(), "Image: 2 of 2");
}

TEST_F(Form1CatalogueTest, PassWithoutTheFolderEndsBeforeAnyRequest) {
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, fixture::MakeJpeg(640, 480)));
  Site.AddName(fixture::MakeSiteName("Bea Two", 1, 1, fixture::MakeJpeg(640, 480)));
  Site.SetNamesIndex({"Ann One", "Bea Two"});
  Open();
  ASSERT_TRUE(LoadGirls());
  Site.Server().ClearLog();
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());
  EXPECT_FALSE(QDir(WorkDir.path() + "/AllGirls").exists());  // never made by the program
  EXPECT_TRUE(Site.Server().Requests().empty());
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", -1}, {"Bea Two", -1}}));
  EXPECT_EQ(LogMatching("ERR:"), QStringList{"ERR: Can not save thumbnails - " + WorkDir.path() +
                                             "/AllGirls: No such file or directory"});
}

TEST_F(Form1CatalogueTest, UnreadableThumbnailDoesNotStopThePass) {
  Thumbnail("A.jpg", "no picture");
  Thumbnail("B.jpg");
  Open();
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());
  auto items = Items();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (QList<std::pair<QString, int>>{{"A", 6}, {"B", 4}}));
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/AllGirls/A.jpg"));  // kept as it is
}

TEST_F(Form1CatalogueTest, StopEndsThePassEarly) {
  QStringList names;  // none has a listing page, so each costs 50 fetches
  for (int n = 0; n < 100; ++n) names << "Name " + QString::number(n);
  Site.SetNamesIndex(names);
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  Open();
  ASSERT_TRUE(LoadGirls());
  Form->Button8Click();
  ASSERT_TRUE(PumpUntil([&] { return Form->Label5->text().startsWith("Image: "); }));
  Form->Button8Click();
  EXPECT_EQ(Form->Button8->text(), "Load Images");
  EXPECT_FALSE(Form->LoadingThumbs);
  ASSERT_TRUE(PassEnded());
  EXPECT_NE(Form->Label5->text(), "Image: 100 of 100");
  EXPECT_EQ(Icon(99), -1);  // never visited
}

// STOP while the pass looks for a name's link leaves its busy icon and says
// nothing; STOP while it fetches the picture gives the failed icon and its line.
TEST_F(Form1CatalogueTest, StopInTheLinkLoopOrTheImageLoopLeavesTheIconsAsTheyWere) {
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  Site.AddName(fixture::MakeSiteName("Slow Picture", 1, 1, fixture::MakeJpeg(640, 480)));
  const QByteArray image = TFixtureSite::ImageTarget("slow-picture", "1280x1024", "1001");
  Site.Server().SetRoute(TFixtureSite::kImageHost, image, Silent());
  Site.Server().SetRoute(TFixtureSite::kMainHost, "/slow-page/wallpapers/", Silent());
  const struct {
    const char* What;
    QString Name;
    int Host;
    QByteArray Target;
    int Icon;
    QStringList Errors;
  } cases[] = {
      {"in the link loop", "Slow Page", TFixtureSite::kMainHost, "/slow-page/wallpapers/", 0, {}},
      {"in the image loop", "Slow Picture", TFixtureSite::kImageHost, image, 6,
       {"ERR: Can not load - Slow Picture (" + Site.ImageHostUrl().mid(7).chopped(1) + ": stopped)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Site.Server().ClearLog();
    Open();
    Form->ListView2->AddItem(c.Name);
    Form->ListView2->AddItem("Never Visited");
    Form->Button8Click();
    ASSERT_TRUE(WaitForRequest(c.Host, c.Target));
    Form->Button8Click();  // STOP
    ASSERT_TRUE(PassEnded());
    EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{c.Name, c.Icon}, {"Never Visited", -1}}));
    EXPECT_EQ(LogMatching("ERR:"), c.Errors);
    EXPECT_EQ(Requests(c.Host, c.Target), 1);
    EXPECT_EQ(Form->Label5->text(), "Image: 1 of 2");
    Form.reset();
  }
}

TEST_F(Form1CatalogueTest, APassStartedWhileTheStoppedOneFinishesIsTheOnlyOneThatShows) {
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  const QByteArray jpeg = fixture::MakeJpeg(640, 480);
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, jpeg));
  const QByteArray image = TFixtureSite::ImageTarget("ann-one", "1280x1024", "1001");
  fixture::TResponse once = Silent(1);  // the first request is never answered, the next one is
  once.Body = jpeg;
  Site.Server().SetRoute(TFixtureSite::kImageHost, image, once);
  Open();
  Form->ListView2->AddItem("Ann One");
  Form->Button8Click();
  ASSERT_TRUE(WaitForRequest(TFixtureSite::kImageHost, image));
  // STOP and "Load Images" at once: the first pass is still in its fetch.
  Form->Button8Click();
  Form->Button8Click();
  EXPECT_EQ(Form->Button8->text(), "STOP");
  ASSERT_TRUE(PassEnded());
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", 4}}));
  EXPECT_TRUE(LogMatching("ERR:").isEmpty());  // the stopped pass said nothing of its failed fetch
  EXPECT_EQ(Requests(TFixtureSite::kImageHost, image), 2);
  QFile stored(WorkDir.path() + "/AllGirls/Ann One.jpg");
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), jpeg);
}

TEST_F(Form1CatalogueTest, ClosingDuringAPassEndsIt) {
  Environment.Fetch.DataTimeout = 1h;
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, fixture::MakeJpeg(640, 480)));
  const QByteArray image = TFixtureSite::ImageTarget("ann-one", "1280x1024", "1001");
  Site.Server().SetRoute(TFixtureSite::kImageHost, image, Silent());
  Open();
  Form->ListView2->AddItem("Ann One");
  Form->Button8Click();
  ASSERT_TRUE(WaitForRequest(TFixtureSite::kImageHost, image));
  Form.reset();
  EXPECT_EQ(task::LiveThreadCount(), 0);  // it ended within the wait at closing
  EXPECT_EQ(Requests(TFixtureSite::kImageHost, image), 1);
  EXPECT_FALSE(QFile::exists(WorkDir.path() + "/AllGirls/Ann One.jpg"));
}

TEST_F(Form1CatalogueTest, EmptyCatalogueEndsThePassAtOnce) {
  Open();
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());
  EXPECT_EQ(Form->Button8->text(), "STOP");
  Form->Button8Click();  // resets the button, starts nothing
  EXPECT_EQ(Form->Button8->text(), "Load Images");
  EXPECT_EQ(task::LiveThreadCount(), 0);
}

TEST_F(Form1CatalogueTest, SelectingANameShowsItsThumbnail) {
  Thumbnail("A.jpg");
  Site.SetNamesIndex({"Without"});
  Open();
  ASSERT_TRUE(LoadGirls());
  Form->ListView2->topLevelItem(0)->setSelected(true);
  ASSERT_TRUE(form1test::PreviewSettled(*Form));
  EXPECT_TRUE(Form->Image1->HasPicture());
  EXPECT_EQ(Form->Label3->text(), "A");
  EXPECT_EQ(Form->CurrentPath, WorkDir.path() + "/AllGirls/A.jpg");
  Form->ListView2->clearSelection();
  Form->ListView2->topLevelItem(1)->setSelected(true);
  EXPECT_FALSE(Form->Image1->HasPicture());
  EXPECT_EQ(Form->Label3->text(), "A");  // kept
  EXPECT_EQ(Form->CurrentPath, WorkDir.path() + "/AllGirls/A.jpg");
}

TEST_F(Form1CatalogueTest, CheckAllThenAddSelectedFillsTheBatchList) {
  Thumbnail("A.jpg");
  Thumbnail("B.jpg");
  Open();
  Form->CheckBox12->setChecked(true);
  Form->Button9->click();
  QStringList added;
  for (int i = 0; i < Form->ListView1->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = Form->ListView1->topLevelItem(i);
    added << item->text(0);
    EXPECT_EQ(item->text(1), "0");
    EXPECT_EQ(item->text(2), "No");
    EXPECT_EQ(item->checkState(0), Qt::Checked);
    EXPECT_EQ(TListView::ImageIndex(item), 1);
  }
  added.sort();
  EXPECT_EQ(added, QStringList({"A", "B"}));
  QStringList stored;
  for (const control::TBatchEntry& e : control::LoadBatchFile(download::BatchFilePath(WorkDir.path()))) stored << e.Name;
  stored.sort();
  EXPECT_EQ(stored, added);
  for (int i = 0; i < Form->ListView2->topLevelItemCount(); ++i)
    EXPECT_EQ(Form->ListView2->topLevelItem(i)->checkState(0), Qt::Checked);  // ticks stay
}

// Batch.ini names each entry's section by its name: a name it cannot keep
// would be shown, never saved, and gone at the next reload.
TEST_F(Form1CatalogueTest, AddSelectedSkipsNamesTheBatchFileCannotKeepAndSaysSo) {
  Site.SetNamesIndex({"Kept One", " Leading", "Trailing ", "Square ] Bracket", "Kept Two"});
  Open();
  ASSERT_TRUE(LoadGirls());
  Form->CheckBox12->setChecked(true);
  Form->Button9Click();
  QStringList added;
  for (int i = 0; i < Form->ListView1->topLevelItemCount(); ++i) added << Form->ListView1->topLevelItem(i)->text(0);
  EXPECT_EQ(added, (QStringList{"Kept One", "Kept Two"}));
  const QStringList errors = LogMatching("ERR: Can not add to the batch list - ");
  ASSERT_EQ(errors.size(), 3) << errors.join('\n').toStdString();
  EXPECT_TRUE(errors[0].startsWith("ERR: Can not add to the batch list - \" Leading\" ("));
  EXPECT_TRUE(errors[1].startsWith("ERR: Can not add to the batch list - \"Trailing \" ("));
  EXPECT_TRUE(errors[2].startsWith("ERR: Can not add to the batch list - \"Square ] Bracket\" ("));
  QStringList stored;
  for (const control::TBatchEntry& e : control::LoadBatchFile(download::BatchFilePath(WorkDir.path()))) stored << e.Name;
  EXPECT_EQ(stored, added);
}

}  // namespace
