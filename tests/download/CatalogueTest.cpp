#include "download/Catalogue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "download/JpegBytes.h"
#include "common/QtPrint.h"

namespace {

TEST(CatalogueTest, ThumbPictureKeepsBytesAndWidth) {
  download::TThumbPicture picture;
  const QByteArray jpeg = HeaderOnlyJpeg(640, 480);
  EXPECT_TRUE(picture.LoadFromBuffer(jpeg));
  EXPECT_EQ(picture.Width(), 640);
  EXPECT_EQ(picture.Data(), jpeg);
  EXPECT_FALSE(picture.LoadFromBuffer("<html>404</html>"));
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_TRUE(picture.Data().isEmpty());
}

}  // namespace
