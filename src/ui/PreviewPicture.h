#pragma once
// A JPEG file made ready for a picture box: decoded at a reduced scale and
// scaled to the size it fills there, so showing it costs the UI thread little.
// Safe on any thread.

#include <QImage>
#include <QSize>
#include <QString>

namespace ui {

// A null image when the file cannot be read or is no JPEG it is reasonable to decode.
QImage LoadPreviewPicture(const QString& path, QSize box);

}  // namespace ui
