#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "JpegBytes.h"
#include "fixture/Jpeg.h"

namespace {

TEST(JpegHeader, GivesTheDimensionsOrRefusesWhatIsNotJpeg) {
  struct {
    const char* what;
    QByteArray data;
    int width;  // 0: refused
  } cases[] = {
      {"300 wide", HeaderOnlyJpeg(300, 200), 300},
      {"299 wide", HeaderOnlyJpeg(299, 200), 299},
      {"huge", HeaderOnlyJpeg(60000, 60000), 60000},
      {"empty", QByteArray(), 0},
      {"html page", "<html><body>404 Not Found</body></html>", 0},
      {"only the start marker", QByteArray("\xFF\xD8", 2), 0},
      {"cut inside the frame header", HeaderOnlyJpeg(300, 200).left(9), 0},
  };
  for (const auto& c : cases) {
    const auto header = ReadJpegHeader(c.data);
    EXPECT_EQ(header ? header->width : 0, c.width) << c.what;
  }
}

TEST(JpegHeader, ReadsAFileAndRefusesAMissingOne) {
  QTemporaryDir tmp;
  ASSERT_TRUE(WriteFileAtomically(tmp.filePath("w.jpg"), HeaderOnlyJpeg(1024, 768)));
  const auto header = ReadJpegFileHeader(tmp.filePath("w.jpg"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 1024);
  EXPECT_EQ(header->height, 768);
  EXPECT_FALSE(ReadJpegFileHeader(tmp.filePath("absent.jpg")));
  ASSERT_TRUE(WriteFileAtomically(tmp.filePath("empty.jpg"), QByteArray()));
  EXPECT_FALSE(ReadJpegFileHeader(tmp.filePath("empty.jpg")));
}

TEST(JpegDecode, RefusesAPictureTooLargeToDecodeWithoutTouchingItsData) {
  // 60000 x 60000 would need gigabytes; it is refused from the header alone.
  EXPECT_TRUE(DecodeJpegScaled(HeaderOnlyJpeg(60000, 60000), QSize(353, 265)).isNull());
  EXPECT_TRUE(DecodeJpegScaled("not a jpeg", QSize(353, 265)).isNull());
}

TEST(JpegDecode, ScalesDownToTheSmallestEighthThatCoversTheTarget) {
  struct {
    int width, height;
    QSize target, decoded;
  } cases[] = {
      {1920, 1200, QSize(417, 269), QSize(480, 300)},    // 2/8
      {1024, 768, QSize(417, 269), QSize(512, 384)},     // 4/8
      {1024, 768, QSize(2000, 2000), QSize(1024, 768)},  // never enlarged
      {300, 200, QSize(16, 16), QSize(38, 25)},          // 1/8, rounded up
  };
  for (const auto& c : cases) {
    const QImage image = DecodeJpegScaled(fixture::MakeJpeg(c.width, c.height, 1), c.target);
    EXPECT_EQ(image.size(), c.decoded) << c.width << "x" << c.height;
  }
}

}  // namespace
