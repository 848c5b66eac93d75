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

TEST(TJpegHeader, GivesTheDimensionsOrRefusesWhatIsNotJpeg) {
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
    const auto header = download::ReadJpegHeader(c.data);
    EXPECT_EQ(header ? header->width : 0, c.width) << c.what;
  }
}

TEST(TJpegHeader, ReadsAFileAndRefusesAMissingOne) {
  QTemporaryDir tmp;
  ASSERT_TRUE(download::WriteFileAtomically(tmp.filePath("w.jpg"), HeaderOnlyJpeg(1024, 768)));
  const auto header = download::ReadJpegFileHeader(tmp.filePath("w.jpg"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 1024);
  EXPECT_EQ(header->height, 768);
  EXPECT_FALSE(download::ReadJpegFileHeader(tmp.filePath("absent.jpg")));
  ASSERT_TRUE(download::WriteFileAtomically(tmp.filePath("empty.jpg"), QByteArray()));
  EXPECT_FALSE(download::ReadJpegFileHeader(tmp.filePath("empty.jpg")));
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
    const auto memory = download::ReadWholeJpeg(data);
    const QString path = tmp.filePath("w.jpg");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size()) << what;
    file.close();
    const auto stored = download::ReadStoredJpegHeader(path);
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
      {"padding that fits the tail", fixture::MakePaddedJpeg(320, 200, download::kJpegTailBytes - 2), 320},
      {"padding past the tail", fixture::MakePaddedJpeg(320, 200, download::kJpegTailBytes - 1), 320},
      {"padding of several tails", fixture::MakePaddedJpeg(320, 200, 3 * download::kJpegTailBytes), 320},
      {"cut, then padded past the tail", fixture::MakeJpeg(320, 200).chopped(2) + QByteArray(download::kJpegTailBytes, '\0'), 0},
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
  ASSERT_GT(noisy.size(), 2 * download::kJpegTailBytes);
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
       camera.left(download::kJpegTailBytes + ThumbnailEnd(camera) - 2), 0},
  };
  for (const auto& c : cases) {
    ASSERT_GT(c.data.size(), download::kJpegTailBytes) << c.what;
    EXPECT_EQ(Judge(c.data, c.what), c.width) << c.what;
  }
}

TEST(StoredJpeg, RefusesAMissingFileAndAFolder) {
  QTemporaryDir tmp;
  EXPECT_FALSE(download::ReadStoredJpegHeader(tmp.filePath("absent.jpg")));
  ASSERT_TRUE(QDir(tmp.path()).mkdir("folder.jpg"));
  EXPECT_FALSE(download::ReadStoredJpegHeader(tmp.filePath("folder.jpg")));
}

}  // namespace
