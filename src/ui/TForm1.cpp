#include "ui/TForm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <stdexcept>

#include "ui/Artwork.h"
#include "ui/ControlFactory.h"
#include "ui/Look.h"
#include "ui/TAbout.h"
#include "ui/TComboBox.h"
#include "ui/TGroupBox.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace ui {

namespace {

constexpr int kDesignWidth = 814;  // client width as designed; the layout sets the real one

TPlatform& RequirePlatform(const TEnvironment& environment) {
  if (!environment.Platform) throw std::invalid_argument("TForm1 needs a platform layer");
  return *environment.Platform;
}

}  // namespace

TForm1::TForm1(const TEnvironment& environment)
    : Environment(environment), Platform(RequirePlatform(environment)) {
  setObjectName("Form1");
  setWindowTitle("Tamro Ostrana Downloader v1.5" + QString("   -   ") + Environment.MakerWebAddress);
  setWindowIcon(ApplicationIcon());
  setFont(TahomaFont(11));
  QPalette look = palette();
  look.setColor(QPalette::Window, ButtonShadowColour());
  setPalette(look);

  CreateMainControls();
  CreateSizeBoxes();
  CreatePages();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(static_cast<int>(Environment.TimerInterval.count()));

  SetTabOrder();
  connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
  connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
  ConnectHandlers();
  Button1->setFocus();  // Enter right after start presses "Start"

  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::CreateMainControls() {
  using TFit = TImage::TFit;

  Bevel1 = Place<QFrame>(this, "Bevel1", QRect(8, 56, 421, 273));
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);  // an etched frame round the preview

  Image1 = Place<TImage>(this, "Image1", QRect(11, 58, 417, 269), TFit::Proportional);
  Image1->setCursor(Qt::PointingHandCursor);

  Status = PlaceLabel(this, "Status", {38, 334}, "Progress");
  Name = PlaceLabel(this, "Name", {38, 376}, "Name");
  Found = PlaceLabel(this, "Found", {350, 334}, "Found:");

  // The banner spans the window's width; past the picture's right edge its last
  // column repeats, so the full layout shows no seam.
  const QImage banner = ArtPicture("banner.png");
  Image2 = Place<TImage>(this, "Image2", QRect(0, 0, kDesignWidth, banner.height()), TFit::None);
  Image2->SetPicture(banner);
  if (!banner.isNull()) {
    QPalette edge = Image2->palette();
    edge.setBrush(QPalette::Window,
                  QBrush(QPixmap::fromImage(banner.copy(banner.width() - 1, 0, 1, banner.height()))));
    Image2->setPalette(edge);
    Image2->setAutoFillBackground(true);
  }

  Label1 = PlaceLabel(this, "Label1", {286, 376}, "Threads");
  Label2 = PlaceLabel(this, "Label2", {399, 354}, "100%");
  Label3 = new TLabel({}, this);
  Label3->setObjectName("Label3");
  QFont nameFont = TahomaFont(15);
  nameFont.setBold(true);
  Label3->setFont(nameFont);
  QPalette red = Label3->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  Label3->setPalette(red);
  Label3->setText("Preview");
  Label3->move(47, 64);
  Label4 = PlaceLabel(this, "Label4", {222, 334}, "Time:");

  Image3 = PlacePicture(this, "Image3", QRect(192, 330, 24, 22), TFit::Stretch, "clock.png");
  Image4 = PlacePicture(this, "Image4", QRect(319, 330, 24, 22), TFit::Stretch, "landscape.png");
  Image5 = PlacePicture(this, "Image5", QRect(8, 371, 24, 22), TFit::Stretch, "person.png");
  Image6 = PlacePicture(this, "Image6", QRect(8, 330, 24, 22), TFit::Stretch, "bulb.png");
  Image7 = PlacePicture(this, "Image7", QRect(256, 371, 24, 22), TFit::Stretch, "tools.png");
  Image8 = PlacePicture(this, "Image8", QRect(11, 58, 32, 32), TFit::Stretch, "person.png");
  Image10 = PlacePicture(this, "Image10", QRect(390, 68, 22, 22), TFit::None, "magnifier.png");
  Image10->SetAutoSize(true);
  Image10->hide();

  Button1 = PlaceButton(this, "Button1", QRect(342, 381, 90, 36), "Start");

  GroupBox1 = Place<TGroupBox>(this, "GroupBox1", QRect(8, 417, 420, 56), "Resolution");

  SpinEdit1 = Place<TSpinEdit>(this, "SpinEdit1", QRect(256, 395, 80, 22));
  SpinEdit1->setRange(1, 50);
  SpinEdit1->setValue(10);
  QFont countFont = TahomaFont(11);
  countFont.setBold(true);
  SpinEdit1->setFont(countFont);
  QPalette count = SpinEdit1->palette();
  count.setColor(QPalette::Base, ActiveCaptionColour());
  count.setColor(QPalette::Text, Qt::white);
  count.setColor(QPalette::Highlight, ActiveCaptionColour().darker(150));
  count.setColor(QPalette::HighlightedText, Qt::white);
  SpinEdit1->setPalette(count);

  NameEdit = Place<TComboBox>(this, "NameEdit", QRect(8, 395, 242, 21));
  NameEdit->setEditable(true);
  NameEdit->setInsertPolicy(QComboBox::NoInsert);  // typing a name never adds it to the list

  Progress = Place<QProgressBar>(this, "Progress", QRect(8, 353, 385, 17));
  Progress->setRange(0, 100);
  Progress->setValue(0);
  Progress->setTextVisible(false);  // Label2 shows the percentage

  Button5 = PlaceButton(this, "Button5", QRect(257, 25, 75, 19), "Batch");
  PageControl1 = Place<QTabWidget>(this, "PageControl1", QRect(438, 53, 368, 419));
  Button6 = PlaceButton(this, "Button6", QRect(337, 25, 75, 20), "About");

  // What a screen reader says for the inputs that have no caption of their own;
  // a label that names an input is its buddy, so it is read with it.
  Image1->setAccessibleName("Preview");
  Image1->setAccessibleDescription("The name's preview, or the last wallpaper saved. Click to open it, right-click to show it in the file manager.");
  NameEdit->setAccessibleName("Name");
  Name->setBuddy(NameEdit);
  SpinEdit1->setAccessibleName("Threads");
  SpinEdit1->setAccessibleDescription("How many wallpapers are downloaded at once, 1 to 50");
  Label1->setBuddy(SpinEdit1);
  Progress->setAccessibleName("Progress");
}

void TForm1::CreateSizeBoxes() {
  // Created after GroupBox1 and owned by the window, so it outlives the boxes.
  auto* style = new TNarrowCheckBoxStyle;
  style->setParent(this);
  const auto box = [this, style](const char* name, const QRect& geometry, const char* caption) {
    auto* checkBox = Place<QCheckBox>(GroupBox1, name, geometry, QString::fromLatin1(caption));
    checkBox->setStyle(style);
    return checkBox;
  };
  CheckBox1 = box("CheckBox1", QRect(11, 13, 76, 17), "All Available");
  CheckBox2 = box("CheckBox2", QRect(11, 31, 77, 17), "1280x960");
  CheckBox3 = box("CheckBox3", QRect(94, 31, 74, 17), "1280x1024");
  CheckBox4 = box("CheckBox4", QRect(94, 13, 74, 17), "1024x768");
  CheckBox5 = box("CheckBox5", QRect(174, 13, 74, 17), "1152x864");
  CheckBox6 = box("CheckBox6", QRect(254, 13, 76, 17), "1280x800");
  CheckBox7 = box("CheckBox7", QRect(174, 31, 74, 17), "1440x900");
  CheckBox8 = box("CheckBox8", QRect(254, 31, 76, 17), "1600x1200");
  CheckBox9 = box("CheckBox9", QRect(336, 13, 97, 17), "1680x1050");
  CheckBox10 = box("CheckBox10", QRect(336, 31, 97, 17), "1920x1200");
}

void TForm1::SetTabOrder() {
  // The focus order of the design: Start first, then the size boxes by name, the
  // thread count, the name, Batch, the pages (the visible page's controls) and About.
  QWidget* const order[] = {
      Button1,   CheckBox1,  CheckBox2, CheckBox3,    CheckBox4, CheckBox5,  CheckBox6,
      CheckBox7, CheckBox8,  CheckBox9, CheckBox10,   SpinEdit1, NameEdit,   Button5,
      PageControl1, ListView1, CheckBox11, Edit1,     Button2,   Button4,    Button3,
      ListView2, Button7,    Button8,   Button9,      CheckBox12, Log,       ListView3,
      Button6};
  for (std::size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace ui
