#include "ui/display/JpegDecode.h"

#include "download/Jpeg.h"
#include "download/JpegDecompressor.h"

namespace ui {

namespace {

// libjpeg calls this between units of work: during jpeg_start_decompress for
// every iMCU row of every scan of a progressive file, during
// jpeg_read_scanlines for every call. Failing here ends the decode through
// the error manager like any libjpeg error.
struct Monitor {
  jpeg_progress_mgr base{};
  TDecodeLimits limits;

  explicit Monitor(const TDecodeLimits& l) : limits(l) { base.progress_monitor = &Check; }

  static void Check(j_common_ptr cinfo) {
    const auto* m = reinterpret_cast<const Monitor*>(cinfo->progress);
    const bool cancelled = m->limits.Cancel && m->limits.Cancel->load(std::memory_order_relaxed);
    if (cancelled || reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > m->limits.MaxScans)
      (*cinfo->err->error_exit)(cinfo);
  }
};

unsigned ScaleFor(const download::TJpegHeader& h, QSize target) {
  // The smallest n/8 whose output still covers the target in both directions.
  for (unsigned n = 1; n < 8; ++n)
    if (static_cast<qint64>(h.width) * n / 8 >= target.width() && static_cast<qint64>(h.height) * n / 8 >= target.height())
      return n;
  return 8;
}

bool Decode(download::TDecompressor& d, Monitor& monitor, const QByteArray& data, QSize target, QImage& image) {
  if (setjmp(d.err.escape)) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.progress = &monitor.base;
  jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  const download::TJpegHeader h{static_cast<int>(d.cinfo.image_width), static_cast<int>(d.cinfo.image_height)};
  if (h.width <= 0 || h.height <= 0 || static_cast<qint64>(h.width) * h.height > kMaxDecodePixels) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  // A hard cap on libjpeg's own buffers (progressive data keeps every
  // coefficient): past it the decoder fails instead of growing. A progressive
  // picture of kMaxDecodePixels in 4:2:0 needs about 120 MiB; up to three
  // decodes run at once (a worker's preview, a picked name, the thumbnail pass).
  d.cinfo.mem->max_memory_to_use = 256L * 1024 * 1024;
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

QImage DecodeJpegScaled(const QByteArray& data, QSize target, const TDecodeLimits& limits) {
  QImage image;
  if (data.isEmpty()) return image;
  download::TDecompressor d;
  Monitor monitor(limits);
  if (!Decode(d, monitor, data, target, image)) return QImage();
  return image;
}

}  // namespace ui
