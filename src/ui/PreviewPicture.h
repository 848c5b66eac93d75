#pragma once
// A JPEG file made ready for a picture box: decoded at a reduced scale and
// scaled to the size it fills there, so showing it costs the UI thread little.
// Safe on any thread.

#include <QImage>
#include <QSize>
#include <QString>

#include "ui/display/JpegDecode.h"

namespace ui {

// Larger files are not read for a preview: no wallpaper the program keeps comes near it.
inline constexpr qint64 kMaxPreviewFileBytes = qint64(64) * 1024 * 1024;

// A null image when the file cannot be read, is too large, or is no JPEG it is
// reasonable to decode within `limits`.
QImage LoadPreviewPicture(const QString& path, QSize box, const TDecodeLimits& limits = {});

}  // namespace ui
