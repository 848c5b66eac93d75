#pragma once
// Small helpers that create a control, give it its design name as object name
// and put it at its place, the way both windows are built.

#include <QPushButton>
#include <QRect>
#include <QString>
#include <utility>

#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace ui {

// Creates T(args..., parent), named `name`, at `geometry` in its parent's client area.
template <class T, class... Args>
T* Place(QWidget* parent, const char* name, const QRect& geometry, Args&&... args) {
  T* control = new T(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

// A label at `at`, as wide and high as its caption.
TLabel* PlaceLabel(QWidget* parent, const char* name, QPoint at, const QString& caption);

// A picture control showing the compiled-in picture `art`.
TImage* PlacePicture(QWidget* parent, const char* name, const QRect& geometry, TImage::TFit fit,
                     const QString& art);

// A push button that Enter presses while it has the focus, as on the desktop the
// program was designed for (Qt does that only in dialogs by default).
QPushButton* PlaceButton(QWidget* parent, const char* name, const QRect& geometry,
                         const QString& caption);

}  // namespace ui
