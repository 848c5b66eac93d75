#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

QPoint CentredPosition(const QRect& screen, const QSize& window) {
  // C++ division truncates toward zero, as the rule asks; no floor here.
  return {screen.left() + (screen.width() - window.width()) / 2,
          screen.top() + (screen.height() - window.height()) / 2};
}

void CentreOnPrimaryScreen(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;  // no screen at all: leave the window where it is
  window.move(CentredPosition(screen->geometry(), window.frameGeometry().size()));
}

}  // namespace ui
