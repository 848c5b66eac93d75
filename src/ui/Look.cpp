#include "ui/Look.h"

#include <QApplication>
#include <QPalette>

namespace ui {

QFont TahomaFont(int pixelSize) {
  // DejaVu Sans Condensed runs within a pixel or two of Tahoma at these sizes;
  // the plain sans faces are 10 to 15 percent wider and would clip the captions.
  static const bool substituted = [] {
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans Condensed", "Liberation Sans Narrow",
                                          "Liberation Sans", "Arial"});
    return true;
  }();
  (void)substituted;
  QFont font("Tahoma");
  font.setPixelSize(pixelSize);
  return font;
}

QColor ButtonShadowColour() { return QApplication::palette().color(QPalette::Dark); }

QColor ActiveCaptionColour() { return QApplication::palette().color(QPalette::Highlight); }

}  // namespace ui
