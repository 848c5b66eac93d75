// The batch list driven through the main window against the fixture site.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <thread>

#include "control/BatchEntryPrint.h"
#include "control/window/Form1TestSupport.h"
#include "control/BatchList.h"
#include "fixture/Jpeg.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

using namespace form1test;
using Kind = ui::TPlatformCall::TKind;

namespace {

class BatchFixture : public Form1Fixture {
 protected:
  QString BatchFile() const { return WorkDir.path() + "/Batch.ini"; }

  // Types the name and presses "Add"; unticks the new entry when asked to.
  QTreeWidgetItem* Add(const QString& name, bool ticked = true) {
    Form->Edit1->setText(name);
    Form->Button2Click();
    QTreeWidgetItem* item = Form->ListView1->topLevelItem(Form->ListView1->topLevelItemCount() - 1);
    if (!ticked) {
      item->setCheckState(0, Qt::Unchecked);
      Form->SaveList();
    }
    return item;
  }
  QList<control::TBatchEntry> Shown() const {
    QList<control::TBatchEntry> out;
    for (int i = 0; i < Form->ListView1->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = Form->ListView1->topLevelItem(i);
      out << Entry(item->text(0), item->text(1), item->text(2), item->checkState(0) == Qt::Checked);
    }
    return out;
  }
  QList<int> Icons() const {
    QList<int> out;
    for (int i = 0; i < Form->ListView1->topLevelItemCount(); ++i)
      out << ui::TListView::ImageIndex(Form->ListView1->topLevelItem(i));
    return out;
  }
  void Select(int row) {
    Form->ListView1->clearSelection();
    Form->ListView1->topLevelItem(row)->setSelected(true);
  }
  // The window closes and opens again on the same folder.
  void Restart() {
    Form.reset();
    Open();
  }
  bool BatchEnds() {
    return PumpUntil([&] { return !Form->BatchMode && !Form->Working && task::LiveThreadCount() == 0; });
  }
  void ExpectIdle() {
    EXPECT_FALSE(Form->BatchMode);
    EXPECT_EQ(Form->Button3->text(), "Start Batch");
    EXPECT_TRUE(Form->Button1->isEnabled());
  }
  // The names whose first listing page was asked for, in order.
  QStringList SearchedSlugs() const {
    QStringList out;
    for (const auto& r : Site.Server().Requests()) {
      const QString target = QString::fromUtf8(r.Target);
      // The search asks for the first page twice: once for the page count, once for its links.
      if (r.Host == fixture::TFixtureSite::kMainHost && target.endsWith("/wallpapers/") &&
          (out.isEmpty() || out.last() != target.section('/', 1, 1)))
        out << target.section('/', 1, 1);
    }
    return out;
  }
  // Every image of `name` is requested and never answered, so its workers
  // hang in their fetches until the run is stopped or the window closes.
  void Stall(const QString& name) {
    Site.AddName(fixture::MakeSiteName(name, 1, 2, fixture::MakeJpeg(1024, 768), 9000, {"1024x768"}));
    fixture::TResponse silent;
    silent.Fault = fixture::TFault::Silent;
    Site.Server().SetFallback(fixture::TFixtureSite::kImageHost, silent);
    for (const char* id : {"9000", "9001"})
      Site.Server().SetRoute(fixture::TFixtureSite::kImageHost,
                             fixture::TFixtureSite::ImageTarget(fixture::SiteSlug(name), "1024x768", id), silent);
    Environment.Fetch.DataTimeout = std::chrono::milliseconds(500);
  }
  // Waits for this window's download phase and its first image request. A case
  // that reuses the site may find a request of the window before it, which the
  // server logged only after the log was cleared.
  bool WaitForImageRequest() {
    return PumpUntil([&] {
      if (Form->ListView3->topLevelItemCount() == 0) return false;
      for (const auto& r : Site.Server().Requests())
        if (r.Host == fixture::TFixtureSite::kImageHost) return true;
      return false;
    });
  }
};

TEST_F(BatchFixture, StartBatchWithNothingTickedEndsAtOnceAndStopsTheThumbnailTask) {
  for (bool withEntry : {false, true}) {
    SCOPED_TRACE(withEntry ? "one unticked entry" : "empty list");
    ui::TForm1& form = Open();
    if (withEntry) Add("Unticked", false);
    // A stand-in for the thumbnail pass: it runs until told to stop.
    form.LoadAllGirlsImg->OnExecuteEvent([](const task::TTaskThread& t) {
      while (t.Active) std::this_thread::yield();
    });
    form.LoadAllGirlsImg->Start();
    form.Button3Click();
    ExpectIdle();
    EXPECT_TRUE(PumpUntil([] { return task::LiveThreadCount() == 0; }));
    EXPECT_FALSE(form.Working);
    EXPECT_EQ(Site.Server().ConnectionCount(), 0);
    Form.reset();
  }
}

TEST_F(BatchFixture, ThreeTickedEntriesAreDownloadedInOrderAndRecorded) {
  const QByteArray jpeg = fixture::MakeJpeg(1024, 768);
  Site.AddName(fixture::MakeSiteName("Alpha One", 1, 2, jpeg, 100, {"1024x768"}));
  Site.AddName(fixture::MakeSiteName("Beta", 1, 3, jpeg, 200, {"1024x768"}));
  Site.AddName(fixture::MakeSiteName("Gamma", 1, 1, jpeg, 300, {"1024x768"}));
  ui::TForm1& form = Open();
  form.SpinEdit1->setValue(2);
  for (const char* name : {"Alpha One", "Beta", "Gamma"}) Add(name);
  form.Button3Click();
  EXPECT_EQ(form.Button3->text(), "Stop Batch");
  EXPECT_FALSE(form.Button1->isEnabled());
  ASSERT_TRUE(BatchEnds());

  EXPECT_EQ(SearchedSlugs(), (QStringList{"alpha-one", "beta", "gamma"}));
  const QList<control::TBatchEntry> done{Entry("Alpha One", "2", "Yes", false), Entry("Beta", "3", "Yes", false),
                               Entry("Gamma", "1", "Yes", false)};
  EXPECT_EQ(Shown(), done);
  EXPECT_EQ(Icons(), (QList<int>{1, 1, 1}));
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), done);
  ExpectIdle();
  EXPECT_EQ(LogLines().last(), "BATCH Mode: ON, Selecting Next Task...  ");
  EXPECT_EQ(Platform.Count(Kind::Open), 0);  // no folder opens in batch mode
  EXPECT_EQ(Platform.Count(Kind::PlayDoneSound), 3);
  EXPECT_TRUE(QFile::exists(WorkDir.path() + "/Wallpapers/Beta/1024x768/Beta (202).jpg"));
}

TEST_F(BatchFixture, OnlyTickedEntriesAreDownloadedAndAnEntryWithoutWallpapersIsRecordedWithNone) {
  Site.AddName(fixture::MakeSiteName("Skipped", 1, 2, fixture::MakeJpeg(1024, 768), 100, {"1024x768"}));
  Site.AddName(fixture::MakeSiteName("Taken", 1, 2, fixture::MakeJpeg(1024, 768), 200, {"1024x768"}));
  Open();
  Add("Skipped", false);
  Add("Taken");
  Add("Nobody");  // the site knows no such name
  Form->Button3Click();
  ASSERT_TRUE(BatchEnds());
  EXPECT_EQ(SearchedSlugs(), (QStringList{"taken", "nobody"}));
  EXPECT_EQ(Shown(), (QList<control::TBatchEntry>{Entry("Skipped", "0", "No", false), Entry("Taken", "2", "Yes", false),
                                        Entry("Nobody", "0", "Yes", false)}));
  ExpectIdle();
}

TEST_F(BatchFixture, AddKeepsTheTextAndIgnoresAnEmptyField) {
  ui::TForm1& form = Open();
  form.Edit1->setText("");
  form.Button2Click();
  EXPECT_EQ(form.ListView1->topLevelItemCount(), 0);
  EXPECT_FALSE(QFile::exists(BatchFile()));
  QTest::keyClicks(form.Edit1, "Typed");
  QTest::keyClick(form.Edit1, Qt::Key_Return);  // only the button adds
  EXPECT_EQ(form.ListView1->topLevelItemCount(), 0);
  form.Button2->click();
  EXPECT_EQ(Shown(), QList<control::TBatchEntry>{Entry("Typed", "0", "No", true)});
  EXPECT_EQ(Icons(), QList<int>{1});
  EXPECT_EQ(form.Edit1->text(), "Typed");
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), Shown());
}

TEST_F(BatchFixture, RemovingTheMiddleEntryLeavesTheOtherTwoAfterARestart) {
  Open();
  Add("A");
  Add("B", false);
  Add("C");
  Select(1);
  Form->Button4->click();
  const QList<control::TBatchEntry> left{Entry("A", "0", "No", true), Entry("C", "0", "No", true)};
  EXPECT_EQ(Shown(), left);
  EXPECT_EQ(QString::fromUtf8([&] {
              QFile f(BatchFile());
              return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            }()),
            "[A]\nDone=No\nFound=0\nChecked=Yes\n\n\n[C]\nDone=No\nFound=0\nChecked=Yes\n");
  Form->ListView1->clearSelection();
  Form->Button4Click();  // nothing selected: nothing goes
  Restart();
  EXPECT_EQ(Shown(), left);
}

// Its selection handler runs once, after the deletions: the name field never
// shows an entry that is being removed.
TEST_F(BatchFixture, RemovingSeveralEntriesShowsNoneOfThemOnTheWay) {
  ui::TForm1& form = Open();
  for (const char* name : {"A", "B", "C", "D"}) Add(name);
  form.ListView1->topLevelItem(2)->setSelected(true);
  form.ListView1->topLevelItem(1)->setSelected(true);
  ASSERT_EQ(form.NameEdit->currentText(), "B");
  form.NameEdit->setEditText("Typed");
  form.Button4Click();
  EXPECT_EQ(Shown(), (QList<control::TBatchEntry>{Entry("A", "0", "No", true), Entry("D", "0", "No", true)}));
  EXPECT_EQ(form.NameEdit->currentText(), "Typed");
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), Shown());
}

TEST_F(BatchFixture, TheSameNameTwiceIsTwoEntriesButOneSectionHoldingTheLaterValues) {
  Open();
  QTreeWidgetItem* first = Add("Same");
  first->setText(1, "7");
  first->setText(2, "Yes");
  Add("same", false);
  EXPECT_EQ(Form->ListView1->topLevelItemCount(), 2);
  Restart();
  EXPECT_EQ(Shown(), QList<control::TBatchEntry>{Entry("Same", "0", "No", false)});
}

TEST_F(BatchFixture, CheckAllTicksAndUnticksEveryEntryAndSaves) {
  Open();
  Add("A", false);
  Add("B");
  Add("C", false);
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "checked" : "unchecked");
    Form->CheckBox11->click();
    EXPECT_EQ(Form->CheckBox11->isChecked(), on);
    const QList<control::TBatchEntry> expected{Entry("A", "0", "No", on), Entry("B", "0", "No", on), Entry("C", "0", "No", on)};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(control::LoadBatchFile(BatchFile()), expected);
  }
}

TEST_F(BatchFixture, StartUpLoadsTheFileAsWrittenWithIdleIconsAndTicksOnlyForExactlyYes) {
  QFile file(BatchFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Lower]\nChecked=yes\nFound=3\nDone=Yes\n[Bare]\n[Ticked]\nChecked=Yes\nFound=x\n");
  file.close();
  ui::TForm1& form = Open();
  EXPECT_EQ(Shown(), (QList<control::TBatchEntry>{Entry("Lower", "3", "Yes", false), Entry("Bare", "0", "No", false),
                                        Entry("Ticked", "x", "No", true)}));
  EXPECT_EQ(Icons(), (QList<int>{1, 1, 1}));
  EXPECT_FALSE(form.CheckBox11->isChecked());
  ExpectIdle();
}

TEST_F(BatchFixture, SelectingAnEntryShowsItsNameAndItsPreviewOrThumbnailOrNothing) {
  const QByteArray jpeg = fixture::MakeJpeg(400, 300);
  ASSERT_TRUE(QDir().mkpath(WorkDir.path() + "/Wallpapers/Has Preview"));
  ASSERT_TRUE(QDir().mkpath(WorkDir.path() + "/AllGirls"));
  for (const QString& path : {WorkDir.path() + "/Wallpapers/Has Preview/Preview.jpg", WorkDir.path() + "/AllGirls/Thumb.jpg"}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(jpeg);
  }
  ui::TForm1& form = Open();
  Add("Has Preview");
  Add("Thumb");
  Add("Nothing");
  struct Case {
    int row;
    QString name, currentPath;
    bool picture;
  };
  const Case cases[] = {
      {0, "Has Preview", WorkDir.path() + "/Wallpapers/Has Preview/Preview.jpg", true},
      {1, "Thumb", WorkDir.path() + "/AllGirls/Thumb.jpg", true},
      {2, "Nothing", WorkDir.path() + "/AllGirls/Thumb.jpg", false},  // unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Select(c.row);
    ASSERT_TRUE(PreviewSettled(form));
    EXPECT_EQ(form.NameEdit->currentText(), c.name);
    EXPECT_EQ(form.Label3->text(), c.name);
    EXPECT_EQ(form.Image1->HasPicture(), c.picture);
    EXPECT_EQ(form.CurrentPath, c.currentPath);
  }
  // With several selected, the first in the list counts, whatever the order of selecting.
  form.ListView1->topLevelItem(2)->setSelected(true);
  form.ListView1->topLevelItem(1)->setSelected(true);
  EXPECT_EQ(form.NameEdit->currentText(), "Thumb");
  form.ListView1->clearSelection();  // nothing selected: nothing changes
  EXPECT_EQ(form.NameEdit->currentText(), "Thumb");
}

TEST_F(BatchFixture, AMouseClickSavesTheListAndACheckBoxChangedByKeyboardWaitsForTheNextSave) {
  ui::TForm1& form = Open();
  Add("A");
  Add("B");
  form.Button5Click();  // the full layout, with the page of the list
  form.PageControl1->setCurrentWidget(form.TabSheet1);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ui::TListView& list = *form.ListView1;

  // A click on A's check box: the box changes, then the click saves it.
  const QRect a = list.visualItemRect(list.topLevelItem(0));
  QStyleOptionViewItem cell;
  cell.initFrom(&list);
  cell.rect = a;
  cell.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  const QRect box = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, &list);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
  ASSERT_EQ(list.topLevelItem(0)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), (QList<control::TBatchEntry>{Entry("A", "0", "No", false), Entry("B", "0", "No", true)}));

  // Space on B changes its box but raises no click; the next click on a caption saves it.
  list.setCurrentItem(list.topLevelItem(1));
  QTest::keyClick(list.viewport(), Qt::Key_Space);
  ASSERT_EQ(list.topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_TRUE(control::LoadBatchFile(BatchFile())[1].Checked);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, a.center());
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), (QList<control::TBatchEntry>{Entry("A", "0", "No", false), Entry("B", "0", "No", false)}));

  // A click that changes nothing writes nothing: every write puts a new file in place.
  const ino_t before = Inode(BatchFile());
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, a.center());
  EXPECT_EQ(Inode(BatchFile()), before);
}

TEST_F(BatchFixture, StopBatchLetsTheRunEndAsASingleRunAndLeavesItsEntryForTheNextBatch) {
  Site.AddName(fixture::MakeSiteName("First", 1, 2, fixture::MakeJpeg(1024, 768), 100, {"1024x768"}));
  ui::TForm1& form = Open();
  Add("First");
  Add("Second");
  form.Button3Click();
  ASSERT_TRUE(form.Working);
  form.Button3Click();  // "Stop Batch"
  ExpectIdle();
  ASSERT_TRUE(BatchEnds());
  EXPECT_EQ(SearchedSlugs(), QStringList{"first"});
  EXPECT_EQ(Shown(), (QList<control::TBatchEntry>{Entry("First", "0", "No", true), Entry("Second", "0", "No", true)}));
  EXPECT_EQ(Icons(), (QList<int>{0, 1}));  // busy until started again or loaded again
  ASSERT_EQ(Platform.Count(Kind::Open), 1);
  EXPECT_EQ(Platform.Calls().back().Text, WorkDir.path() + "/Wallpapers/First");
}

// A name the Start path refuses is unticked and the batch goes on; what no
// entry can mend (the site's addresses) ends the batch with every entry ticked.
TEST_F(BatchFixture, AnEntryTheStartPathRefusesIsUntickedAndTheBatchGoesOn) {
  Site.AddName(fixture::MakeSiteName("Later", 1, 1, fixture::MakeJpeg(1024, 768), 100, {"1024x768"}));
  const struct {
    const char* What;
    QString MainSiteUrl;
    QList<control::TBatchEntry> Expected;
    QString Error;
  } cases[] = {
      {"a name that can be no folder",
       Site.MainSiteUrl(),
       {Entry("..", "0", "No", false), Entry("Later", "1", "Yes", false)},
       "ERR: Name can not be used as a folder - .."},
      {"a site address that can not be used",
       "no address",
       {Entry("..", "0", "No", false), Entry("Later", "0", "No", true)},
       "ERR: The site address MainSiteUrl=no address in [Site] of Settings.ini can not be used: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    QFile::remove(BatchFile());
    Environment.Site.MainSiteUrl = c.MainSiteUrl;
    ui::TForm1& form = Open();
    Add("..");
    Add("Later");
    form.Button3Click();
    // Said at once; a download that follows clears the log.
    bool said = false;
    for (const QString& line : LogLines()) said = said || line.startsWith(c.Error);
    EXPECT_TRUE(said) << LogLines().join('\n').toStdString();
    ASSERT_TRUE(BatchEnds());
    ExpectIdle();
    // Nobody watches a batch: no box waits for a click (start-up says a bad address once).
    EXPECT_EQ(Platform.Count(Kind::ShowMessage), c.MainSiteUrl == Site.MainSiteUrl() ? 0 : 1);
    EXPECT_EQ(Shown(), c.Expected);
    EXPECT_EQ(Icons(), (QList<int>{1, 1}));
    EXPECT_EQ(control::LoadBatchFile(BatchFile()), c.Expected);
    Form.reset();
  }
}

// Batch.ini names each entry's section by its name: a name it cannot keep
// would be shown, never saved, and gone at the next reload.
TEST_F(BatchFixture, AddRefusesANameTheFileCannotKeepSayingWhy) {
  ui::TForm1& form = Open();
  for (const QString& name : {QString(" Leading"), QString("Trailing "), QString("Square ] Bracket"), QString("   "),
                              QString("Tab\t")}) {
    SCOPED_TRACE(name.toStdString());
    Platform.Clear();
    form.Edit1->setText(name);
    form.Button2Click();
    EXPECT_EQ(form.ListView1->topLevelItemCount(), 0);
    const auto messages = Platform.Calls(Kind::ShowMessage);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].Text.startsWith("The name \"" + name + "\" can not be added to the batch list: "));
  }
  EXPECT_FALSE(QFile::exists(BatchFile()));
  Add("Fine Name");
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), QList<control::TBatchEntry>{Entry("Fine Name", "0", "No", true)});
}

TEST_F(BatchFixture, StartBatchDuringASingleRunIsRefusedAndTheRunGoesOn) {
  Stall("Stuck");
  ui::TForm1& form = Open();
  Add("Entry");
  form.NameEdit->setEditText("Stuck");
  form.Button1Click();
  ASSERT_TRUE(WaitForImageRequest());
  form.Button3Click();
  EXPECT_TRUE(form.Working);
  ExpectIdle();
  EXPECT_EQ(Platform.Count(Kind::ShowMessage), 1);
  EXPECT_EQ(Icons(), QList<int>{1});
  form.Button1Click();
  ASSERT_TRUE(BatchEnds());
  EXPECT_EQ(Shown(), QList<control::TBatchEntry>{Entry("Entry", "0", "No", true)});
  EXPECT_EQ(SearchedSlugs(), QStringList{"stuck"});
}

TEST_F(BatchFixture, ClosingDuringAnEntryLeavesItTickedWithItsOldValues) {
  Stall("Stuck");
  QFile file(BatchFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Stuck]\nDone=Yes\nFound=5\nChecked=Yes\n");
  file.close();
  Open();
  Form->Button3Click();
  ASSERT_TRUE(WaitForImageRequest());
  Form.reset();
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), QList<control::TBatchEntry>{Entry("Stuck", "5", "Yes", true)});
}

// The catalogue's names go into the list while "Stuck" downloads: one whose
// name has a trailing blank cannot be kept and is skipped, one that differs
// from the running entry only in case shares its section, and the run is
// still recorded in its own entry after the reload.
TEST_F(BatchFixture, AddSelectedDuringABatchRunKeepsTheRunningEntry) {
  Stall("Stuck");
  ui::TForm1& form = Open();
  Add("Stuck");
  for (const char* name : {"Sample Name ", "STUCK", "Fresh"}) form.ListView2->AddItem(name)->setCheckState(0, Qt::Checked);
  form.Button3Click();
  ASSERT_TRUE(WaitForImageRequest());
  form.Button9Click();
  EXPECT_EQ(Shown(), (QList<control::TBatchEntry>{Entry("Stuck", "0", "No", true), Entry("Fresh", "0", "No", true)}));
  EXPECT_EQ(form.BatchIDX, 0);
  QStringList skipped;
  for (const QString& line : LogLines())
    if (line.startsWith("ERR: Can not add to the batch list - ")) skipped << line;
  ASSERT_EQ(skipped.size(), 1);
  EXPECT_TRUE(skipped[0].startsWith("ERR: Can not add to the batch list - \"Sample Name \" ("));
  form.Button1Click();  // stops the run, as only the program can while the batch disables the button
  ASSERT_TRUE(BatchEnds());
  const QList<control::TBatchEntry> done{Entry("Stuck", "0", "Yes", false), Entry("Fresh", "0", "Yes", false)};
  EXPECT_EQ(Shown(), done);
  EXPECT_EQ(control::LoadBatchFile(BatchFile()), done);
  EXPECT_EQ(SearchedSlugs(), (QStringList{"stuck", "fresh"}));
}

// The list changes while its entry "Stuck" downloads; the run, stopped, is
// recorded in that entry wherever it has moved, or nowhere once it is gone.
TEST_F(BatchFixture, AChangedListStillRecordsTheRunInItsOwnEntry) {
  struct Case {
    const char* what;
    QList<control::TBatchEntry> entries;
    std::function<void()> change;
    QList<control::TBatchEntry> expected;
  };
  const Case cases[] = {
      {"an entry above is removed",
       {Entry("Above", "0", "No", false), Entry("Stuck", "0", "No", true), Entry("Below", "0", "No", false)},
       [this] {
         Select(0);
         // The run's name is fixed, so the selection may change the field.
         EXPECT_EQ(Form->NameEdit->currentText(), "Above");
         Form->Button4Click();
       },
       {Entry("Stuck", "0", "Yes", false), Entry("Below", "0", "No", false)}},
      {"its own entry is removed",
       {Entry("Stuck", "0", "No", true), Entry("Below", "0", "No", false)},
       [this] {
         Select(0);
         Form->Button4Click();
       },
       {Entry("Below", "0", "No", false)}},
      {"the list is loaded again and two entries above share a section",
       {Entry("Dup", "0", "No", false), Entry("DUP", "0", "No", false), Entry("Stuck", "0", "No", true)},
       [this] { Form->LoadList(); },
       {Entry("Dup", "0", "No", false), Entry("Stuck", "0", "Yes", false)}},
  };
  Stall("Stuck");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(BatchFile());
    Open();
    for (const control::TBatchEntry& e : c.entries) Add(e.Name, e.Checked);
    Form->Button3Click();
    ASSERT_TRUE(Form->Working);
    ASSERT_TRUE(WaitForImageRequest());
    c.change();
    Form->Button1Click();  // stops the run, as only the program can while the batch disables the button
    ASSERT_TRUE(BatchEnds());
    EXPECT_EQ(Shown(), c.expected);
    EXPECT_EQ(control::LoadBatchFile(BatchFile()), c.expected);
    ExpectIdle();
    Form.reset();
    Site.Server().ClearLog();
  }
}

}  // namespace
