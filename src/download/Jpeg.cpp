#include "Jpeg.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->escape, 1);
}

void Quiet(j_common_ptr) {}

// libjpeg reports errors by longjmp, so nothing with a destructor may live in
// the frames it jumps over: each reader below keeps its C++ objects outside.
struct Decompressor {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  Decompressor() {
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.output_message = Quiet;
  }
};

bool ReadHeader(Decompressor& d, const unsigned char* data, unsigned long size, std::FILE* file, JpegHeader& out) {
  if (setjmp(d.err.escape)) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  jpeg_create_decompress(&d.cinfo);
  if (file)
    jpeg_stdio_src(&d.cinfo, file);
  else
    jpeg_mem_src(&d.cinfo, data, size);
  if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  out.width = static_cast<int>(d.cinfo.image_width);
  out.height = static_cast<int>(d.cinfo.image_height);
  jpeg_destroy_decompress(&d.cinfo);
  return true;
}

unsigned ScaleFor(const JpegHeader& h, QSize target) {
  // The smallest n/8 whose output still covers the target in both directions.
  for (unsigned n = 1; n < 8; ++n)
    if (static_cast<qint64>(h.width) * n / 8 >= target.width() && static_cast<qint64>(h.height) * n / 8 >= target.height())
      return n;
  return 8;
}

bool Decode(Decompressor& d, const QByteArray& data, QSize target, QImage& image) {
  if (setjmp(d.err.escape)) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  jpeg_create_decompress(&d.cinfo);
  jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  const JpegHeader h{static_cast<int>(d.cinfo.image_width), static_cast<int>(d.cinfo.image_height)};
  if (h.width <= 0 || h.height <= 0 || static_cast<qint64>(h.width) * h.height > kMaxDecodePixels) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  // A hard cap on libjpeg's own buffers (progressive data keeps every
  // coefficient): past it the decoder fails instead of growing.
  d.cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
  d.cinfo.scale_num = ScaleFor(h, target);
  d.cinfo.scale_denom = 8;
  d.cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d.cinfo);
  // `image` lives in the caller's frame, so the jump above cannot skip its destructor.
  image = QImage(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height), QImage::Format_RGB888);
  if (image.isNull()) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  while (d.cinfo.output_scanline < d.cinfo.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(d.cinfo.output_scanline));
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
  jpeg_destroy_decompress(&d.cinfo);
  return true;
}

}  // namespace

std::optional<JpegHeader> ReadJpegHeader(const QByteArray& data) {
  if (data.isEmpty()) return std::nullopt;
  Decompressor d;
  JpegHeader h;
  if (!ReadHeader(d, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()), nullptr, h))
    return std::nullopt;
  return h;
}

std::optional<JpegHeader> ReadJpegFileHeader(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(native.constData(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  Decompressor d;
  JpegHeader h;
  if (!ReadHeader(d, nullptr, 0, file.get(), h)) return std::nullopt;
  return h;
}

QImage DecodeJpegScaled(const QByteArray& data, QSize target) {
  QImage image;
  if (data.isEmpty()) return image;
  Decompressor d;
  if (!Decode(d, data, target, image)) return QImage();
  return image;
}
