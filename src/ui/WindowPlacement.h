#pragma once
// Where a window goes when it is centred on the screen.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// Top-left corner that centres a window of outer size `window` on `screen` (the
// screen's full area, not its work area). Halves are truncated toward zero, so a
// window wider than the screen sticks out by the same amount on both sides, give
// or take the odd pixel on the right.
QPoint CentredPosition(const QRect& screen, const QSize& window);

// Moves `window` (frame included) to the centre of the primary screen.
void CentreOnPrimaryScreen(QWidget& window);

}  // namespace ui
