#pragma once
// The About window: what the program is, its version and author, and two links,
// the maker's donation page and web address. Created once, hidden; closing it
// only hides it.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui/Environment.h"

class QPlainTextEdit;

namespace ui {

class TImage;
class TLabel;
class TPlatform;

// The introduction shown in Memo1, one entry per line; `mainSiteUrl`'s host is the
// site it names.
QStringList AboutText(const QString& mainSiteUrl);

class TAbout : public QWidget {
  Q_OBJECT

 public:
  // A top-level window of its own. Closing it never ends the program; closing
  // the main window does, even while this one is open.
  explicit TAbout(const TEnvironment& environment);

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TImage* Donate = nullptr;
  TLabel* Label4 = nullptr;  // the maker's web address
  QPlainTextEdit* Memo1 = nullptr;

  // Opens the donation page.
  void DonateClick();
  // Opens whatever address the label shows.
  void Label4Click();

 private:
  TPlatform& Platform_;
  const QString DonationPageUrl_;
};

}  // namespace ui
