#include "ui/TAbout.h"

#include <QKeySequence>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QUrl>
#include <stdexcept>

#include "ui/Artwork.h"
#include "ui/ControlFactory.h"
#include "ui/Look.h"
#include "ui/Platform.h"
#include "ui/WindowPlacement.h"

namespace ui {

namespace {

TPlatform& RequirePlatform(const TEnvironment& environment) {
  if (!environment.Platform) throw std::invalid_argument("TAbout needs a platform layer");
  return *environment.Platform;
}

}  // namespace

QStringList AboutText(const QString& mainSiteUrl) {
  const QString host = QUrl(mainSiteUrl).host();
  return {
      "Hi!",
      "   Tamro's Ostrana Wallpapers Download Manager  (Krelmo) - is one of my small, ",
      "yet usefull applications, written in C++.",
      "   With Krelmo you can automatically download multiple Wallpapers from ",
      "\"" + host + "\".",
      "   All you have to do is just type in the name of a Babe, whose wallpapers ",
      "you want to download and press START button. That's all.",
      "   Additionally you can configure what size of wallpapers to download and how ",
      "many images to download at once (it depends on the speed of your intrnet ",
      "connection).",
      "   If you liked my application and you want to help me make it better, you can ",
      "make a small DONATION.",
      "   Amount does not matter, but any donation will mean that you appreciate my ",
      "efforts and I'll do my best to add some additional features and improve the ",
      "whole application.",
      "   ThankYou!",
      "",
      "   You can send me your comments and suggestions to:",
      "                                                            tamro@tamro.example",
      "   Many thanks to Zvaigzde for testing Krelmo night after night.",
      "",
      "   Tamro Soft - small tools that do one job well.",
      "",
      "",
      "   P.S. Do not forget to visit " + host,
  };
}

TAbout::TAbout(const TEnvironment& environment)
    : Platform_(RequirePlatform(environment)),
      DonationPageUrl_(environment.DonationPageUrl) {
  setObjectName("About");
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle("About");
  setWindowIcon(ApplicationIcon());
  setFont(TahomaFont(11));
  QPalette look = palette();
  look.setColor(QPalette::Window, ButtonShadowColour());
  setPalette(look);
  resize(529, 327);
  // The controls sit where the design puts them: the border can make the window
  // larger, never so small that it cuts them off.
  setMinimumSize(529, 327);

  Label1 = PlaceLabel(this, "Label1", {8, 230}, "Tamro's Ostrana Wallpapwer Download Manager ");
  Label2 = PlaceLabel(this, "Label2", {8, 246}, "Version: 1.5 (2012.08.17)");
  Label3 = PlaceLabel(this, "Label3", {8, 262}, "Author: Tamro");

  Donate = PlacePicture(this, "Donate", QRect(360, 262, 147, 47), TImage::TFit::None, "donate.png");
  Donate->SetAutoSize(true);
  Donate->setCursor(Qt::PointingHandCursor);
  connect(Donate, &TImage::Click, this, &TAbout::DonateClick);
  Donate->setAccessibleName("Donate");
  Donate->setAccessibleDescription("Opens the donation page in the web browser");

  Label4 = new TLabel({}, this);
  Label4->setObjectName("Label4");
  QFont linkFont = TahomaFont(13);
  linkFont.setBold(true);
  linkFont.setItalic(true);
  Label4->setFont(linkFont);
  Label4->setText(environment.MakerWebAddress);
  Label4->move(8, 293);
  Label4->setCursor(Qt::PointingHandCursor);
  connect(Label4, &TLabel::Click, this, &TAbout::Label4Click);
  // Its name is the address it shows.
  Label4->setAccessibleDescription("Opens this web address in the web browser");

  Memo1 = new QPlainTextEdit(AboutText(environment.Site.MainSiteUrl).join('\n'), this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(8, 8, 513, 216);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setTabChangesFocus(true);
  Memo1->setAccessibleName("About the program");

  // Escape closes it, as it would a dialog; closing only hides it.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  CentreOnPrimaryScreen(*this);
}

void TAbout::DonateClick() { Platform_.Open(DonationPageUrl_); }

void TAbout::Label4Click() { Platform_.Open(Label4->text()); }

}  // namespace ui
