#include "ui/Artwork.h"

namespace ui {

QImage ArtPicture(const QString& name) { return QImage(":/art/" + name); }

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addFile(QString(":/art/appicon%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace ui
