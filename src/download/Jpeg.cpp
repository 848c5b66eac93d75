#include "download/Jpeg.h"

#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "download/JpegDecompressor.h"

namespace download {

namespace {

// --- The marker walk -------------------------------------------------------

constexpr unsigned char kMarker = 0xFF;

bool IsRestart(unsigned code) { return code >= 0xD0 && code <= 0xD7; }

bool IsFrameHeader(unsigned code) {
  // SOF0-SOF15, less DHT (C4), JPG (C8) and DAC (CC) which share the range.
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// Markers that carry a length. The rest of the code space (reserved codes,
// DHP, EXP, JPGn) libjpeg refuses, so a file holding one is no picture for us.
bool IsSegment(unsigned code) {
  return (code >= 0xC0 && code <= 0xCF && code != 0xC8) || code == 0xDA || code == 0xDB || code == 0xDC ||
         code == 0xDD || (code >= 0xE0 && code <= 0xEF) || code == 0xFE;
}

// From `at` inside a scan's entropy-coded data, the offset of the FF that
// starts the next marker, or -1 when the data ends first. Inside a scan an FF
// is followed by 00 (a stuffed data byte), by a restart marker, or by more FF
// fill bytes in front of a marker.
qsizetype SkipEntropyData(const unsigned char* p, qsizetype n, qsizetype at) {
  for (;;) {
    const void* ff = std::memchr(p + at, kMarker, static_cast<size_t>(n - at));
    if (!ff) return -1;
    at = static_cast<const unsigned char*>(ff) - p;
    if (at + 1 >= n) return -1;
    const unsigned next = p[at + 1];
    if (next == 0x00 || IsRestart(next))
      at += 2;
    else if (next == kMarker)
      at += 1;
    else
      return at;
  }
}

// The offset just past the end-of-image marker when the data's markers run
// whole from the start-of-image marker to it; -1 otherwise. Segments are
// skipped by their lengths, so an EXIF thumbnail's own markers inside its
// APP1 segment are never taken for the picture's. That a frame header comes
// before the first scan, and a scan before the end, libjpeg's header read
// checks.
qsizetype EndOfImage(const unsigned char* p, qsizetype n) {
  if (n < 2 || p[0] != kMarker || p[1] != 0xD8) return -1;
  qsizetype at = 2;
  bool frame = false;
  for (;;) {
    if (at >= n || p[at] != kMarker) return -1;
    while (at < n && p[at] == kMarker) ++at;  // fill bytes
    if (at >= n) return -1;
    const unsigned code = p[at++];
    if (code == 0xD9) return at;
    if (code == 0x01 || IsRestart(code)) continue;  // TEM and RSTn stand alone
    if (!IsSegment(code) || n - at < 2) return -1;
    const qsizetype length = (qsizetype(p[at]) << 8) | p[at + 1];
    if (length < 2 || n - at < length) return -1;
    at += length;
    if (IsFrameHeader(code)) {
      if (frame) return -1;  // one frame per file, as libjpeg insists
      frame = true;
    } else if (code == 0xDA) {
      at = SkipEntropyData(p, n, at);
      if (at < 0) return -1;
    }
  }
}

bool HoldsEndMarker(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  for (qsizetype at = 0; at + 1 < n; ++at) {
    const void* ff = std::memchr(p + at, kMarker, static_cast<size_t>(n - 1 - at));
    if (!ff) return false;
    at = static_cast<const unsigned char*>(ff) - p;
    if (p[at + 1] == 0xD9) return true;
  }
  return false;
}

// --- libjpeg sources ---------------------------------------------------------

// Feeds libjpeg from a QFile; a file that ends inside its header fails the read.
struct FileSource {
  jpeg_source_mgr base{};
  QFile* file = nullptr;
  JOCTET buffer[4096];

  explicit FileSource(QFile& f) : file(&f) {
    base.init_source = [](j_decompress_ptr) {};
    base.fill_input_buffer = &Fill;
    base.skip_input_data = &Skip;
    base.resync_to_restart = jpeg_resync_to_restart;
    base.term_source = [](j_decompress_ptr) {};
  }
  // Where libjpeg has read up to in the file.
  qint64 Position() const { return file->pos() - static_cast<qint64>(base.bytes_in_buffer); }

  static boolean Fill(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<FileSource*>(cinfo->src);
    const qint64 got = src->file->read(reinterpret_cast<char*>(src->buffer), sizeof src->buffer);
    if (got <= 0) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->base.next_input_byte = src->buffer;
    src->base.bytes_in_buffer = static_cast<size_t>(got);
    return TRUE;
  }
  static void Skip(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<FileSource*>(cinfo->src);
    if (count <= 0) return;
    if (static_cast<size_t>(count) <= src->base.bytes_in_buffer) {
      src->base.next_input_byte += count;
      src->base.bytes_in_buffer -= static_cast<size_t>(count);
      return;
    }
    const qint64 beyond = count - static_cast<qint64>(src->base.bytes_in_buffer);
    src->base.bytes_in_buffer = 0;
    if (!src->file->seek(src->file->pos() + beyond)) ERREXIT(cinfo, JERR_INPUT_EOF);
  }
};

// Reads from memory when `file` is null.
bool ReadHeader(TDecompressor& d, const unsigned char* data, unsigned long size, FileSource* file, TJpegHeader& out) {
  if (setjmp(d.err.escape)) {
    jpeg_destroy_decompress(&d.cinfo);
    return false;
  }
  jpeg_create_decompress(&d.cinfo);
  if (file)
    d.cinfo.src = &file->base;
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

}  // namespace

std::optional<TJpegHeader> ReadJpegHeader(const QByteArray& data) {
  if (data.isEmpty()) return std::nullopt;
  TDecompressor d;
  TJpegHeader h;
  if (!ReadHeader(d, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()), nullptr, h))
    return std::nullopt;
  return h;
}

std::optional<TJpegHeader> ReadJpegFileHeader(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  FileSource source(file);
  TDecompressor d;
  TJpegHeader h;
  if (!ReadHeader(d, nullptr, 0, &source, h)) return std::nullopt;
  return h;
}

std::optional<TJpegHeader> ReadWholeJpeg(const QByteArray& data) {
  const qsizetype end = EndOfImage(reinterpret_cast<const unsigned char*>(data.constData()), data.size());
  if (end < 0) return std::nullopt;
  return ReadJpegHeader(data);
}

std::optional<TJpegHeader> ReadStoredJpegHeader(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const qint64 size = file.size();
  const auto readWhole = [&]() -> std::optional<TJpegHeader> {
    if (size > kMaxWalkedJpegBytes || !file.seek(0)) return std::nullopt;
    return ReadWholeJpeg(file.readAll());
  };
  if (size <= kJpegTailBytes) return readWhole();

  FileSource source(file);
  TDecompressor d;
  TJpegHeader h;
  if (!ReadHeader(d, nullptr, 0, &source, h)) return std::nullopt;
  // An end marker before the first scan belongs to an EXIF thumbnail.
  const qint64 from = std::max(source.Position(), size - kJpegTailBytes);
  if (!file.seek(from)) return std::nullopt;
  if (HoldsEndMarker(file.read(size - from))) return h;
  return readWhole();
}

}  // namespace download
