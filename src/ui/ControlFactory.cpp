#include "ui/ControlFactory.h"

#include "ui/Artwork.h"

namespace ui {

TLabel* PlaceLabel(QWidget* parent, const char* name, QPoint at, const QString& caption) {
  auto* label = new TLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(at);
  return label;
}

TImage* PlacePicture(QWidget* parent, const char* name, const QRect& geometry, TImage::TFit fit,
                     const QString& art) {
  TImage* picture = Place<TImage>(parent, name, geometry, fit);
  picture->SetPicture(ArtPicture(art));
  return picture;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const QRect& geometry,
                         const QString& caption) {
  auto* button = Place<QPushButton>(parent, name, geometry, caption);
  button->setAutoDefault(true);
  return button;
}

}  // namespace ui
