#pragma once
// The smallest JPEG a header reader and the whole-file check accept, with any
// dimensions: the markers up to an empty scan, then the end marker. There is
// no picture data, so it never decodes.
#include <QByteArray>
#include <initializer_list>

// The same bytes without the end marker: a download the server cut short.
inline QByteArray CutHeaderOnlyJpeg(int width, int height) {
  QByteArray d;
  auto put = [&](std::initializer_list<int> bytes) {
    for (int b : bytes) d.append(static_cast<char>(b));
  };
  put({0xFF, 0xD8});  // SOI
  put({0xFF, 0xC0, 0x00, 0x0B, 0x08, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 0x01, 0x01, 0x11, 0x00});
  put({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});  // SOS
  return d;
}

inline QByteArray HeaderOnlyJpeg(int width, int height) { return CutHeaderOnlyJpeg(width, height) + "\xFF\xD9"; }
