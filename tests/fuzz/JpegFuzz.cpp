// Bytes as a download or a file on disk gives them, judged as a JPEG and
// decoded for the preview. The file checks read them from a file in memory.

#include <sys/mman.h>
#include <unistd.h>

#include "fuzz/FuzzSupport.h"
#include "download/Jpeg.h"
#include "ui/display/JpegDecode.h"

namespace {

// One memory file for the whole run, rewritten for every input.
const QString& StoredCopy(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("ostrana-fuzz-jpeg", 0);
  static const QString path = QStringLiteral("/proc/self/fd/") + QString::number(fd);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    std::perror("fuzz: memory file");
    std::abort();
  }
  return path;
}

bool Same(const std::optional<download::TJpegHeader>& a, const std::optional<download::TJpegHeader>& b) {
  return a.has_value() == b.has_value() && (!a || (a->width == b->width && a->height == b->height));
}

// libjpeg's output size for a scale of n/8.
int Scaled(int length, int n) { return static_cast<int>((static_cast<qint64>(length) * n + 7) / 8); }

void CheckDecoded(const QImage& image, const std::optional<download::TJpegHeader>& header, QSize target) {
  if (image.isNull()) return;
  FUZZ_CHECK(header && static_cast<qint64>(header->width) * header->height <= ui::kMaxDecodePixels);
  // Scaled by the smallest n/8 that still covers the target, or not at all.
  int n = 1;
  while (n < 8 && (static_cast<qint64>(header->width) * n / 8 < target.width() ||
                   static_cast<qint64>(header->height) * n / 8 < target.height()))
    ++n;
  FUZZ_CHECK(image.width() == Scaled(header->width, n) && image.height() == Scaled(header->height, n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::Bytes(data, size);

  const std::optional<download::TJpegHeader> header = download::ReadJpegHeader(bytes);
  const std::optional<download::TJpegHeader> whole = download::ReadWholeJpeg(bytes);
  if (whole) FUZZ_CHECK(Same(whole, header));

  // A download the memory check accepts must pass the file check once stored,
  // or every later run would fetch it again; a small file is judged alike.
  const QString& path = StoredCopy(data, size);
  const std::optional<download::TJpegHeader> stored = download::ReadStoredJpegHeader(path);
  if (whole) FUZZ_CHECK(Same(stored, whole));
  if (bytes.size() <= download::kJpegTailBytes) FUZZ_CHECK(Same(stored, whole));
  if (stored) FUZZ_CHECK(Same(stored, download::ReadJpegFileHeader(path)));

  const QSize target(160, 120);
  CheckDecoded(ui::DecodeJpegScaled(bytes, target, ui::TDecodeLimits{}), header, target);
  return 0;
}
