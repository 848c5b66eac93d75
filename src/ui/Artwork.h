#pragma once
// The pictures compiled into the program (drawn at build time by ostrana_art).

#include <QIcon>
#include <QImage>
#include <QString>

namespace ui {

// The picture `name` ("banner.png", "person.png", ...); a null image if there is none.
QImage ArtPicture(const QString& name);

// The program's icon in 16, 32 and 48 pixels.
QIcon ApplicationIcon();

}  // namespace ui
