// The page control of the full layout: batch list, name catalogue, log, threads.

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/ControlFactory.h"
#include "ui/TForm1.h"
#include "ui/TListView.h"

namespace ui {

namespace {

QWidget* AddPage(QTabWidget* pages, const char* name, const QString& caption) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(name));
  pages->addTab(page, caption);
  return page;
}

// Keeps `control` across the top of `page` at `height`, as wide as the page.
void AlignTop(QWidget* page, QWidget* control, int height) {
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  control->setFixedHeight(height);
  column->addWidget(control);
  column->addStretch(1);
}

// Makes `control` fill `page`.
void AlignClient(QWidget* page, QWidget* control) {
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(control);
}

QPlainTextEdit* PlaceMemo(QWidget* parent, const char* name, const QString& text) {
  auto* memo = new QPlainTextEdit(text, parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setTabChangesFocus(true);  // Tab moves on, as in every other field
  return memo;
}

}  // namespace

void TForm1::CreatePages() {
  TabSheet1 = AddPage(PageControl1, "TabSheet1", "Batch List");
  TabSheet2 = AddPage(PageControl1, "TabSheet2", "Girls List");
  TabSheet3 = AddPage(PageControl1, "TabSheet3", "Log");
  TabSheet4 = AddPage(PageControl1, "TabSheet4", "Threads");
  CreateBatchPage();
  CreateGirlsPage();

  Log = PlaceMemo(TabSheet3, "Log", "Log");
  AlignClient(TabSheet3, Log);

  Log->setAccessibleName("Log");

  ListView3 = new TListView({{"Thread ID", 80}, {"Status", 245}}, TabSheet4);
  ListView3->setObjectName("ListView3");
  ListView3->setAccessibleName("Status of each thread");
  // A status ends in its try count ("...  TRY # : 12"), the part that changes:
  // a text wider than the column loses its start instead.
  ListView3->setTextElideMode(Qt::ElideLeft);
  AlignClient(TabSheet4, ListView3);

  PageControl1->setCurrentWidget(TabSheet1);
}

void TForm1::CreateBatchPage() {
  using TFit = TImage::TFit;
  Label6 = PlaceLabel(TabSheet1, "Label6", {36, 346}, "Name");
  Image9 = PlacePicture(TabSheet1, "Image9", QRect(3, 342, 24, 22), TFit::Stretch, "person.png");

  ListView1 = new TListView({{"Name", 230}, {"Found", 50}, {"Done", 50}}, TabSheet1);
  ListView1->setObjectName("ListView1");
  ListView1->SetCheckboxes(true);
  ListView1->SetImages(&ImageList1);
  ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  AlignTop(TabSheet1, ListView1, 332);

  // Lies on the list's column header, right of where the item check boxes sit.
  CheckBox11 = Place<QCheckBox>(TabSheet1, "CheckBox11", QRect(46, 2, 183, 18), "Check All");
  // Both lists have a "Check All"; a screen reader says which list it ticks.
  CheckBox11->setAccessibleName("Check All in the Batch List");
  Edit1 = Place<QLineEdit>(TabSheet1, "Edit1", QRect(3, 370, 258, 19));
  ListView1->setAccessibleName("Batch List");
  Edit1->setAccessibleName("Name to add to the batch list");
  Label6->setBuddy(Edit1);
  Button2 = PlaceButton(TabSheet1, "Button2", QRect(127, 339, 65, 25), "Add");
  Button4 = PlaceButton(TabSheet1, "Button4", QRect(198, 339, 63, 25), "Remove");
  Button3 = PlaceButton(TabSheet1, "Button3", QRect(267, 338, 90, 51), "Start Batch");
}

void TForm1::CreateGirlsPage() {
  Label5 = PlaceLabel(TabSheet2, "Label5", {152, 369}, "Found:0");

  ListView2 = new TListView({{"Name", 320}}, TabSheet2);
  ListView2->setObjectName("ListView2");
  ListView2->SetCheckboxes(true);
  ListView2->SetImages(&ImageList1);
  AlignTop(TabSheet2, ListView2, 345);
  ListView2->setAccessibleName("Girls List");

  Button7 = PlaceButton(TabSheet2, "Button7", QRect(3, 362, 62, 25), "Load Girls");
  Button8 = PlaceButton(TabSheet2, "Button8", QRect(71, 362, 75, 25), "Load Images");
  Button9 = PlaceButton(TabSheet2, "Button9", QRect(249, 363, 108, 25), "Add Selected");
  CheckBox12 = Place<QCheckBox>(TabSheet2, "CheckBox12", QRect(46, 2, 203, 17), "Check All");
  CheckBox12->setAccessibleName("Check All in the Girls List");
}

}  // namespace ui
