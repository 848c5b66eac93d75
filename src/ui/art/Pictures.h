#pragma once
// The program's pictures, each drawn at the size the windows store it in.

#include <QImage>

namespace art {

QImage Banner();                 // 815 x 47, no alpha: title banner of the main window
QImage Clock();                  // 24 x 24: before the elapsed time
QImage LandscapePhoto();         // 22 x 22: before the count found
QImage Person();                 // 128 x 128: before the name fields and the shown name
QImage LightBulb();              // 22 x 22: before the status text
QImage Tools();                  // 64 x 64: screwdriver and wrench, before the thread count
QImage Magnifier();              // 22 x 22: hint that the preview opens
QImage Donate();                 // 147 x 47, palette with transparency
QImage ListIcon(int index);      // 16 x 16, the eight icons of the lists, index 0 to 7
QImage AppIcon(int size);        // size x size: blue star on a black disc with a light rim

}  // namespace art
