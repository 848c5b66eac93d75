#pragma once
// Reading JPEG data through libjpeg: whether a download is a whole picture
// worth keeping, in memory and on disk.

#include <QByteArray>
#include <QString>
#include <optional>

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

// How many bytes may follow the end-of-image marker, the marker included.
// Some tools pad their files; a file check that reads this much of a file's
// end then finds the marker of every file that ReadWholeJpeg accepts.
inline constexpr qsizetype kJpegTailBytes = 64 * 1024;

// The header (as ReadJpegHeader gives it) only when `data` is a whole JPEG:
// its markers run from the start of the image to its end, with no more than
// kJpegTailBytes - 2 bytes behind the end marker. A server that closes the
// connection early leaves an intact header but no end; that is refused.
std::optional<TJpegHeader> ReadWholeJpeg(const QByteArray& data);

// The same judgement for a file already on disk, without reading all of it:
// the header must be readable and the file's last kJpegTailBytes, past the
// start of its first scan, must hold the end marker. A file of at most
// kJpegTailBytes is read whole and judged exactly as ReadWholeJpeg does.
std::optional<TJpegHeader> ReadStoredJpegHeader(const QString& path);

// The narrowest wallpaper worth keeping.
inline constexpr int kMinWallpaperWidth = 300;

}  // namespace download
