// The control classes the windows are built from.

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "ui/UiTestSupport.h"
#include "ui/TImage.h"
#include "ui/TImageList.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace ui::testing {
namespace {

TEST(FitRect, ScalesUpOrDownKeepingProportionsAndCentres) {
  struct Case {
    QSize picture;
    QSize box;
    QRect expected;
  };
  const QSize preview(417, 269);
  const Case cases[] = {
      {{1920, 1200}, preview, QRect(0, 4, 417, 260)},   // wide: bands above and below
      {{768, 1024}, preview, QRect(108, 0, 201, 269)},  // tall: bands left and right
      {{100, 50}, preview, QRect(0, 30, 417, 208)},     // small: enlarged
      {{417, 269}, preview, QRect(0, 0, 417, 269)},
      {{0, 0}, preview, QRect()},                       // no picture
      {{1, 10000}, preview, QRect(208, 0, 0, 269)},     // too thin to show: nothing drawn
      {{1920, 1200}, {0, 0}, QRect()},
  };
  for (const Case& c : cases) {
    const QRect fit = FitRect(c.picture, c.box);
    if (c.expected.isEmpty()) {
      EXPECT_TRUE(fit.isEmpty()) << c.picture.width() << "x" << c.picture.height();
    } else {
      EXPECT_EQ(fit, c.expected) << c.picture.width() << "x" << c.picture.height();
    }
  }
}

// A shown top-level window for the controls under test, so mouse events arrive
// as they do on a desktop.
class ControlFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Window.resize(300, 100);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window, 5000));
  }
  QWidget Window;
};

using Label = ControlFixture;

TEST_F(Label, GrowsWithItsCaptionAndShowsMarkupAsText) {
  TLabel label("Progress", &Window);
  label.show();
  const int start = label.width();
  label.setText("Searching for Wallpapers...");
  EXPECT_GT(label.width(), start);
  EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance("Searching for Wallpapers..."));

  // A name from the site is shown as typed, never read as markup.
  label.setText("<b>Kate</b>");
  EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance("<b>Kate</b>"));
  label.setText("Done");
  EXPECT_LT(label.width(), start);
}

// Presses and releases over a control; a click needs the left button going down
// and up over it.
struct ClickCase {
  const char* what;
  Qt::MouseButton button;
  bool releaseOutside;
  int clicks;
};
const ClickCase kClickCases[] = {
    {"left click", Qt::LeftButton, false, 1},
    {"left press, release elsewhere", Qt::LeftButton, true, 0},
    {"right click", Qt::RightButton, false, 0},
    {"middle click", Qt::MiddleButton, false, 0},
};

template <class Control>
int ClicksOf(Control& control, const ClickCase& c) {
  QSignalSpy clicks(&control, &Control::Click);
  QTest::mousePress(&control, c.button, {}, QPoint(2, 2));
  QTest::mouseRelease(&control, c.button, {}, c.releaseOutside ? QPoint(-20, -20) : QPoint(2, 2));
  return int(clicks.count());
}

TEST_F(Label, ClicksOnlyOnALeftPressAndReleaseOverIt) {
  TLabel label("www.tamro.example", &Window);
  label.show();
  for (const ClickCase& c : kClickCases) EXPECT_EQ(ClicksOf(label, c), c.clicks) << c.what;
}

using Picture = ControlFixture;

TEST_F(Picture, ReportsEveryButtonDownButClicksOnlyOnTheLeft) {
  TImage image(TImage::TFit::Proportional, &Window);
  image.setGeometry(0, 0, 100, 50);
  image.show();
  for (const ClickCase& c : kClickCases) EXPECT_EQ(ClicksOf(image, c), c.clicks) << c.what;

  QSignalSpy down(&image, &TImage::MouseDown);
  QTest::mousePress(&image, Qt::RightButton, {}, QPoint(5, 6));
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::RightButton);
  EXPECT_EQ(down[0][2].toPoint(), QPoint(5, 6));
  QTest::mouseRelease(&image, Qt::RightButton, {}, QPoint(5, 6));
}

TEST_F(Picture, AutoSizeTakesThePictureSizeAndAnEmptyPictureClears) {
  TImage image(TImage::TFit::None, &Window);
  image.setGeometry(0, 0, 10, 10);
  image.SetAutoSize(true);
  QImage picture(22, 22, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  image.SetPicture(picture);
  EXPECT_EQ(image.size(), QSize(22, 22));
  image.SetPicture(QImage());
  EXPECT_FALSE(image.HasPicture());
  EXPECT_EQ(image.size(), QSize(22, 22));  // an empty picture leaves the size alone
}

// True when `icon` draws something: a blank placeholder does not count.
bool ShowsPicture(const QIcon& icon) {
  if (icon.isNull()) return false;
  const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}

TEST(ListView, ItemsCarryCheckBoxesAndImageIndices) {
  const TImageList images;
  TListView checked({{"Name", 230}}, nullptr);
  checked.SetCheckboxes(true);
  checked.SetImages(&images);
  TListView plain({{"Thread ID", 80}, {"Status", 245}}, nullptr);

  QTreeWidgetItem* item = checked.AddItem("Mary Ann Test");
  EXPECT_EQ(item->checkState(0), Qt::Unchecked);
  EXPECT_EQ(TListView::ImageIndex(item), -1);
  EXPECT_FALSE(ShowsPicture(item->icon(0)));
  // ...but its place is kept, so its caption lines up with those that have one.
  EXPECT_FALSE(item->icon(0).isNull());

  struct Case {
    int index;
    bool shown;
  };
  for (const Case c : {Case{0, true}, Case{6, true}, Case{-1, false}, Case{8, false}}) {
    checked.SetImageIndex(item, c.index);
    EXPECT_EQ(TListView::ImageIndex(item), c.index);
    EXPECT_EQ(ShowsPicture(item->icon(0)), c.shown) << c.index;
  }

  QTreeWidgetItem* row = plain.AddItem("1");
  EXPECT_FALSE(row->flags() & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(row->data(0, Qt::CheckStateRole).isValid());  // no box drawn at all
  plain.SetImageIndex(row, 1);
  EXPECT_TRUE(row->icon(0).isNull());  // a list without images shows none, and leaves no gap
}

// A catalogue holds tens of thousands of items: each shows its list's one
// copy of a picture, the blank one included, and many come and go in one step.
TEST(ListView, ItemsShareTheirPicturesAndComeAndGoManyAtATime) {
  const TImageList images;
  TListView list({{"Name", 230}}, nullptr);
  list.SetCheckboxes(true);
  list.SetImages(&images);
  QList<QTreeWidgetItem*> made;
  for (const char* caption : {"A", "B", "C", "D", "E", "F"}) made << list.NewItem(caption);
  list.SetImageIndex(made[1], 4);
  list.SetImageIndex(made[3], 4);
  list.AppendItems(made);
  ASSERT_EQ(list.topLevelItemCount(), 6);
  EXPECT_EQ(made[0]->icon(0).cacheKey(), made[2]->icon(0).cacheKey());  // the blank one
  EXPECT_EQ(made[1]->icon(0).cacheKey(), made[3]->icon(0).cacheKey());
  EXPECT_NE(made[0]->icon(0).cacheKey(), made[1]->icon(0).cacheKey());
  EXPECT_TRUE(ShowsPicture(made[1]->icon(0)));
  made[4]->setCheckState(0, Qt::Checked);
  EXPECT_EQ(made[4]->checkState(0), Qt::Checked);
  EXPECT_EQ(made[5]->checkState(0), Qt::Unchecked);

  list.RemoveItems({made[5], made[0], made[1], made[3]});  // runs of one and two, in any order
  QStringList left;
  for (int i = 0; i < list.topLevelItemCount(); ++i) left << list.topLevelItem(i)->text(0);
  EXPECT_EQ(left, (QStringList{"C", "E"}));
  EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Checked);
  list.RemoveItems({});
  EXPECT_EQ(list.topLevelItemCount(), 2);

  // "Check All": every item at once, as one change the view and its readers hear of.
  QSignalSpy changes(list.model(), &QAbstractItemModel::dataChanged);
  for (Qt::CheckState state : {Qt::Checked, Qt::Unchecked}) {
    list.SetAllChecked(state);
    for (int i = 0; i < list.topLevelItemCount(); ++i) EXPECT_EQ(list.topLevelItem(i)->checkState(0), state) << i;
  }
  EXPECT_EQ(changes.count(), 2);
}

}  // namespace
}  // namespace ui::testing
