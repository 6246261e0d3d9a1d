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

// The 3x3 rank filters work on bytes, all four channels alike (alpha is put
// back afterwards). Byte loops over __restrict rows in fixed blocks of 16 are
// what the compiler turns into vector min/max at -O2.
constexpr std::size_t kBlock = 16;

inline std::uint8_t min3(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::min(std::min(a, b), c);
}
inline std::uint8_t max3(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::max(std::max(a, b), c);
}
inline std::uint8_t median3(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// Sorts each vertical triple a[i], b[i], c[i] into lo, mid, hi.
void sortTriples(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
                 const std::uint8_t* __restrict c, std::uint8_t* __restrict lo,
                 std::uint8_t* __restrict mid, std::uint8_t* __restrict hi, std::size_t n) {
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (std::size_t j = i; j < i + kBlock; ++j) {
            lo[j] = min3(a[j], b[j], c[j]);
            mid[j] = median3(a[j], b[j], c[j]);
            hi[j] = max3(a[j], b[j], c[j]);
        }
    for (; i < n; ++i) {
        lo[i] = min3(a[i], b[i], c[i]);
        mid[i] = median3(a[i], b[i], c[i]);
        hi[i] = max3(a[i], b[i], c[i]);
    }
}

// From sorted triples of three neighbouring columns (4 bytes apart), the
// median of the nine: median of the highest low, the middle middle and the
// lowest high.
void medianOfNine(const std::uint8_t* __restrict lo, const std::uint8_t* __restrict mid,
                  const std::uint8_t* __restrict hi, std::uint8_t* __restrict out, std::size_t n) {
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (std::size_t j = i; j < i + kBlock; ++j)
            out[j] =
                median3(max3(lo[j], lo[j + 4], lo[j + 8]), median3(mid[j], mid[j + 4], mid[j + 8]),
                        min3(hi[j], hi[j + 4], hi[j + 8]));
    for (; i < n; ++i)
        out[i] = median3(max3(lo[i], lo[i + 4], lo[i + 8]), median3(mid[i], mid[i + 4], mid[i + 8]),
                         min3(hi[i], hi[i + 4], hi[i + 8]));
}

void maxOfThree(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
                const std::uint8_t* __restrict c, std::uint8_t* __restrict out, std::size_t n) {
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (std::size_t j = i; j < i + kBlock; ++j)
            out[j] = max3(a[j], b[j], c[j]);
    for (; i < n; ++i)
        out[i] = max3(a[i], b[i], c[i]);
}

// `padded` holds a row of `bytes` bytes from offset 4: repeats its first and
// last pixel into the 4 bytes on either side.
void padRow(std::vector<std::uint8_t>& padded, std::size_t bytes) {
    std::copy_n(padded.begin() + 4, 4, padded.begin());
    std::copy_n(padded.begin() + std::ptrdiff_t(bytes), 4,
                padded.begin() + std::ptrdiff_t(bytes) + 4);
}

void restoreAlpha(QRgb* out, const QRgb* alphaFrom, int w) {
    for (int x = 0; x < w; ++x)
        out[x] = (out[x] & 0x00ffffffu) | (alphaFrom[x] & 0xff000000u);
}

const std::uint8_t* bytesOf(const QRgb* p) {
    return reinterpret_cast<const std::uint8_t*>(p);
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
    const int w = src.width();
    const std::size_t bytes = std::size_t(w) * 4;
    std::vector<std::uint8_t> lo(bytes + 8), mid(bytes + 8), hi(bytes + 8);
    for (int y = 0; y < src.height(); ++y) {
        const Neighbours n = neighbours(src, y);
        sortTriples(bytesOf(n.above), bytesOf(n.here), bytesOf(n.below), lo.data() + 4,
                    mid.data() + 4, hi.data() + 4, bytes);
        for (auto* v : {&lo, &mid, &hi})
            padRow(*v, bytes);
        QRgb* out = row(dst, y);
        medianOfNine(lo.data(), mid.data(), hi.data(), reinterpret_cast<std::uint8_t*>(out), bytes);
        restoreAlpha(out, n.here, w);
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
    const std::size_t bytes = std::size_t(w) * 4;
    std::vector<std::uint8_t> column(bytes + 8);
    for (int y = 0; y < src.height(); ++y) {
        const Neighbours n = neighbours(src, y);
        maxOfThree(bytesOf(n.above), bytesOf(n.here), bytesOf(n.below), column.data() + 4, bytes);
        padRow(column, bytes);
        QRgb* out = row(dst, y);
        maxOfThree(column.data(), column.data() + 4, column.data() + 8,
                   reinterpret_cast<std::uint8_t*>(out), bytes);
        restoreAlpha(out, n.here, w);
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
