#pragma once
// Reading JPEG data through libjpeg: the header alone to judge a wallpaper,
// and a scaled decode for display. libjpeg's default error handler ends the
// process; ours returns control to the caller instead.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

struct JpegHeader {
  int width = 0;
  int height = 0;
};

// The header of JPEG data in memory, or none when it is not readable JPEG.
std::optional<JpegHeader> ReadJpegHeader(const QByteArray& data);
// The header of a JPEG file, reading only as much of it as the header needs.
std::optional<JpegHeader> ReadJpegFileHeader(const QString& path);

// The narrowest wallpaper worth keeping.
inline constexpr int kMinWallpaperWidth = 300;

// Pictures with more pixels than this are refused for display: decoding them
// would cost unreasonable memory whatever the scale.
inline constexpr qint64 kMaxDecodePixels = 40'000'000;

// Decodes JPEG data scaled down by libjpeg (1/8 steps) to the smallest size
// that still covers `target` (keeping the aspect ratio); a null QImage when
// the data is not JPEG or the picture is too large to decode.
QImage DecodeJpegScaled(const QByteArray& data, QSize target);
