#include "ui/TComboBox.h"

#include <QKeyEvent>
#include <QTimer>

namespace ui {

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (FromList) emit Select(index);
  });
}

void TComboBox::showPopup() {
  FromList = true;
  QComboBox::showPopup();
}

void TComboBox::hidePopup() {
  QComboBox::hidePopup();
  // A pick is reported right after the list closes; a list closed without one
  // must not make later typing count as a pick.
  QTimer::singleShot(0, this, [this] { FromList = false; });
}

void TComboBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      FromList = true;
      QComboBox::keyPressEvent(event);
      FromList = false;
      break;
    default:
      QComboBox::keyPressEvent(event);
  }
}

void TComboBox::wheelEvent(QWheelEvent* event) {
  FromList = true;
  QComboBox::wheelEvent(event);
  FromList = false;
}

}  // namespace ui
