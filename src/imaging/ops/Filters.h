#pragma once
#include <QImage>

// Neighbourhood filters. Each reads the 3x3 (or wider) surroundings of every
// pixel, edges repeating the outermost pixels, and changes only the colour:
// alpha and the format are kept. Amounts outside the ranges given are clamped
// into them. Each returns a new picture, or null when the picture is null or
// not RGB32/ARGB32.
namespace dovi::imaging::ops {

// Grey relief lit from the top left: 128 plus the luma under the kernel
//   -1 -1  0
//   -1  0  1
//    0  1  1
// clamped to 0..255.
QImage emboss(const QImage& src);

// Median of the 3x3 neighbourhood, channel by channel: removes isolated
// specks and keeps edges.
QImage median(const QImage& src);

// Maximum of the 3x3 neighbourhood, channel by channel: light areas grow by
// one pixel.
QImage dilate(const QImage& src);

// amount 1..10: unsharp mask, out = v + amount / 4 * (v - gaussian(v)) with a
// 1-pixel sigma, so 1 is a light touch and 10 strongly crisp.
QImage sharpen(const QImage& src, int amount);

// amount 1..10: Gaussian blur with sigma = 0.4 * amount pixels.
QImage soften(const QImage& src, int amount);

// amount 0..100: soft focus, the percentage of a strongly blurred copy mixed
// into the picture (sigma = shorter side / 200, between 2 and 8 pixels, so
// the look stays alike at any size). 0 leaves the picture as it is.
QImage blend(const QImage& src, int amount);

} // namespace dovi::imaging::ops
