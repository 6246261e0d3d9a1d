#include "imaging/ops/Filters.h"

#include "imaging/ops/Blur.h"
#include "imaging/ops/PixelSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace dovi::imaging::ops {

namespace {

using detail::row;

// Rows y-1, y, y+1 with the picture's edges repeated.
struct Neighbours {
    const QRgb *above, *here, *below;
};

Neighbours neighbours(const QImage& img, int y) {
    const int last = img.height() - 1;
    return {row(img, std::max(0, y - 1)), row(img, y), row(img, std::min(last, y + 1))};
}

inline int luma(QRgb p) {
    return (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p) + 128) >> 8;
}

// Applies f(a, b) per byte of two pixels.
template <typename F> inline QRgb perByte(QRgb a, QRgb b, F f) {
    QRgb out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= QRgb(f((a >> shift) & 0xffu, (b >> shift) & 0xffu)) << shift;
    return out;
}

inline QRgb maxBytes(QRgb a, QRgb b) {
    return perByte(a, b, [](QRgb x, QRgb y) { return std::max(x, y); });
}
inline QRgb minBytes(QRgb a, QRgb b) {
    return perByte(a, b, [](QRgb x, QRgb y) { return std::min(x, y); });
}
inline QRgb medianBytes(QRgb a, QRgb b, QRgb c) {
    return maxBytes(minBytes(a, b), minBytes(maxBytes(a, b), c));
}

inline QRgb withAlphaOf(QRgb colour, QRgb alphaFrom) {
    return (colour & 0x00ffffffu) | (alphaFrom & 0xff000000u);
}

// out = (v * keep + u * take) / 2^shift, rounded, per colour channel, v from
// src and u from other; alpha from src.
QImage mixWith(const QImage& src, const QImage& other, int keep, int take, int shift) {
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int round = 1 << (shift - 1);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = row(src, y);
        const QRgb* o = row(other, y);
        QRgb* out = row(dst, y);
        for (int x = 0, w = src.width(); x < w; ++x) {
            auto mix = [&](int v, int u) {
                return detail::clampByte((v * keep + u * take + round) >> shift);
            };
            out[x] = qRgba(mix(qRed(in[x]), qRed(o[x])), mix(qGreen(in[x]), qGreen(o[x])),
                           mix(qBlue(in[x]), qBlue(o[x])), qAlpha(in[x]));
        }
    }
    return dst;
}

} // namespace

QImage emboss(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const Neighbours n = neighbours(src, y);
        QRgb* out = row(dst, y);
        for (int x = 0; x < w; ++x) {
            const int l = std::max(0, x - 1), r = std::min(w - 1, x + 1);
            const int sum = luma(n.below[x]) + luma(n.below[r]) + luma(n.here[r]) -
                            luma(n.above[l]) - luma(n.above[x]) - luma(n.here[l]);
            const int v = detail::clampByte(128 + sum);
            out[x] = qRgba(v, v, v, qAlpha(n.here[x]));
        }
    }
    return dst;
}

QImage median(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    // Each column of three is sorted once (low, middle, high); the median of
    // the nine is then the median of: the highest low, the middle middle and
    // the lowest high of the three columns.
    const int w = src.width();
    std::vector<QRgb> lo(std::size_t(w) + 2), mid(lo.size()), hi(lo.size());
    for (int y = 0; y < src.height(); ++y) {
        const Neighbours n = neighbours(src, y);
        for (int x = 0; x < w; ++x) {
            const QRgb a = n.above[x], b = n.here[x], c = n.below[x];
            lo[std::size_t(x) + 1] = minBytes(minBytes(a, b), c);
            hi[std::size_t(x) + 1] = maxBytes(maxBytes(a, b), c);
            mid[std::size_t(x) + 1] = medianBytes(a, b, c);
        }
        for (auto* v : {&lo, &mid, &hi}) {
            (*v)[0] = (*v)[1];
            (*v)[std::size_t(w) + 1] = (*v)[std::size_t(w)];
        }
        QRgb* out = row(dst, y);
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(x);
            const QRgb highestLow = maxBytes(maxBytes(lo[i], lo[i + 1]), lo[i + 2]);
            const QRgb lowestHigh = minBytes(minBytes(hi[i], hi[i + 1]), hi[i + 2]);
            const QRgb middle = medianBytes(mid[i], mid[i + 1], mid[i + 2]);
            out[x] = withAlphaOf(medianBytes(highestLow, middle, lowestHigh), n.here[x]);
        }
    }
    return dst;
}

QImage dilate(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int w = src.width();
    std::vector<QRgb> column(static_cast<std::size_t>(w));
    for (int y = 0; y < src.height(); ++y) {
        const Neighbours n = neighbours(src, y);
        for (int x = 0; x < w; ++x)
            column[std::size_t(x)] = maxBytes(maxBytes(n.above[x], n.here[x]), n.below[x]);
        QRgb* out = row(dst, y);
        for (int x = 0; x < w; ++x) {
            const QRgb m = maxBytes(
                column[std::size_t(std::max(0, x - 1))],
                maxBytes(column[std::size_t(x)], column[std::size_t(std::min(w - 1, x + 1))]));
            out[x] = withAlphaOf(m, n.here[x]);
        }
    }
    return dst;
}

QImage sharpen(const QImage& src, int amount) {
    if (!detail::usable(src))
        return {};
    const QImage blurred = detail::gaussianBlur(src, 1.0);
    if (blurred.isNull())
        return {};
    const int a = std::clamp(amount, 1, 10);
    // v + a/4 (v - b) = (v (4 + a) - b a) / 4
    return mixWith(src, blurred, 4 + a, -a, 2);
}

QImage soften(const QImage& src, int amount) {
    if (!detail::usable(src))
        return {};
    return detail::gaussianBlur(src, 0.4 * std::clamp(amount, 1, 10));
}

QImage blend(const QImage& src, int amount) {
    if (!detail::usable(src))
        return {};
    const int a = std::clamp(amount, 0, 100);
    if (a == 0)
        return src.copy();
    const double sigma = std::clamp(std::min(src.width(), src.height()) / 200.0, 2.0, 8.0);
    const QImage blurred = detail::gaussianBlur(src, sigma);
    if (blurred.isNull())
        return {};
    // Percent in 1/1024ths: out = v + (b - v) * a / 100.
    const int take = (a * 1024 + 50) / 100;
    return mixWith(src, blurred, 1024 - take, take, 10);
}

} // namespace dovi::imaging::ops
