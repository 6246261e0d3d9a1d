#pragma once
#include <QImage>

namespace dovi::imaging::ops::detail {

// Gaussian blur of the colour channels of a usable picture; alpha is copied
// from the source. On ARGB32 pictures the colours are averaged weighted by
// their alpha, so hidden colours of transparent pixels do not bleed in.
// Null when the picture could not be allocated.
QImage gaussianBlur(const QImage& src, double sigma);

} // namespace dovi::imaging::ops::detail
