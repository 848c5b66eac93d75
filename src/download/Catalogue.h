#pragma once
// A thumbnail of the name catalogue as fetched: the bytes as sent, and the
// width their JPEG header gives; data that is no whole JPEG is refused like
// data that is none.

#include <QByteArray>

#include "site/Retry.h"

namespace download {

class TThumbPicture : public site::TPictureDest {
 public:
  void Clear() override;
  bool LoadFromBuffer(const QByteArray& Data) override;
  int Width() const { return Width_; }
  const QByteArray& Data() const { return Data_; }

 private:
  QByteArray Data_;
  int Width_ = 0;
};

}  // namespace download
