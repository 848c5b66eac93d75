// The name catalogue on the main window, against the fixture site.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "Form1TestSupport.h"
#include "control/BatchList.h"
#include "fixture/Jpeg.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace {

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
  bool PassEnded() {
    return PumpUntil([&] { return task::LiveThreadCount() == 0; });
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

TEST_F(Form1CatalogueTest, LoadGirlsAppendsTheIndexEveryTime) {
  Thumbnail("Ann One.jpg");
  Site.SetNamesIndex({"Ann One", "Bea O'Two", "Cy Three"});
  Open();
  Form->Button7->click();
  EXPECT_EQ(Form->Label5->text(), "3");
  Form->Button7Click();
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
  Open();  // the site serves no /babes/
  Form->Button7Click();
  EXPECT_EQ(Form->ListView2->topLevelItemCount(), 0);
  EXPECT_EQ(Form->Label5->text(), "0");
}

TEST_F(Form1CatalogueTest, PassStoresWhatArrivesAndMarksWhatDoesNot) {
  const QByteArray jpeg = fixture::MakeJpeg(640, 480);
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 2, jpeg, 52001, {"1920x1200"}));
  Site.AddName(fixture::MakeSiteName("Bea O'Two", 1, 1, QByteArray()));  // the image host answers 404
  Site.SetNamesIndex({"Ann One", "Bea O'Two"});
  ASSERT_TRUE(QDir(WorkDir.path()).mkdir("AllGirls"));
  Open();
  Form->Button7Click();
  Form->Button8->click();
  EXPECT_EQ(Form->Button8->text(), "STOP");
  ASSERT_TRUE(PassEnded());
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", 4}, {"Bea O'Two", 6}}));
  QFile stored(WorkDir.path() + "/AllGirls/Ann One.jpg");
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), jpeg);  // the bytes as sent
  EXPECT_FALSE(QFile::exists(WorkDir.path() + "/AllGirls/Bea O'Two.jpg"));
  EXPECT_EQ(Site.Server().RequestCount(fixture::TFixtureSite::kImageHost,
                                       fixture::TFixtureSite::ImageTarget("ann-one", "1920x1200", "52001")),
            1);
  const QStringList log = LogLines();
  EXPECT_TRUE(log.contains(Site.MainSiteUrl() + "/bea-o-two/wallpapers/")) << log.join('\n').toStdString();
  EXPECT_TRUE(log.contains("ERR: Can not load - Bea O'Two")) << log.join('\n').toStdString();
  EXPECT_FALSE(log.contains("ERR: Can not load - Ann One"));
  EXPECT_EQ(Form->Label3->text(), "Ann One");
  EXPECT_EQ(Form->CurrentPath, WorkDir.path() + "/AllGirls/Ann One.jpg");
  EXPECT_TRUE(Form->Image1->HasPicture());
  EXPECT_EQ(Form->Label5->text(), "Image: 2 of 2");
  EXPECT_EQ(Form->Button8->text(), "STOP");  // an ended pass leaves the button as it was
  Form->Button8Click();
  EXPECT_EQ(Form->Button8->text(), "Load Images");
  EXPECT_EQ(task::LiveThreadCount(), 0);
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

TEST_F(Form1CatalogueTest, PassWithoutTheFolderFetchesButStoresNothing) {
  Site.AddName(fixture::MakeSiteName("Ann One", 1, 1, fixture::MakeJpeg(640, 480)));
  Site.AddName(fixture::MakeSiteName("Bea Two", 1, 1, fixture::MakeJpeg(640, 480)));
  Site.SetNamesIndex({"Ann One", "Bea Two"});
  Open();
  Form->Button7Click();
  Form->Button8Click();
  ASSERT_TRUE(PassEnded());
  EXPECT_FALSE(QDir(WorkDir.path() + "/AllGirls").exists());  // never made by the program
  EXPECT_EQ(Items(), (QList<std::pair<QString, int>>{{"Ann One", 6}, {"Bea Two", -1}}));  // the pass ended
  EXPECT_TRUE(LogLines().contains("ERR: Can not save - " + WorkDir.path() +
                                  "/AllGirls/Ann One.jpg: No such file or directory"));
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
  Form->Button7Click();
  Form->Button8Click();
  ASSERT_TRUE(PumpUntil([&] { return Form->Label5->text().startsWith("Image: "); }));
  Form->Button8Click();
  EXPECT_EQ(Form->Button8->text(), "Load Images");
  EXPECT_FALSE(Form->LoadingThumbs);
  ASSERT_TRUE(PassEnded());
  EXPECT_NE(Form->Label5->text(), "Image: 100 of 100");
  EXPECT_EQ(TListView::ImageIndex(Form->ListView2->topLevelItem(99)), -1);  // never visited
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
  Form->Button7Click();
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
  for (const BatchEntry& e : LoadBatchFile(BatchFilePath(WorkDir.path()))) stored << e.Name;
  stored.sort();
  EXPECT_EQ(stored, added);
  for (int i = 0; i < Form->ListView2->topLevelItemCount(); ++i)
    EXPECT_EQ(Form->ListView2->topLevelItem(i)->checkState(0), Qt::Checked);  // ticks stay
}

}  // namespace
