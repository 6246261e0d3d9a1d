#include "imaging/ops/HslRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

// The four-lane helpers below are always inlined, so how a vector argument
// would be passed without AVX never matters.
#pragma GCC diagnostic ignored "-Wpsabi"

// The scalar and the vector code run the same IEEE operations in the same
// order on each pixel, so they agree to the bit: only branches became
// selections. (No fused multiply-add is enabled, so nothing is contracted.)
namespace dovi::imaging::ops::detail {

namespace {

inline double towards(double v, double t, double top) {
    return t >= 0 ? v + (top - v) * t : v * (1 + t);
}

double hueChannel(double p, double q, double t) {
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

// std::lround of a level (|v| < 2^31) without the library call.
inline int roundHalfAway(double v) {
    const double whole = double(std::int32_t(v));
    const double fraction = v - whole; // exact
    return int(whole) + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

inline std::uint32_t level(double v) {
    return std::uint32_t(std::clamp(roundHalfAway(v * 255), 0, 255));
}

// Four lanes through GCC's vector extensions: plain operators on each lane,
// `mask ? a : b` selecting lane by lane.
using D4 = double __attribute__((vector_size(32)));
using M4 = std::int64_t __attribute__((vector_size(32)));
using I4 = std::int32_t __attribute__((vector_size(16)));

[[gnu::always_inline]] inline D4 splat(double v) {
    return D4{v, v, v, v};
}

// v / 255 for every level, looked up rather than divided.
const std::array<double, 256> kUnit = [] {
    std::array<double, 256> unit{};
    for (std::size_t v = 0; v < 256; ++v)
        unit[v] = double(v) / 255.0;
    return unit;
}();

[[gnu::always_inline]] inline D4 unit4(I4 v) {
    return D4{kUnit[std::size_t(v[0])], kUnit[std::size_t(v[1])], kUnit[std::size_t(v[2])],
              kUnit[std::size_t(v[3])]};
}

[[gnu::always_inline]] inline D4 hueChannel4(D4 p, D4 q, D4 t) {
    t = t < 0 ? t + 1 : t;
    t = t > 1 ? t - 1 : t;
    const D4 rising = p + (q - p) * 6 * t;
    const D4 falling = p + (q - p) * (2.0 / 3 - t) * 6;
    return t < 1.0 / 6 ? rising : (t < 0.5 ? q : (t < 2.0 / 3 ? falling : p));
}

[[gnu::always_inline]] inline I4 level4(D4 v) {
    v = v * 255;
    const I4 whole = __builtin_convertvector(v, I4);
    const D4 fraction = v - __builtin_convertvector(whole, D4);
    // True lanes are -1: subtracting the first mask adds one.
    I4 r = whole - __builtin_convertvector(fraction >= 0.5, I4) +
           __builtin_convertvector(fraction <= -0.5, I4);
    const I4 zero = {0, 0, 0, 0}, top = {255, 255, 255, 255};
    r = r < zero ? zero : r;
    return r > top ? top : r;
}

[[gnu::always_inline]] inline void changeFour(const QRgb* in, QRgb* out, const HslChange& c) {
    const I4 ri = {int(qRed(in[0])), int(qRed(in[1])), int(qRed(in[2])), int(qRed(in[3]))};
    const I4 gi = {int(qGreen(in[0])), int(qGreen(in[1])), int(qGreen(in[2])), int(qGreen(in[3]))};
    const I4 bi = {int(qBlue(in[0])), int(qBlue(in[1])), int(qBlue(in[2])), int(qBlue(in[3]))};
    const D4 r = unit4(ri), g = unit4(gi), b = unit4(bi);

    // To HSL (hue in [0, 1)); std::max and std::min keep the first of equals.
    D4 hi = r < g ? g : r;
    hi = hi < b ? b : hi;
    D4 lo = g < r ? g : r;
    lo = b < lo ? b : lo;
    const D4 l0 = (hi + lo) / 2;
    const M4 grey = hi == lo;
    const D4 d = hi - lo;
    // Each lane divides once where the scalar code takes one of two or
    // three branches: the operands are chosen first.
    const D4 s0 = d / (l0 > 0.5 ? 2 - hi - lo : hi + lo);
    const M4 maxR = hi == r, maxG = hi == g;
    const D4 above = maxR ? g - b : (maxG ? b - r : r - g);
    const D4 sector = maxR ? (g < b ? splat(6) : splat(0)) : (maxG ? splat(2) : splat(4));
    const D4 h0 = above / d + sector;
    D4 h = grey ? splat(0) : h0 / 6;
    const D4 s1 = grey ? splat(0) : s0;

    // The change.
    h = h + c.turn;
    h = h < 0 ? h + 1 : (h >= 1 ? h - 1 : h);
    const D4 s = c.saturation >= 0 ? s1 + (1.0 - s1) * c.saturation : s1 * (1 + c.saturation);
    const D4 l = c.luminance >= 0 ? l0 + (1.0 - l0) * c.luminance : l0 * (1 + c.luminance);

    // Back to RGB.
    const D4 q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const D4 p = 2 * l - q;
    const M4 coloured = s > 0;
    const I4 ro = level4(coloured ? hueChannel4(p, q, h + 1.0 / 3) : l);
    const I4 go = level4(coloured ? hueChannel4(p, q, h) : l);
    const I4 bo = level4(coloured ? hueChannel4(p, q, h - 1.0 / 3) : l);
    for (int i = 0; i < 4; ++i)
        out[i] = (in[i] & 0xff000000u) | QRgb(ro[i]) << 16 | QRgb(go[i]) << 8 | QRgb(bo[i]);
}

} // namespace

QRgb changeHsl(QRgb p, const HslChange& c) {
    const double r = qRed(p) / 255.0, g = qGreen(p) / 255.0, b = qBlue(p) / 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    double l = (hi + lo) / 2, s = 0, h = 0;
    if (hi != lo) {
        const double d = hi - lo;
        s = l > 0.5 ? d / (2 - hi - lo) : d / (hi + lo);
        if (hi == r)
            h = (g - b) / d + (g < b ? 6 : 0);
        else if (hi == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h = h / 6;
    }
    h = h + c.turn;
    if (h < 0)
        h += 1;
    else if (h >= 1)
        h -= 1;
    s = towards(s, c.saturation, 1.0);
    l = towards(l, c.luminance, 1.0);
    double ro = l, go = l, bo = l;
    if (s > 0) {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const double pp = 2 * l - q;
        ro = hueChannel(pp, q, h + 1.0 / 3);
        go = hueChannel(pp, q, h);
        bo = hueChannel(pp, q, h - 1.0 / 3);
    }
    return (p & 0xff000000u) | level(ro) << 16 | level(go) << 8 | level(bo);
}

__attribute__((target_clones("avx2", "default"))) void
changeHslRow(const QRgb* in, QRgb* out, int n, const HslChange& change) {
    int x = 0;
    for (; x + 4 <= n; x += 4)
        changeFour(in + x, out + x, change);
    if (x < n) {
        QRgb tail[4] = {}, done[4];
        std::memcpy(tail, in + x, std::size_t(n - x) * sizeof(QRgb));
        changeFour(tail, done, change);
        std::memcpy(out + x, done, std::size_t(n - x) * sizeof(QRgb));
    }
}

} // namespace dovi::imaging::ops::detail
