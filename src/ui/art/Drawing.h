#pragma once
// Shared pieces of the artwork tool: every picture of the program is drawn here
// with QPainter at build time and compiled in as a resource.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace art {

// A transparent ARGB canvas of the given size.
QImage Canvas(int width, int height);

// A painter with antialiasing on, for drawing into `image`.
void BeginSmooth(QPainter& painter, QImage& image);

// The shapes that several pictures share, drawn into the square `box`.
void DrawMagnifierPlus(QPainter& painter, const QRectF& box);
void DrawLandscape(QPainter& painter, const QRectF& box);
void DrawNoEntry(QPainter& painter, const QRectF& box, const QColor& disc);
void DrawPerson(QPainter& painter, const QRectF& box);

// A five-pointed star around `centre`, first point straight up.
QPainterPath StarPath(const QPointF& centre, qreal outer, qreal inner);

// Converts to an 8-bit palette image that keeps soft (not just on/off) transparency.
QImage ToPaletteWithAlpha(const QImage& image);

}  // namespace art
