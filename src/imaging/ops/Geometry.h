#pragma once
#include <QImage>

namespace dovi::imaging::ops {

// All three keep the format and are exact (pixels are moved, never mixed).
// Null when the picture is null or not RGB32/ARGB32.

// Top row becomes the bottom row.
QImage flip(const QImage& src);

// Left column becomes the right column.
QImage mirror(const QImage& src);

// The part of the rectangle that lies on the picture. Null when nothing of it
// does (zero or negative width or height, or wholly outside), so the caller
// keeps its picture unchanged.
QImage crop(const QImage& src, int left, int top, int width, int height);

} // namespace dovi::imaging::ops
