#pragma once
// Fonts and colours the windows share.

#include <QColor>
#include <QFont>

namespace ui {

// Tahoma at `pixelSize` pixels per character. The windows are laid out in pixels
// for Tahoma; where it is not installed, a face of nearly the same width stands
// in so that captions still fit their controls.
QFont TahomaFont(int pixelSize);

// The desktop's button-shadow grey: the background of both windows.
QColor ButtonShadowColour();

// The desktop's accent for an active title: the background of the thread-count field.
QColor ActiveCaptionColour();

}  // namespace ui
