#pragma once
// Reading JPEG data through libjpeg: whether a download is a whole picture
// worth keeping, in memory and on disk.

#include <QByteArray>
#include <QString>
#include <optional>

#include "site/Fetch.h"

namespace download {

struct TJpegHeader {
  int width = 0;
  int height = 0;
};

// The header of JPEG data in memory, or none when it is not readable JPEG.
// Says nothing about the rest of the data: a cut-off download passes.
std::optional<TJpegHeader> ReadJpegHeader(const QByteArray& data);
// The header of a JPEG file, reading only as much of it as the header needs.
std::optional<TJpegHeader> ReadJpegFileHeader(const QString& path);

// How much of a file's end the file check reads first. Every whole JPEG
// whose end marker lies within it is judged by that read alone.
inline constexpr qsizetype kJpegTailBytes = 64 * 1024;

// The header (as ReadJpegHeader gives it) only when `data` is a whole JPEG:
// its markers run from the start of the image to its end. Bytes after the end
// marker are allowed (some tools pad their files, cameras append more
// pictures). A server that closes the connection early leaves an intact
// header but no end; that is refused.
std::optional<TJpegHeader> ReadWholeJpeg(const QByteArray& data);

// The same judgement for a file already on disk, mostly without reading all
// of it: the header must be readable and the file's last kJpegTailBytes, past
// the start of its first scan, must hold the end marker. A file that is small,
// or whose end holds no marker (a cut-off file, or one padded past the tail),
// is read whole, up to kMaxWalkedJpegBytes, and judged exactly as
// ReadWholeJpeg does.
std::optional<TJpegHeader> ReadStoredJpegHeader(const QString& path);

// The largest file ReadStoredJpegHeader reads whole: the largest picture the
// program ever fetches.
inline constexpr qint64 kMaxWalkedJpegBytes = site::kMaxPictureBytes;

// The narrowest wallpaper worth keeping.
inline constexpr int kMinWallpaperWidth = 300;

}  // namespace download
