#include "imaging/ops/Tone.h"

#include "imaging/ops/PixelSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace dovi::imaging::ops {

namespace {

using detail::row;
using Lut = std::array<std::uint8_t, 256>;

template <typename F> Lut makeLut(F f) {
    Lut lut{};
    for (int v = 0; v < 256; ++v)
        lut[std::size_t(v)] = detail::clampByte(int(std::lround(f(double(v)))));
    return lut;
}

QImage applyLuts(const QImage& src, const Lut& r, const Lut& g, const Lut& b) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = row(src, y);
        QRgb* out = row(dst, y);
        for (int x = 0, w = src.width(); x < w; ++x) {
            const QRgb p = in[x];
            out[x] =
                (p & 0xff000000u) | QRgb(r[qRed(p)]) << 16 | QRgb(g[qGreen(p)]) << 8 | b[qBlue(p)];
        }
    }
    return dst;
}

QImage applyLut(const QImage& src, const Lut& lut) {
    return applyLuts(src, lut, lut, lut);
}

// Moves v the fraction t (-1..1) of the way towards `top` or 0.
double towards(double v, double t, double top) {
    return t >= 0 ? v + (top - v) * t : v * (1 + t);
}

struct Hsl {
    double h, s, l; // h in [0, 1)
};

Hsl toHsl(QRgb p) {
    const double r = qRed(p) / 255.0, g = qGreen(p) / 255.0, b = qBlue(p) / 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    const double l = (hi + lo) / 2;
    if (hi == lo)
        return {0, 0, l};
    const double d = hi - lo;
    const double s = l > 0.5 ? d / (2 - hi - lo) : d / (hi + lo);
    double h;
    if (hi == r)
        h = (g - b) / d + (g < b ? 6 : 0);
    else if (hi == g)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    return {h / 6, s, l};
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

QRgb fromHsl(const Hsl& c, QRgb alphaFrom) {
    double r = c.l, g = c.l, b = c.l;
    if (c.s > 0) {
        const double q = c.l < 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
        const double p = 2 * c.l - q;
        r = hueChannel(p, q, c.h + 1.0 / 3);
        g = hueChannel(p, q, c.h);
        b = hueChannel(p, q, c.h - 1.0 / 3);
    }
    auto level = [](double v) { return detail::clampByte(int(std::lround(v * 255))); };
    return (alphaFrom & 0xff000000u) | QRgb(level(r)) << 16 | QRgb(level(g)) << 8 | level(b);
}

} // namespace

QImage negate(const QImage& src) {
    return applyLut(src, makeLut([](double v) { return 255 - v; }));
}

QImage parabolic(const QImage& src, bool concave) {
    return applyLut(src, makeLut([concave](double v) {
                        const double u = 4 * (v - 127.5) * (v - 127.5) / 255;
                        return concave ? 255 - u : u;
                    }));
}

QImage brightness(const QImage& src, int amount) {
    const double t = std::clamp(amount, -100, 100) / 100.0;
    return applyLut(src, makeLut([t](double v) { return towards(v, t, 255); }));
}

QImage contrast(const QImage& src, int amount) {
    amount = std::clamp(amount, -100, 100);
    const double f = amount <= 0 ? (100.0 + amount) / 100.0 : 100.0 / (100.0 - 0.9 * amount);
    return applyLut(src, makeLut([f](double v) { return 127.5 + (v - 127.5) * f; }));
}

QImage autoContrast(const QImage& src) {
    if (!detail::usable(src))
        return {};
    std::array<qint64, 256> histogram{};
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = row(src, y);
        for (int x = 0, w = src.width(); x < w; ++x) {
            ++histogram[std::size_t(qRed(in[x]))];
            ++histogram[std::size_t(qGreen(in[x]))];
            ++histogram[std::size_t(qBlue(in[x]))];
        }
    }
    const qint64 tail = qint64(src.width()) * src.height() * 3 / 200; // 0.5%
    int low = 0, high = 255;
    for (qint64 seen = histogram[0]; seen <= tail && low < 255;)
        seen += histogram[std::size_t(++low)];
    for (qint64 seen = histogram[255]; seen <= tail && high > 0;)
        seen += histogram[std::size_t(--high)];
    if (high - low < 1)
        return src.copy();
    const double scale = 255.0 / (high - low);
    return applyLut(src, makeLut([low, scale](double v) { return (v - low) * scale; }));
}

QImage adjustHSL(const QImage& src, int hue, int saturation, int luminance) {
    if (!detail::usable(src))
        return {};
    const double turn = std::fmod(hue, 360) / 360.0;
    const double ts = std::clamp(saturation, -100, 100) / 100.0;
    const double tl = std::clamp(luminance, -100, 100) / 100.0;
    if (turn == 0 && ts == 0 && tl == 0)
        return src.copy();
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    // Photographs repeat colours along a row; remember the last one.
    QRgb lastIn = 0, lastOut = 0;
    bool haveLast = false;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = row(src, y);
        QRgb* out = row(dst, y);
        for (int x = 0, w = src.width(); x < w; ++x) {
            if (!haveLast || in[x] != lastIn) {
                Hsl c = toHsl(in[x]);
                c.h = c.h + turn;
                c.h -= std::floor(c.h);
                c.s = towards(c.s, ts, 1.0);
                c.l = towards(c.l, tl, 1.0);
                lastIn = in[x];
                lastOut = fromHsl(c, in[x]);
                haveLast = true;
            }
            out[x] = lastOut;
        }
    }
    return dst;
}

QImage adjustRGB(const QImage& src, int red, int green, int blue) {
    auto shift = [](int amount) {
        const double d = std::clamp(amount, -100, 100) * 2.55;
        return makeLut([d](double v) { return v + d; });
    };
    return applyLuts(src, shift(red), shift(green), shift(blue));
}

} // namespace dovi::imaging::ops
