// The two layouts of the main window and the About button.

#include <QTabWidget>

#include "ui/TAbout.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/WindowPlacement.h"

namespace ui {

namespace {

// Outer widths, frame included. The compact one ends just short of the page
// control, which starts 438 pixels into the client area.
constexpr int kCompactWidth = 444;
constexpr int kFullWidth = 820;
constexpr int kClientHeight = 480;

}  // namespace

void TForm1::Button5Click() {
  ShowLog = !ShowLog;
  ApplyLayout();
}

int TForm1::FrameWidth() const { return frameGeometry().width() - geometry().width(); }

void TForm1::ApplyLayout() {
  // The widths count the frame. It is known only once the window is on screen
  // (and a window manager may add it later still); until then it counts as none,
  // and the layout is applied again when it shows up.
  LayoutFrameWidth_ = FrameWidth();
  setFixedSize((ShowLog ? kFullWidth : kCompactWidth) - LayoutFrameWidth_, kClientHeight);
  Image2->resize(width(), Image2->height());
  // Hidden rather than only cut off, so Tab never walks into controls out of sight.
  PageControl1->setVisible(ShowLog);
  CentreOnPrimaryScreen(*this);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FrameWidth() != LayoutFrameWidth_) ApplyLayout();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // A window manager that frames the window moves it into the frame.
  if (FrameWidth() != LayoutFrameWidth_) ApplyLayout();
}

void TForm1::Button6Click() {
  if (!About) return;
  About->show();
  About->raise();
  About->activateWindow();
}

}  // namespace ui
