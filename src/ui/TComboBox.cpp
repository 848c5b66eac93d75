#include "ui/TComboBox.h"

#include <QKeyEvent>
#include <QTimer>

namespace ui {

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (FromList_) emit Select(index);
  });
}

void TComboBox::showPopup() {
  FromList_ = true;
  QComboBox::showPopup();
}

void TComboBox::hidePopup() {
  QComboBox::hidePopup();
  // A pick is reported right after the list closes; a list closed without one
  // must not make later typing count as a pick.
  QTimer::singleShot(0, this, [this] { FromList_ = false; });
}

void TComboBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      FromList_ = true;
      QComboBox::keyPressEvent(event);
      FromList_ = false;
      break;
    default:
      QComboBox::keyPressEvent(event);
  }
}

void TComboBox::wheelEvent(QWheelEvent* event) {
  FromList_ = true;
  QComboBox::wheelEvent(event);
  FromList_ = false;
}

}  // namespace ui
