#pragma once
// A scaled decode of JPEG data for display: libjpeg decodes at the smallest
// 1/8 step that still covers the box, within limits that keep a hostile file
// from costing minutes or gigabytes. Safe on any thread.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <atomic>

namespace ui {

// Pictures with more pixels than this are refused for display: decoding them
// would cost unreasonable memory whatever the scale.
inline constexpr qint64 kMaxDecodePixels = 40'000'000;

// Encoders write about ten scans: libjpeg's progressive script has 10 for a
// colour picture and 6 for a grey one, and optimising encoders pick scripts of
// the same length. Each scan walks every block of the picture however little
// data it holds, so a small file with thousands of scans decodes for minutes.
// A hundred leaves room for any honest script, and even at kMaxDecodePixels a
// hundred scans decode in seconds.
inline constexpr int kMaxDecodeScans = 100;

struct TDecodeLimits {
  int MaxScans = kMaxDecodeScans;
  // When set (shut-down sets it), a decode in progress gives up at once.
  const std::atomic<bool>* Cancel = nullptr;
};

// Decodes JPEG data scaled down by libjpeg (1/8 steps) to the smallest size
// that still covers `target` (keeping the aspect ratio); a null QImage when
// the data is not JPEG, the picture is too large, it has more scans than the
// limit allows, or the decode was cancelled.
QImage DecodeJpegScaled(const QByteArray& data, QSize target, const TDecodeLimits& limits = {});

}  // namespace ui
