#pragma once
// The main window. It carries every control of the program; the run state and the
// handlers of the other subsystems are further members of this class, defined in
// their own directories (src/control, src/download, ...).
//
// Every control is a public member named as in the window's design, and carries the
// same name as its Qt object name, so tests and tools find it with findChild.

#include <QPointer>
#include <QWidget>

#include "ui/Environment.h"
#include "ui/TImageList.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace ui {

class TAbout;
class TImage;
class TLabel;
class TListView;
class TPlatform;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Builds the window hidden; it opens in the compact layout, centred on the
  // primary screen, with Button1 focused. Throws std::invalid_argument when the
  // environment has no platform layer.
  explicit TForm1(const TEnvironment& environment);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  const TEnvironment Environment;
  TPlatform& Platform;

  // The About window, a top-level window of its own (not a child, so names like
  // Label4 stay unique here); the program entry sets it once it exists, as it is
  // created after this one. Button6 shows it.
  QPointer<TAbout> About;

  // True while the full layout (with the page control) is shown.
  bool ShowLog = false;

  // Controls placed on the window, in creation order: a later one lies over an
  // earlier one, and the windowed controls (buttons, fields) over the pictures.
  QFrame* Bevel1 = nullptr;
  TImage* Image1 = nullptr;  // the preview
  TLabel* Status = nullptr;
  TLabel* Name = nullptr;
  TLabel* Found = nullptr;
  TImage* Image2 = nullptr;  // title banner
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TImage* Image3 = nullptr;
  TImage* Image4 = nullptr;
  TImage* Image5 = nullptr;
  TImage* Image6 = nullptr;
  TImage* Image7 = nullptr;
  TImage* Image8 = nullptr;
  TImage* Image10 = nullptr;  // magnifier over the preview, hidden at start
  QPushButton* Button1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QComboBox* NameEdit = nullptr;
  QProgressBar* Progress = nullptr;
  QPushButton* Button5 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QPushButton* Button6 = nullptr;

  // The size check boxes inside GroupBox1.
  QCheckBox* CheckBox1 = nullptr;  // "All Available"
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  QCheckBox* CheckBox5 = nullptr;
  QCheckBox* CheckBox6 = nullptr;
  QCheckBox* CheckBox7 = nullptr;
  QCheckBox* CheckBox8 = nullptr;
  QCheckBox* CheckBox9 = nullptr;
  QCheckBox* CheckBox10 = nullptr;

  // Page "Batch List".
  QWidget* TabSheet1 = nullptr;
  TLabel* Label6 = nullptr;
  TImage* Image9 = nullptr;
  TListView* ListView1 = nullptr;
  QCheckBox* CheckBox11 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button3 = nullptr;

  // Page "Girls List".
  QWidget* TabSheet2 = nullptr;
  TLabel* Label5 = nullptr;
  TListView* ListView2 = nullptr;
  QPushButton* Button7 = nullptr;
  QPushButton* Button8 = nullptr;
  QPushButton* Button9 = nullptr;
  QCheckBox* CheckBox12 = nullptr;

  // Page "Log".
  QWidget* TabSheet3 = nullptr;
  QPlainTextEdit* Log = nullptr;

  // Page "Threads".
  QWidget* TabSheet4 = nullptr;
  TListView* ListView3 = nullptr;

  // Non-visual components.
  QTimer* Timer1 = nullptr;  // 1000 ms, stopped at start
  TImageList ImageList1;

  // Switches between the compact layout (444 pixels wide) and the full one (820),
  // then centres the window on the primary screen. The height never changes.
  void Button5Click();

  // Shows the one About window, without making it modal, and brings it to the front.
  void Button6Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void CreateMainControls();
  void CreateSizeBoxes();
  void CreatePages();
  void CreateBatchPage();
  void CreateGirlsPage();
  void SetTabOrder();
  void ApplyLayout();
  int FrameWidth() const;

  int LayoutFrameWidth = 0;  // the frame the current layout was sized for
};

}  // namespace ui
