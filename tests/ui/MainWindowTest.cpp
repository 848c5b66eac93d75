// The main window: its two layouts, the names tests and tools find controls by,
// focus and tab order, the lists' columns and the pictures.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSpinBox>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

#include "ui/UiTestSupport.h"
#include "ui/Artwork.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"
#include "ui/WindowPlacement.h"

namespace ui::testing {
namespace {

QPoint ExpectedCentre(const QWidget& window) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QSize outer = window.frameGeometry().size();
  return {screen.left() + (screen.width() - outer.width()) / 2,
          screen.top() + (screen.height() - outer.height()) / 2};
}

// ---------------------------------------------------------------- layouts

using MainWindowLayout = FormFixture;

TEST_F(MainWindowLayout, OpensCompactCentredAndBatchTogglesTheFullLayout) {
  ShowActive(*Form);
  struct Step {
    int width;
    bool pagesVisible;
  };
  // At start, then after each press of "Batch".
  const Step steps[] = {{444, false}, {820, true}, {444, false}, {820, true}};
  for (std::size_t press = 0; press < std::size(steps); ++press) {
    SCOPED_TRACE("after " + std::to_string(press) + " presses of Batch");
    if (press > 0) Form->Button5->click();
    EXPECT_EQ(Form->frameGeometry().width(), steps[press].width);
    EXPECT_EQ(Form->height(), 480);  // the height never changes
    EXPECT_EQ(Form->ShowLog, steps[press].pagesVisible);
    EXPECT_EQ(Form->PageControl1->isVisible(), steps[press].pagesVisible);
    EXPECT_EQ(Form->pos(), ExpectedCentre(*Form));
    // Fixed border: the user cannot drag it to another size.
    EXPECT_EQ(Form->minimumSize(), Form->maximumSize());
  }
}

TEST_F(MainWindowLayout, CompactLayoutShowsTheWholeMainAreaAndTheBannerSpansTheWindow) {
  ShowActive(*Form);
  for (int press = 0; press < 2; ++press) {
    const QRect client = Form->rect();
    for (QWidget* control : Form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control == Form->PageControl1 || control->isWindow()) continue;
      SCOPED_TRACE(control->objectName().toStdString());
      EXPECT_TRUE(client.contains(control->geometry())) << "cut off by the window's edge";
    }
    EXPECT_EQ(Form->Image2->width(), Form->width());
    Form->Button5->click();
  }
}

TEST_F(MainWindowLayout, PagesHoldTheirControlsUncut) {
  Form->Button5->click();  // full layout
  ShowActive(*Form);
  for (int page = 0; page < Form->PageControl1->count(); ++page) {
    Form->PageControl1->setCurrentIndex(page);
    QWidget* sheet = Form->PageControl1->widget(page);
    SCOPED_TRACE(sheet->objectName().toStdString());
    EXPECT_GE(sheet->width(), 360);
    EXPECT_GE(sheet->height(), 389);  // the lowest control of the pages ends there
    for (QWidget* control : sheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      SCOPED_TRACE(control->objectName().toStdString());
      EXPECT_TRUE(sheet->rect().contains(control->geometry()));
    }
  }
}

TEST(WindowCentring, TruncatesHalvesTowardZero) {
  struct Case {
    QRect screen;
    QSize window;
    QPoint expected;
  };
  const Case cases[] = {
      {QRect(0, 0, 1280, 1024), QSize(444, 480), QPoint(418, 272)},
      {QRect(0, 0, 1281, 1025), QSize(444, 480), QPoint(418, 272)},   // odd remainder dropped
      {QRect(0, 0, 800, 600), QSize(820, 480), QPoint(-10, 60)},      // wider than the screen
      {QRect(0, 0, 800, 600), QSize(821, 480), QPoint(-10, 60)},      // toward zero, not down
      {QRect(1920, 0, 1280, 1024), QSize(820, 480), QPoint(2150, 272)},  // screen not at 0,0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CentredPosition(c.screen, c.window), c.expected)
        << c.window.width() << " on " << c.screen.width();
  }
}

// ---------------------------------------------------------------- names

TEST_F(MainWindowLayout, EveryControlIsFoundByItsDesignName) {
  const std::pair<const char*, const char*> controls[] = {
      {"Bevel1", "QFrame"},         {"Image1", "ui::TImage"},      {"Status", "ui::TLabel"},
      {"Name", "ui::TLabel"},       {"Found", "ui::TLabel"},       {"Image2", "ui::TImage"},
      {"Label1", "ui::TLabel"},     {"Label2", "ui::TLabel"},      {"Label3", "ui::TLabel"},
      {"Label4", "ui::TLabel"},     {"Image3", "ui::TImage"},      {"Image4", "ui::TImage"},
      {"Image5", "ui::TImage"},     {"Image6", "ui::TImage"},      {"Image7", "ui::TImage"},
      {"Image8", "ui::TImage"},     {"Image10", "ui::TImage"},     {"Button1", "QPushButton"},
      {"GroupBox1", "QGroupBox"},   {"SpinEdit1", "QSpinBox"},     {"NameEdit", "QComboBox"},
      {"Progress", "QProgressBar"}, {"Button5", "QPushButton"},    {"PageControl1", "QTabWidget"},
      {"Button6", "QPushButton"},   {"CheckBox1", "QCheckBox"},    {"CheckBox2", "QCheckBox"},
      {"CheckBox3", "QCheckBox"},   {"CheckBox4", "QCheckBox"},    {"CheckBox5", "QCheckBox"},
      {"CheckBox6", "QCheckBox"},   {"CheckBox7", "QCheckBox"},    {"CheckBox8", "QCheckBox"},
      {"CheckBox9", "QCheckBox"},   {"CheckBox10", "QCheckBox"},   {"TabSheet1", "QWidget"},
      {"Label6", "ui::TLabel"},     {"Image9", "ui::TImage"},      {"ListView1", "ui::TListView"},
      {"CheckBox11", "QCheckBox"},  {"Edit1", "QLineEdit"},        {"Button2", "QPushButton"},
      {"Button4", "QPushButton"},   {"Button3", "QPushButton"},    {"TabSheet2", "QWidget"},
      {"Label5", "ui::TLabel"},     {"ListView2", "ui::TListView"}, {"Button7", "QPushButton"},
      {"Button8", "QPushButton"},   {"Button9", "QPushButton"},    {"CheckBox12", "QCheckBox"},
      {"TabSheet3", "QWidget"},     {"Log", "QPlainTextEdit"},     {"TabSheet4", "QWidget"},
      {"ListView3", "ui::TListView"}, {"Timer1", "QTimer"},
  };
  EXPECT_EQ(Form->objectName(), "Form1");
  for (const auto& [name, kind] : controls) {
    SCOPED_TRACE(name);
    const QList<QObject*> found = Form->findChildren<QObject*>(name);
    ASSERT_EQ(found.size(), 1) << "exactly one object carries the name";
    EXPECT_TRUE(found.front()->inherits(kind));
  }
}

// ---------------------------------------------------------------- focus

// The control a focus widget belongs to: Qt's inner parts (a spin box's editor,
// a page control's tab bar) stand for the control that holds them.
QString DesignNameOf(const QWidget* widget) {
  while (widget && (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")))
    widget = widget->parentWidget();
  return widget ? widget->objectName() : QString();
}

QStringList WalkWithTab(int steps) {
  QStringList visited;
  for (int i = 0; i < steps; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << DesignNameOf(QApplication::focusWidget());
  }
  return visited;
}

TEST_F(MainWindowLayout, OpensWithStartFocusedSoEnterPressesIt) {
  ShowActive(*Form);
  ASSERT_EQ(QApplication::focusWidget(), Form->Button1);
  QSignalSpy pressed(Form->Button1, &QPushButton::clicked);
  QTest::keyClick(Form->Button1, Qt::Key_Return);
  EXPECT_EQ(pressed.count(), 1);
}

TEST_F(MainWindowLayout, TabFollowsTheDesignOrderAndSkipsHiddenPages) {
  ShowActive(*Form);
  const QStringList sizes = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5",
                             "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"};
  const QStringList compact =
      sizes + QStringList{"SpinEdit1", "NameEdit", "Button5", "Button6", "Button1"};
  EXPECT_EQ(WalkWithTab(int(compact.size())), compact);

  Form->Button5->click();
  Form->Button1->setFocus();
  const QStringList full = sizes + QStringList{"SpinEdit1", "NameEdit",   "Button5", "PageControl1",
                                               "ListView1", "CheckBox11", "Edit1",   "Button2",
                                               "Button4",   "Button3",    "Button6", "Button1"};
  EXPECT_EQ(WalkWithTab(int(full.size())), full);
}

// ---------------------------------------------------------------- contents

TEST_F(MainWindowLayout, StartsWithTheDesignedContents) {
  EXPECT_EQ(Form->windowTitle(), "Tamro Ostrana Downloader v1.5   -   www.tamro.example");
  EXPECT_EQ(Form->Log->toPlainText(), "Log");
  EXPECT_TRUE(Form->Image10->isHidden());
  EXPECT_FALSE(Form->Image1->HasPicture());
  EXPECT_FALSE(Form->Timer1->isActive());
  EXPECT_EQ(Form->Timer1->interval(), 1000);
  EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TabSheet1);
  EXPECT_EQ(Form->SpinEdit1->minimum(), 1);
  EXPECT_EQ(Form->SpinEdit1->maximum(), 50);
  EXPECT_EQ(Form->SpinEdit1->value(), 10);
}

TEST_F(MainWindowLayout, TypingANameAndEnterDoesNotAddItToTheNameList) {
  ShowActive(*Form);
  Form->NameEdit->setFocus();
  QTest::keyClicks(Form->NameEdit, "Mary Ann Test");
  QTest::keyClick(Form->NameEdit, Qt::Key_Return);
  EXPECT_EQ(Form->NameEdit->count(), 0);
  EXPECT_EQ(Form->NameEdit->currentText(), "Mary Ann Test");
}

TEST_F(MainWindowLayout, ListsHaveTheirColumnsAndItemKinds) {
  struct Case {
    TListView* list;
    QStringList captions;
    QList<int> widths;
    bool checkboxes;
    bool icons;
    QAbstractItemView::SelectionMode selection;
  };
  const Case cases[] = {
      {Form->ListView1, {"Name", "Found", "Done"}, {230, 50, 50}, true, true,
       QAbstractItemView::ExtendedSelection},
      {Form->ListView2, {"Name"}, {320}, true, true, QAbstractItemView::SingleSelection},
      {Form->ListView3, {"Thread ID", "Status"}, {80, 245}, false, false,
       QAbstractItemView::SingleSelection},
  };
  Form->Button5->click();
  ShowActive(*Form);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list->objectName().toStdString());
    ASSERT_EQ(c.list->columnCount(), c.captions.size());
    for (int i = 0; i < c.captions.size(); ++i) {
      EXPECT_EQ(c.list->headerItem()->text(i), c.captions[i]);
      EXPECT_EQ(c.list->header()->sectionSize(i), c.widths[i]) << "column " << i;
    }
    EXPECT_EQ(c.list->selectionMode(), c.selection);
    QTreeWidgetItem* item = c.list->AddItem("Mary Ann Test");
    EXPECT_EQ(bool(item->flags() & Qt::ItemIsUserCheckable), c.checkboxes);
    EXPECT_FALSE(item->flags() & Qt::ItemIsEditable);
    c.list->SetImageIndex(item, 1);
    EXPECT_EQ(!item->icon(0).isNull(), c.icons) << "icons from ImageList1";
  }
}

// ---------------------------------------------------------------- accessibility

QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? accessible->text(QAccessible::Name) : QString();
}

TEST_F(MainWindowLayout, EveryInputHasAnAccessibleNameAndLabelsNameTheirInputs) {
  Form->Button5->click();  // full layout: every page's controls count
  // Everything Tab can reach, and the inputs a mouse reaches without it.
  QList<QWidget*> inputs{Form->Image1, Form->Progress, Form->ListView3, Form->Log};
  for (QWidget* widget : Form->findChildren<QWidget*>()) {
    if (widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty() &&
        !widget->objectName().startsWith("qt_") && !widget->focusProxy() && !inputs.contains(widget))
      inputs << widget;
  }
  QStringList names;
  for (QWidget* input : inputs) {
    SCOPED_TRACE(input->objectName().toStdString());
    EXPECT_FALSE(AccessibleName(input).isEmpty());
    names << AccessibleName(input);
  }
  // A screen reader tells the inputs apart by their names alone.
  names.sort();
  EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size()) << names.join(", ").toStdString();
  const std::pair<TLabel*, QWidget*> buddies[] = {
      {Form->Name, Form->NameEdit}, {Form->Label1, Form->SpinEdit1}, {Form->Label6, Form->Edit1}};
  for (const auto& [label, input] : buddies) {
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_EQ(label->buddy(), input);
    // A screen reader reads the label with its input.
    bool labelled = false;
    for (const auto& [other, relation] :
         QAccessible::queryAccessibleInterface(input)->relations(QAccessible::Label))
      labelled = labelled || other->object() == label;
    EXPECT_TRUE(labelled);
  }
  EXPECT_EQ(AccessibleName(Form->NameEdit), "Name");
  EXPECT_EQ(AccessibleName(Form->SpinEdit1), "Threads");
  EXPECT_EQ(AccessibleName(Form->Image1), "Preview");
}

TEST_F(MainWindowLayout, CaptionsAreDrawnInTheFaceTheLayoutIsMadeFor) {
  // Laid out for Tahoma; DejaVu Sans Condensed (fonts-dejavu-extra) stands in
  // for it. The plain sans faces are wider and cut off "All Available" and "1280x1024".
  for (QWidget* control : {static_cast<QWidget*>(Form->CheckBox1), static_cast<QWidget*>(Form->CheckBox3),
                           static_cast<QWidget*>(Form->Label3), static_cast<QWidget*>(About->Label4)}) {
    const QString face = QFontInfo(control->font()).family();
    EXPECT_TRUE(face == "Tahoma" || face == "DejaVu Sans Condensed")
        << control->objectName().toStdString() << " in " << face.toStdString() << ": is fonts-dejavu-extra installed?";
  }
}

TEST_F(MainWindowLayout, TheThreadsStatusColumnShowsTheWholeTryCount) {
  Form->Button5->click();
  Form->PageControl1->setCurrentWidget(Form->TabSheet4);
  ShowActive(*Form);
  QTreeWidgetItem* row = Form->ListView3->AddItem("Thread # 50");
  // The longest a status gets: a seven-digit id, the widest size, the last try.
  const QString status = "Loading image: 4123456 (1920x1200)   TRY # : 100";
  row->setText(1, status);
  ASSERT_EQ(Form->ListView3->header()->sectionSize(1), 245);
  // The text's room in the cell, as the style lays it out.
  const QFontMetrics metrics(Form->ListView3->font());
  const int margin = Form->ListView3->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, Form->ListView3) + 1;
  const int room = 245 - 2 * margin;
  ASSERT_GT(metrics.horizontalAdvance(status), room) << "the column is wide enough anyway";
  const QString shown = metrics.elidedText(status, Form->ListView3->textElideMode(), room);
  EXPECT_TRUE(shown.endsWith("TRY # : 100")) << shown.toStdString();
}

// ---------------------------------------------------------------- pictures

TEST_F(MainWindowLayout, PictureControlsShowTheirPictures) {
  const std::pair<TImage*, QSize> pictures[] = {
      {Form->Image2, {815, 47}},   {Form->Image3, {24, 24}},    {Form->Image4, {22, 22}},
      {Form->Image5, {128, 128}},  {Form->Image6, {22, 22}},    {Form->Image7, {64, 64}},
      {Form->Image8, {128, 128}},  {Form->Image9, {128, 128}},  {Form->Image10, {22, 22}},
  };
  for (const auto& [control, size] : pictures) {
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_EQ(control->Picture().size(), size);
    // The banner is an opaque picture; the small ones have transparent edges.
    EXPECT_EQ(control->Picture().hasAlphaChannel(), control != Form->Image2);
  }
  EXPECT_EQ(Form->Image10->size(), QSize(22, 22));
}

TEST_F(MainWindowLayout, ImageListHoldsEightDistinctIcons) {
  ASSERT_EQ(Form->ImageList1.Count(), 8);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const QImage icon = Form->ImageList1.Picture(i);
    EXPECT_EQ(icon.size(), QSize(16, 16));
    EXPECT_TRUE(icon.hasAlphaChannel());
    for (int j = 0; j < i; ++j) EXPECT_NE(icon, Form->ImageList1.Picture(j)) << "same as " << j;
  }
  EXPECT_TRUE(Form->ImageList1.Icon(-1).isNull());
  EXPECT_TRUE(Form->ImageList1.Icon(8).isNull());
}

TEST(Artwork, ApplicationIconAndDonatePicture) {
  const QList<QSize> sizes = ApplicationIcon().availableSizes();
  for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
    EXPECT_TRUE(sizes.contains(size)) << size.width();

  const QImage donate = ArtPicture("donate.png");
  EXPECT_EQ(donate.size(), QSize(147, 47));
  EXPECT_EQ(donate.format(), QImage::Format_Indexed8);  // a palette picture
  EXPECT_TRUE(donate.hasAlphaChannel());
}

}  // namespace
}  // namespace ui::testing
