#pragma once
#include <QImage>

namespace dovi::imaging::ops {

// Scales the picture to exactly width x height with a Lanczos-3 filter,
// separable, in 14-bit fixed point over 8-bit channels. Shrinking widens the
// kernel by the reduction factor so every source pixel counts (area-correct);
// enlarging uses it as is. Reductions of 4x or more on an axis first average
// whole boxes of floor(factor / 2) pixels (at most 256), leaving the filter a
// reduction of 2..4x: much quicker and visually the same. ARGB32 pictures
// whose alpha varies are filtered premultiplied, so the colour of transparent
// pixels does not bleed into the visible ones (colours of pixels with little
// alpha come back to within 255 / (2 * alpha) levels).
// Keeps the format. The same size gives a copy. Null when the picture is null
// or not RGB32/ARGB32, or the size is not positive or beyond kMaxSide /
// kMaxPixels.
QImage resample(const QImage& src, int width, int height);

// A small copy for previews (the rotate and perspective dialogs): the picture
// resampled as above to the largest size that fits within box with its
// proportions kept (each side at least 1), or a plain copy when it already
// fits. A 50 MP photo takes a few tens of milliseconds. Null when the
// picture is null or not RGB32/ARGB32, or the box is empty.
QImage previewCopy(const QImage& src, QSize box);

// The size previewCopy gives a width x height picture for box.
QSize previewSize(QSize picture, QSize box);

} // namespace dovi::imaging::ops
