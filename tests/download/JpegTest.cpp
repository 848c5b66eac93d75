#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <string>

#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "download/JpegBytes.h"
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

QByteArray Bytes(std::initializer_list<int> bytes) {
  QByteArray d;
  for (int b : bytes) d.append(static_cast<char>(b));
  return d;
}

QByteArray Segment(int code, const QByteArray& payload) {
  const qsizetype length = payload.size() + 2;
  return Bytes({0xFF, code, int(length >> 8), int(length & 0xFF)}) + payload;
}

qsizetype LastScan(const QByteArray& jpeg) { return jpeg.lastIndexOf(QByteArrayView("\xFF\xDA")); }

// The end of the first end marker, which in a camera-style file is the
// thumbnail's, inside the EXIF segment.
qsizetype ThumbnailEnd(const QByteArray& jpeg) { return jpeg.indexOf(QByteArrayView("\xFF\xD9")) + 2; }

// Judges data in memory and as a file on disk, where the two must agree.
class WholeJpeg : public ::testing::Test {
 protected:
  // The width ReadWholeJpeg gives; 0 when it refuses the data.
  int Judge(const QByteArray& data, const std::string& what) {
    const auto memory = ReadWholeJpeg(data);
    const QString path = tmp.filePath("w.jpg");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size()) << what;
    file.close();
    const auto stored = ReadStoredJpegHeader(path);
    EXPECT_EQ(stored.has_value(), memory.has_value()) << what << " (" << data.size() << " bytes)";
    if (stored && memory) {
      EXPECT_EQ(stored->width, memory->width) << what;
      EXPECT_EQ(stored->height, memory->height) << what;
    }
    return memory ? memory->width : 0;
  }

  QTemporaryDir tmp;
};

TEST_F(WholeJpeg, AcceptsWholeFilesOfEveryKindAndRefusesCutOrBrokenOnes) {
  const QByteArray baseline = fixture::MakeJpeg(320, 200);
  const QByteArray body = baseline.mid(2);  // after the start marker
  const QByteArray progressive = fixture::MakeProgressiveJpeg(320, 200);
  const QByteArray exif = fixture::MakeJpegWithThumbnail(320, 200);
  // Between scans a file may define tables and restarts, and comment.
  QByteArray betweenScans = progressive;
  betweenScans.insert(LastScan(progressive), Segment(0xFE, "made here") + Segment(0xEF, "app data") +
                                                Bytes({0xFF, 0xDD, 0x00, 0x04, 0x00, 0x00}));
  QByteArray secondFrame = progressive;
  secondFrame.insert(LastScan(progressive), progressive.mid(progressive.indexOf(QByteArrayView("\xFF\xC2")), 19));

  struct {
    const char* what;
    QByteArray data;
    int width;  // 0: refused
  } cases[] = {
      {"baseline", baseline, 320},
      {"progressive", progressive, 320},
      {"restart markers", fixture::MakeJpegWithRestarts(320, 200, 3), 320},
      {"EXIF thumbnail inside", exif, 320},
      {"header and an empty scan", HeaderOnlyJpeg(300, 200), 300},
      {"scan bomb with a few scans", fixture::MakeJpegScanBomb(320, 200, 12), 320},
      {"comment, APP15 and DRI between scans", betweenScans, 320},
      {"fill bytes before a marker", Bytes({0xFF, 0xD8, 0xFF, 0xFF}) + body, 320},
      {"fill bytes before the end marker", baseline.chopped(2) + Bytes({0xFF, 0xFF, 0xFF, 0xD9}), 320},
      {"TEM before the frame", Bytes({0xFF, 0xD8, 0xFF, 0x01}) + body, 320},
      {"restart marker before the frame", Bytes({0xFF, 0xD8, 0xFF, 0xD3}) + body, 320},
      {"padding that fits the tail", fixture::MakePaddedJpeg(320, 200, kJpegTailBytes - 2), 320},
      {"padding past the tail", fixture::MakePaddedJpeg(320, 200, kJpegTailBytes - 1), 0},
      {"empty", QByteArray(), 0},
      {"html page", "<html><body>404 Not Found</body></html>", 0},
      {"only the start marker", Bytes({0xFF, 0xD8}), 0},
      {"end right after the start", Bytes({0xFF, 0xD8, 0xFF, 0xD9}), 0},
      {"header without the end marker", CutHeaderOnlyJpeg(300, 200), 0},
      {"baseline without its last byte", baseline.chopped(1), 0},
      {"baseline without its end marker", baseline.chopped(2), 0},
      {"progressive cut in half", progressive.left(progressive.size() / 2), 0},
      {"progressive cut before its last scan", progressive.left(LastScan(progressive)), 0},
      {"cut right after the thumbnail", exif.left(ThumbnailEnd(exif)), 0},
      {"cut after the thumbnail and its segment", exif.left(LastScan(exif) + 20), 0},
      {"two start markers", Bytes({0xFF, 0xD8}) + baseline, 0},
      {"garbage after the start marker", Bytes({0xFF, 0xD8}) + "garbage" + body, 0},
      {"stuffed zero outside a scan", Bytes({0xFF, 0xD8, 0xFF, 0x00}) + body, 0},
      {"segment longer than the file", Bytes({0xFF, 0xD8, 0xFF, 0xFE, 0xFF, 0xFF}) + "short", 0},
      {"segment length below 2", Bytes({0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x01}) + body, 0},
      {"reserved marker", Bytes({0xFF, 0xD8, 0xFF, 0x02, 0x00, 0x02}) + body, 0},
      {"second frame header after a scan", secondFrame, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Judge(c.data, c.what), c.width) << c.what;
}

TEST_F(WholeJpeg, RefusesEveryPrefixOfASmallFile) {
  struct {
    const char* what;
    QByteArray data;
  } files[] = {
      {"progressive", fixture::MakeProgressiveJpeg(64, 48)},
      {"restart markers", fixture::MakeJpegWithRestarts(64, 48, 1)},
      {"EXIF thumbnail inside", fixture::MakeJpegWithThumbnail(64, 48)},
  };
  for (const auto& f : files) {
    ASSERT_EQ(Judge(f.data, f.what), 64) << f.what;
    for (qsizetype n = 0; n < f.data.size(); ++n)
      ASSERT_EQ(Judge(f.data.left(n), std::string(f.what) + " cut to " + std::to_string(n)), 0);
  }
}

TEST_F(WholeJpeg, FileLargerThanTheTailIsJudgedByItsEnd) {
  const QByteArray noisy = fixture::MakeNoisyJpeg(1024, 768);
  ASSERT_GT(noisy.size(), 2 * kJpegTailBytes);
  // A camera-style file of that size: the thumbnail's segment spliced in.
  const QByteArray exif = fixture::MakeJpegWithThumbnail(64, 48);
  const qsizetype app1Length = (qsizetype(uchar(exif[4])) << 8) | uchar(exif[5]);
  const QByteArray camera = noisy.left(2) + exif.mid(2, 2 + app1Length) + noisy.mid(2);
  struct {
    const char* what;
    QByteArray data;
    int width;  // 0: refused
  } cases[] = {
      {"whole", noisy, 1024},
      {"whole, EXIF thumbnail inside", camera, 1024},
      {"cut in half", noisy.left(noisy.size() / 2), 0},
      {"cut by one byte", noisy.chopped(1), 0},
      // The last kJpegTailBytes begin at the thumbnail's end marker.
      {"cut where the tail holds only the thumbnail's end",
       camera.left(kJpegTailBytes + ThumbnailEnd(camera) - 2), 0},
  };
  for (const auto& c : cases) {
    ASSERT_GT(c.data.size(), kJpegTailBytes) << c.what;
    EXPECT_EQ(Judge(c.data, c.what), c.width) << c.what;
  }
}

TEST(StoredJpeg, RefusesAMissingFileAndAFolder) {
  QTemporaryDir tmp;
  EXPECT_FALSE(ReadStoredJpegHeader(tmp.filePath("absent.jpg")));
  ASSERT_TRUE(QDir(tmp.path()).mkdir("folder.jpg"));
  EXPECT_FALSE(ReadStoredJpegHeader(tmp.filePath("folder.jpg")));
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
      {"bomb at the default limit", fixture::MakeJpegScanBomb(320, 200, kMaxDecodeScans), kMaxDecodeScans, true},
      {"bomb one over", fixture::MakeJpegScanBomb(320, 200, kMaxDecodeScans + 1), kMaxDecodeScans, false},
      // Without the limit this decodes for a long while.
      {"bomb of thousands of scans", fixture::MakeJpegScanBomb(1024, 768, 5000), kMaxDecodeScans, false},
  };
  for (const auto& c : cases) {
    const QImage image = DecodeJpegScaled(c.data, box, {.MaxScans = c.maxScans, .Cancel = nullptr});
    EXPECT_EQ(!image.isNull(), c.decodes) << c.what;
  }
}

TEST(JpegDecode, GivesUpWhenCancelled) {
  const std::atomic<bool> cancelled{true}, going{false};
  for (const QByteArray& jpeg : {fixture::MakeJpeg(320, 200), fixture::MakeProgressiveJpeg(320, 200)}) {
    EXPECT_TRUE(DecodeJpegScaled(jpeg, QSize(64, 48), {.MaxScans = kMaxDecodeScans, .Cancel = &cancelled}).isNull());
    EXPECT_FALSE(DecodeJpegScaled(jpeg, QSize(64, 48), {.MaxScans = kMaxDecodeScans, .Cancel = &going}).isNull());
  }
}

}  // namespace
