#pragma once
#include <QImage>

namespace dovi::imaging::ops {

// Turns the picture clockwise by `degrees` (negative turns anticlockwise).
// Multiples of 90 move pixels exactly; 90 and 270 swap width and height.
// Any other angle grows the canvas to the rotated picture's bounding box
// (overhangs under 1/100 pixel are ignored, so 89.9999 does not add a row),
// keeps the centre in the centre, samples bilinearly and fills the corners
// with `background` (made opaque on an RGB32 picture), the picture's edges
// blended into it. Keeps the format. Null when the picture is null or not
// RGB32/ARGB32, the angle is not finite, or the canvas would pass
// kMaxSide / kMaxPixels.
QImage rotate(const QImage& src, double degrees, QRgb background = qRgb(0, 0, 0));

} // namespace dovi::imaging::ops
