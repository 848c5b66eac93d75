// The scaled decode for display, against JPEG data made to the case.
#include <gtest/gtest.h>

#include <atomic>

#include "download/JpegBytes.h"
#include "fixture/Jpeg.h"
#include "ui/display/JpegDecode.h"

namespace {

TEST(JpegDecode, RefusesAPictureTooLargeToDecodeWithoutTouchingItsData) {
  // 60000 x 60000 would need gigabytes; it is refused from the header alone.
  EXPECT_TRUE(ui::DecodeJpegScaled(HeaderOnlyJpeg(60000, 60000), QSize(353, 265)).isNull());
  EXPECT_TRUE(ui::DecodeJpegScaled("not a jpeg", QSize(353, 265)).isNull());
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
    const QImage image = ui::DecodeJpegScaled(fixture::MakeJpeg(c.width, c.height, 1), c.target);
    EXPECT_EQ(image.size(), c.decoded) << c.width << "x" << c.height;
  }
}

TEST(JpegDecode, RefusesFilesWithMoreScansThanTheLimit) {
  const QSize box(64, 48);
  struct {
    const char* what;
    QByteArray data;
    int maxScans;
    bool decodes;
  } cases[] = {
      {"baseline, one scan allowed", fixture::MakeJpeg(320, 200), 1, true},
      {"progressive at its 10 scans", fixture::MakeProgressiveJpeg(320, 200), 10, true},
      {"progressive over 9", fixture::MakeProgressiveJpeg(320, 200), 9, false},
      {"bomb at the default limit", fixture::MakeJpegScanBomb(320, 200, ui::kMaxDecodeScans), ui::kMaxDecodeScans, true},
      {"bomb one over", fixture::MakeJpegScanBomb(320, 200, ui::kMaxDecodeScans + 1), ui::kMaxDecodeScans, false},
      // Without the limit this decodes for a long while.
      {"bomb of thousands of scans", fixture::MakeJpegScanBomb(1024, 768, 5000), ui::kMaxDecodeScans, false},
  };
  for (const auto& c : cases) {
    const QImage image = ui::DecodeJpegScaled(c.data, box, {.MaxScans = c.maxScans, .Cancel = nullptr});
    EXPECT_EQ(!image.isNull(), c.decodes) << c.what;
  }
}

TEST(JpegDecode, GivesUpWhenCancelled) {
  const std::atomic<bool> cancelled{true}, going{false};
  for (const QByteArray& jpeg : {fixture::MakeJpeg(320, 200), fixture::MakeProgressiveJpeg(320, 200)}) {
    EXPECT_TRUE(ui::DecodeJpegScaled(jpeg, QSize(64, 48), {.MaxScans = ui::kMaxDecodeScans, .Cancel = &cancelled}).isNull());
    EXPECT_FALSE(ui::DecodeJpegScaled(jpeg, QSize(64, 48), {.MaxScans = ui::kMaxDecodeScans, .Cancel = &going}).isNull());
  }
}

}  // namespace
