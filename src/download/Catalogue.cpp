#include "download/Catalogue.h"

#include "download/Jpeg.h"

namespace download {

void TThumbPicture::Clear() {
  Data_.clear();
  Width_ = 0;
}

bool TThumbPicture::LoadFromBuffer(const QByteArray& Data) {
  const std::optional<TJpegHeader> header = ReadWholeJpeg(Data);
  if (!header) {
    Clear();
    return false;
  }
  Data_ = Data;
  Width_ = header->width;
  return true;
}

}  // namespace download
