#pragma once
// Reading JPEG data through libjpeg: whether a download is a whole picture,
// and a scaled decode for display. libjpeg's default error handler ends the
// process; ours returns control to the caller instead.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <optional>

struct JpegHeader {
  int width = 0;
  int height = 0;
};

// The header of JPEG data in memory, or none when it is not readable JPEG.
// Says nothing about the rest of the data: a cut-off download passes.
std::optional<JpegHeader> ReadJpegHeader(const QByteArray& data);
// The header of a JPEG file, reading only as much of it as the header needs.
std::optional<JpegHeader> ReadJpegFileHeader(const QString& path);

// How many bytes may follow the end-of-image marker, the marker included.
// Some tools pad their files; a file check that reads this much of a file's
// end then finds the marker of every file that ReadWholeJpeg accepts.
inline constexpr qsizetype kJpegTailBytes = 64 * 1024;

// The header (as ReadJpegHeader gives it) only when `data` is a whole JPEG:
// its markers run from the start of the image to its end, with no more than
// kJpegTailBytes - 2 bytes behind the end marker. A server that closes the
// connection early leaves an intact header but no end; that is refused.
std::optional<JpegHeader> ReadWholeJpeg(const QByteArray& data);

// The same judgement for a file already on disk, without reading all of it:
// the header must be readable and the file's last kJpegTailBytes, past the
// start of its first scan, must hold the end marker. A file of at most
// kJpegTailBytes is read whole and judged exactly as ReadWholeJpeg does.
std::optional<JpegHeader> ReadStoredJpegHeader(const QString& path);

// The narrowest wallpaper worth keeping.
inline constexpr int kMinWallpaperWidth = 300;

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
