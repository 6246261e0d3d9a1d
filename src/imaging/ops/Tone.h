#pragma once
#include <QImage>

// Colour operations: each pixel's red, green and blue change by a rule of
// their own values; alpha and the format are kept. Amounts outside the ranges
// given are clamped into them. Each returns a new picture, or null when the
// picture is null or not RGB32/ARGB32.
namespace dovi::imaging::ops {

// 255 - level on each colour channel.
QImage negate(const QImage& src);

// A parabola through the three points (0, a), (127.5, b), (255, a) on each
// channel: concave gives a = 0, b = 255 (mid tones bright, both ends dark),
// convex the mirror image a = 255, b = 0: out = 4 * (v - 127.5)^2 / 255.
QImage parabolic(const QImage& src, bool concave);

// amount -100..100: every level moves amount% of the way towards white
// (positive) or black (negative). No level is pushed past the end, so detail
// is never clipped away; 100 gives white, -100 black.
QImage brightness(const QImage& src, int amount);

// amount -100..100: levels move away from (positive) or towards (negative)
// mid grey 127.5 by a factor f: f = (100 + amount) / 100 when lowering
// (-100 gives flat grey), f = 100 / (100 - 0.9 * amount) when raising
// (100 gives ten times the contrast, clamped at black and white).
QImage contrast(const QImage& src, int amount);

// Stretches the levels so the darkest 0.5% of all colour samples become black
// and the brightest 0.5% white. One mapping for all three channels, taken
// from their pooled histogram, so the colour balance is kept. A picture
// whose levels lie within one step is returned unchanged.
QImage autoContrast(const QImage& src);

// hue: degrees turned round the colour wheel (any value, taken mod 360).
// saturation, luminance -100..100: in HSL, the value moves that percentage of
// the way towards 1 (positive) or 0 (negative): saturation -100 gives grey,
// luminance 100 white.
QImage adjustHSL(const QImage& src, int hue, int saturation, int luminance);

// red, green, blue -100..100: that percentage of full scale (2.55 levels per
// step) is added to the channel, clamped at 0 and 255.
QImage adjustRGB(const QImage& src, int red, int green, int blue);

} // namespace dovi::imaging::ops
