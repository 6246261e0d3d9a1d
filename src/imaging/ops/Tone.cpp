#include "imaging/ops/Tone.h"

#include "imaging/ops/HslRows.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/PixelSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

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
    // Each channel's table shifted into place, so a pixel is three loads and ors.
    std::array<QRgb, 256> rs, gs;
    for (std::size_t v = 0; v < 256; ++v) {
        rs[v] = QRgb(r[v]) << 16;
        gs[v] = QRgb(g[v]) << 8;
    }
    const int w = src.width();
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* __restrict in = row(src, y);
            QRgb* __restrict out = row(dst, y);
            for (int x = 0; x < w; ++x) {
                const QRgb p = in[x];
                out[x] =
                    (p & 0xff000000u) | rs[(p >> 16) & 0xff] | gs[(p >> 8) & 0xff] | b[p & 0xff];
            }
        }
    });
    return dst;
}

QImage applyLut(const QImage& src, const Lut& lut) {
    return applyLuts(src, lut, lut, lut);
}

// Moves v the fraction t (-1..1) of the way towards `top` or 0.
double towards(double v, double t, double top) {
    return t >= 0 ? v + (top - v) * t : v * (1 + t);
}

} // namespace

QImage negate(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    // 255 - v is v with its bits flipped: whole vectors of pixels at a time.
    const int w = src.width();
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* __restrict in = row(src, y);
            QRgb* __restrict out = row(dst, y);
            int x = 0;
            for (; x + 8 <= w; x += 8)
                for (int i = x; i < x + 8; ++i)
                    out[i] = in[i] ^ 0x00ffffffu;
            for (; x < w; ++x)
                out[x] = in[x] ^ 0x00ffffffu;
        }
    });
    return dst;
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
    // A histogram per band and per channel (neighbouring counts of one array
    // would wait on each other's stores), added up at the end.
    using Counts = std::array<std::array<std::uint32_t, 256>, 3>;
    std::mutex lock;
    std::array<qint64, 256> histogram{};
    const int w = src.width();
    // Rows counted before 32-bit counts are moved into 64-bit totals.
    const int flushEvery = std::max(1, (1 << 30) / std::max(w, 1));
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        std::array<qint64, 256> total{};
        Counts counts{};
        for (int y = first; y < end; ++y) {
            const QRgb* in = row(src, y);
            for (int x = 0; x < w; ++x) {
                ++counts[0][(in[x] >> 16) & 0xff];
                ++counts[1][(in[x] >> 8) & 0xff];
                ++counts[2][in[x] & 0xff];
            }
            if ((y - first) % flushEvery == flushEvery - 1 || y == end - 1) {
                for (std::size_t v = 0; v < 256; ++v)
                    total[v] += qint64(counts[0][v]) + counts[1][v] + counts[2][v];
                counts = {};
            }
        }
        const std::lock_guard<std::mutex> guard(lock);
        for (std::size_t v = 0; v < 256; ++v)
            histogram[v] += total[v];
    });
    const qint64 tail = qint64(src.width()) * src.height() * 3 / 200; // 0.5%
    int low = 0, high = 255;
    for (qint64 seen = histogram[0]; seen <= tail && low < 255;)
        seen += histogram[std::size_t(++low)];
    for (qint64 seen = histogram[255]; seen <= tail && high > 0;)
        seen += histogram[std::size_t(--high)];
    if (high - low < 1)
        return detail::duplicate(src);
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
        return detail::duplicate(src);
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const detail::HslChange change{turn, ts, tl};
    const int w = src.width();
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            detail::changeHslRow(row(src, y), row(dst, y), w, change);
    });
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
