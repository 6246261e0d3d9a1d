#include "imaging/ops/HslRows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// The vector helpers below are always inlined, so how a vector argument
// would be passed without AVX never matters.
#pragma GCC diagnostic ignored "-Wpsabi"

// The scalar and the vector code run the same IEEE operations in the same
// order on each pixel, so they agree to the bit: only branches became
// selections. A multiply and an add must stay two roundings: AVX-512 brings
// fused multiply-add, which the compiler would otherwise contract them into.
#pragma GCC optimize("fp-contract=off")
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

// N lanes through GCC's vector extensions: plain operators on each lane,
// `mask ? a : b` selecting lane by lane.
// (GCC takes vector sizes only from constants, hence one set per width.)
template <int N> struct Types;
template <> struct Types<4> {
    typedef double D __attribute__((vector_size(32)));
    typedef std::int64_t M __attribute__((vector_size(32)));
    typedef std::int32_t I __attribute__((vector_size(16)));
    typedef std::uint32_t U __attribute__((vector_size(16)));
};
template <> struct Types<8> {
    typedef double D __attribute__((vector_size(64)));
    typedef std::int64_t M __attribute__((vector_size(64)));
    typedef std::int32_t I __attribute__((vector_size(32)));
    typedef std::uint32_t U __attribute__((vector_size(32)));
};

template <int N> struct Lanes {
    using D = typename Types<N>::D;
    using M = typename Types<N>::M;
    using I = typename Types<N>::I;
    using U = typename Types<N>::U;

    [[gnu::always_inline]] static D splat(double v) { return D{} + v; }

    [[gnu::always_inline]] static D unit(U v) { return __builtin_convertvector(v, D) / 255.0; }

    [[gnu::always_inline]] static D hueChannel(D p, D q, D t) {
        t = t < 0 ? t + 1 : t;
        t = t > 1 ? t - 1 : t;
        const D rising = p + (q - p) * 6 * t;
        const D falling = p + (q - p) * (2.0 / 3 - t) * 6;
        return t < 1.0 / 6 ? rising : (t < 0.5 ? q : (t < 2.0 / 3 ? falling : p));
    }

    [[gnu::always_inline]] static U level(D v) {
        v = v * 255;
        const I whole = __builtin_convertvector(v, I);
        const D fraction = v - __builtin_convertvector(whole, D);
        // True lanes are -1: subtracting the first mask adds one.
        I r = whole - __builtin_convertvector(fraction >= 0.5, I) +
              __builtin_convertvector(fraction <= -0.5, I);
        const I zero = {}, top = zero + 255;
        r = r < zero ? zero : r;
        return __builtin_convertvector(r > top ? top : r, U);
    }

    [[gnu::always_inline]] static void change(const QRgb* in, QRgb* out, const HslChange& c) {
        U px;
        std::memcpy(&px, in, sizeof px);
        // v / 255 divided lane by lane is the scalar code's qRed(p) / 255.0.
        const D r = unit((px >> 16) & 0xff), g = unit((px >> 8) & 0xff), b = unit(px & 0xff);

        // To HSL (hue in [0, 1)); std::max and std::min keep the first of equals.
        D hi = r < g ? g : r;
        hi = hi < b ? b : hi;
        D lo = g < r ? g : r;
        lo = b < lo ? b : lo;
        const D l0 = (hi + lo) / 2;
        const M grey = hi == lo;
        const D d = hi - lo;
        // Each lane divides once where the scalar code takes one of two or
        // three branches: the operands are chosen first.
        const D s0 = d / (l0 > 0.5 ? 2 - hi - lo : hi + lo);
        const M maxR = hi == r, maxG = hi == g;
        const D above = maxR ? g - b : (maxG ? b - r : r - g);
        const D sector = maxR ? (g < b ? splat(6) : splat(0)) : (maxG ? splat(2) : splat(4));
        const D h0 = above / d + sector;
        D h = grey ? splat(0) : h0 / 6;
        const D s1 = grey ? splat(0) : s0;

        // The change.
        h = h + c.turn;
        h = h < 0 ? h + 1 : (h >= 1 ? h - 1 : h);
        const D s = c.saturation >= 0 ? s1 + (1.0 - s1) * c.saturation : s1 * (1 + c.saturation);
        const D l = c.luminance >= 0 ? l0 + (1.0 - l0) * c.luminance : l0 * (1 + c.luminance);

        // Back to RGB.
        const D q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const D p = 2 * l - q;
        const M coloured = s > 0;
        const U ro = level(coloured ? hueChannel(p, q, h + 1.0 / 3) : l);
        const U go = level(coloured ? hueChannel(p, q, h) : l);
        const U bo = level(coloured ? hueChannel(p, q, h - 1.0 / 3) : l);
        const U result = (px & 0xff000000u) | ro << 16 | go << 8 | bo;
        std::memcpy(out, &result, sizeof result);
    }

    [[gnu::always_inline]] static void row(const QRgb* in, QRgb* out, int n,
                                           const HslChange& change) {
        int x = 0;
        for (; x + N <= n; x += N)
            Lanes::change(in + x, out + x, change);
        if (x < n) {
            QRgb tail[N] = {}, done[N];
            std::memcpy(tail, in + x, std::size_t(n - x) * sizeof(QRgb));
            Lanes::change(tail, done, change);
            std::memcpy(out + x, done, std::size_t(n - x) * sizeof(QRgb));
        }
    }
};

void rowPlain(const QRgb* in, QRgb* out, int n, const HslChange& change) {
    Lanes<4>::row(in, out, n, change);
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void rowAvx2(const QRgb* in, QRgb* out, int n,
                                             const HslChange& change) {
    Lanes<4>::row(in, out, n, change);
}

__attribute__((target("avx512f,avx512dq,avx512vl"))) void
rowAvx512(const QRgb* in, QRgb* out, int n, const HslChange& change) {
    Lanes<8>::row(in, out, n, change);
}
#endif

using RowFunction = void (*)(const QRgb*, QRgb*, int, const HslChange&);

RowFunction rowFor(HslLoop loop) {
    if (loop == HslLoop::Best)
        loop = hslLoopAvailable(HslLoop::Avx512)
                   ? HslLoop::Avx512
                   : (hslLoopAvailable(HslLoop::Avx2) ? HslLoop::Avx2 : HslLoop::Plain);
#if defined(__x86_64__)
    if (loop == HslLoop::Avx512 && hslLoopAvailable(loop))
        return rowAvx512;
    if (loop == HslLoop::Avx2 && hslLoopAvailable(loop))
        return rowAvx2;
#endif
    return rowPlain;
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

bool hslLoopAvailable(HslLoop loop) {
    switch (loop) {
    case HslLoop::Best:
    case HslLoop::Plain:
        return true;
#if defined(__x86_64__)
    case HslLoop::Avx2:
        return __builtin_cpu_supports("avx2");
    case HslLoop::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("avx512vl");
#else
    default:
        return false;
#endif
    }
    return false;
}

void changeHslRow(const QRgb* in, QRgb* out, int n, const HslChange& change, HslLoop loop) {
    static const RowFunction best = rowFor(HslLoop::Best);
    (loop == HslLoop::Best ? best : rowFor(loop))(in, out, n, change);
}

} // namespace dovi::imaging::ops::detail
