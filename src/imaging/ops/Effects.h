#pragma once
#include <QImage>

// Effects that change the picture's shape or frame; size and format are kept.
// Each returns a new picture, or null when the picture is null or not
// RGB32/ARGB32.
namespace dovi::imaging::ops {

// A bevelled frame, `width` pixels deep (clamped to 0..half the shorter
// side), as if light fell from the top left. Raised lightens the top and left
// bands and darkens the bottom and right ones; inset does the opposite. In
// the two corners where a light band meets a dark one the diagonal divides
// them. intensity 0..100: light bands move that percentage of the way to
// white, dark ones to black. Width 0 or intensity 0 change nothing.
QImage buttonize(const QImage& src, bool raised, int width, int intensity);

// The direction in which the picture recedes: the first edge named stays
// full size, the opposite (far) edge is narrowed.
enum class Recede { TopToBottom = 0, BottomToTop = 1, LeftToRight = 2, RightToLeft = 3 };

// Shows the picture as a plane tilted away from the viewer: a true
// projection, so the far edge is narrowed and the rows (or columns) towards
// it are foreshortened, their spacing shrinking with the width. amount
// 0..100: the far edge is (1 - amount / 200) of its length, so 100 halves it
// and 0 changes nothing. The far edge stays centred; the uncovered sides are
// filled with `background` (made opaque on an RGB32 picture). Other
// direction numbers than 0..3 give null.
QImage perspective(const QImage& src, int direction, int amount, QRgb background = qRgb(0, 0, 0));

} // namespace dovi::imaging::ops
