#pragma once
#include <QImage>
#include <functional>

namespace dovi::imaging::ops::detail {

// Called with each blurred row (y, its pixels) as soon as it is done, to be
// finished in place while still in the cache.
using BlurredRow = std::function<void(int y, QRgb* row)>;

// Gaussian blur of the colour channels of a usable picture; alpha is copied
// from the source. On ARGB32 pictures the colours are averaged weighted by
// their alpha, so hidden colours of transparent pixels do not bleed in.
// Bands of rows are blurred on all cores. Null when the picture could not be
// allocated.
QImage gaussianBlur(const QImage& src, double sigma, const BlurredRow& finish = {});

} // namespace dovi::imaging::ops::detail
