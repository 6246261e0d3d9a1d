#pragma once
#include <QtGui/qrgb.h>

// The per-pixel arithmetic of adjustHSL, internal to ops.
namespace dovi::imaging::ops::detail {

struct HslChange {
    double turn;       // of the hue, a fraction of the wheel in (-1, 1)
    double saturation; // -1..1: the fraction of the way towards 1 or 0
    double luminance;  // likewise
};

// out[i] = in[i] with its colour changed in HSL, alpha kept. Exactly the
// double-precision result of: r, g, b / 255 to HSL; h + turn wrapped into
// [0, 1); s and l moved; back to RGB, each level * 255 rounded half away from
// zero. Four or eight pixels at a time, with the widest vectors the processor
// has.
// Which loop: the widest the processor has, or one in particular (tests check
// they all agree); one the processor lacks falls back to the plain one.
enum class HslLoop { Best, Plain, Avx2, Avx512 };
bool hslLoopAvailable(HslLoop loop);
void changeHslRow(const QRgb* in, QRgb* out, int n, const HslChange& change,
                  HslLoop loop = HslLoop::Best);

// The same, one pixel at a time in plain scalar code (the reference).
QRgb changeHsl(QRgb p, const HslChange& change);

} // namespace dovi::imaging::ops::detail
