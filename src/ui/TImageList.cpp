#include "ui/TImageList.h"

#include "ui/Artwork.h"

namespace ui {

TImageList::TImageList() {
  for (int i = 0; i < 8; ++i) Images_.append(ArtPicture(QString("list%1.png").arg(i)));
}

QImage TImageList::Picture(int index) const {
  return index >= 0 && index < Count() ? Images_[index] : QImage();
}

QIcon TImageList::Icon(int index) const {
  const QImage picture = Picture(index);
  return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

}  // namespace ui
