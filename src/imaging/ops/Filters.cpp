#include "imaging/ops/Filters.h"

#include "imaging/ops/Blur.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/PixelSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// u = (v * keep + u * take) / 2^shift, rounded, per colour channel, v from
// `in` and u the blurred row, mixed in place; alpha from `in`.
void mixInto(const QRgb* in, QRgb* blurred, int w, int keep, int take, int shift) {
    const std::uint8_t* v = bytesOf(in);
    std::uint8_t* u = reinterpret_cast<std::uint8_t*>(blurred);
    const int round = 1 << (shift - 1);
    const std::size_t n = std::size_t(w) * 4;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Each v, u pair as two 16-bit halves of a lane, multiplied by the
    // (keep, take) pair and summed by pmaddwd: exact 32-bit sums, then the
    // packs clamp to 0..255 as clampByte does.
    const __m128i zero = _mm_setzero_si128();
    const __m128i weights = _mm_set1_epi32(std::int32_t(std::uint16_t(keep)) |
                                           std::int32_t(std::uint32_t(std::uint16_t(take)) << 16));
    const __m128i rounding = _mm_set1_epi32(round);
    const __m128i count = _mm_cvtsi32_si128(shift);
    const __m128i alpha = _mm_set1_epi32(std::int32_t(0xff000000u));
    const auto sum = [&](__m128i pairs) {
        return _mm_sra_epi32(_mm_add_epi32(_mm_madd_epi16(pairs, weights), rounding), count);
    };
    const auto half = [&](__m128i a, __m128i b) { // 8 bytes widened to 16 bits each
        return _mm_packs_epi32(sum(_mm_unpacklo_epi16(a, b)), sum(_mm_unpackhi_epi16(a, b)));
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
        const __m128i mixed =
            _mm_packus_epi16(half(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                             half(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)));
        const __m128i out = _mm_or_si128(_mm_andnot_si128(alpha, mixed), _mm_and_si128(alpha, a));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(u + i), out);
    }
#endif
    const std::size_t done = i / 4;
    for (; i < n; ++i)
        u[i] = detail::clampByte((v[i] * keep + u[i] * take + round) >> shift);
    restoreAlpha(blurred + done, in + done, w - int(done));
}

// Luma of a row into luma[1 .. w], the end values repeated into luma[0] and
// luma[w + 1].
void lumaRow(const QRgb* in, int w, int* out) {
    for (int x = 0; x < w; ++x)
        out[x + 1] = luma(in[x]);
    out[0] = out[1];
    out[w + 1] = out[w];
}

} // namespace

QImage emboss(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int w = src.width(), last = src.height() - 1;
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        // The luma of each row is worked out once, for the three output rows
        // that read it.
        const std::size_t stride = std::size_t(w) + 2;
        std::vector<int> lumas(stride * 3);
        int* rows[3] = {lumas.data(), lumas.data() + stride, lumas.data() + 2 * stride};
        lumaRow(row(src, std::max(0, first - 1)), w, rows[0]);
        lumaRow(row(src, first), w, rows[1]);
        for (int y = first; y < end; ++y) {
            lumaRow(row(src, std::min(last, y + 1)), w, rows[2]);
            const int* __restrict above = rows[0] + 1;
            const int* __restrict here = rows[1] + 1;
            const int* __restrict below = rows[2] + 1;
            const QRgb* in = row(src, y);
            QRgb* out = row(dst, y);
            for (int x = 0; x < w; ++x) {
                const int sum =
                    below[x] + below[x + 1] + here[x + 1] - above[x - 1] - above[x] - here[x - 1];
                const QRgb v = detail::clampByte(128 + sum);
                out[x] = (in[x] & 0xff000000u) | v << 16 | v << 8 | v;
            }
            std::rotate(rows, rows + 1, rows + 3);
        }
    });
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
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        std::vector<std::uint8_t> lo(bytes + 8), mid(bytes + 8), hi(bytes + 8);
        for (int y = first; y < end; ++y) {
            const Neighbours n = neighbours(src, y);
            sortTriples(bytesOf(n.above), bytesOf(n.here), bytesOf(n.below), lo.data() + 4,
                        mid.data() + 4, hi.data() + 4, bytes);
            for (auto* v : {&lo, &mid, &hi})
                padRow(*v, bytes);
            QRgb* out = row(dst, y);
            medianOfNine(lo.data(), mid.data(), hi.data(), reinterpret_cast<std::uint8_t*>(out),
                         bytes);
            restoreAlpha(out, n.here, w);
        }
    });
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
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        std::vector<std::uint8_t> column(bytes + 8);
        for (int y = first; y < end; ++y) {
            const Neighbours n = neighbours(src, y);
            maxOfThree(bytesOf(n.above), bytesOf(n.here), bytesOf(n.below), column.data() + 4,
                       bytes);
            padRow(column, bytes);
            QRgb* out = row(dst, y);
            maxOfThree(column.data(), column.data() + 4, column.data() + 8,
                       reinterpret_cast<std::uint8_t*>(out), bytes);
            restoreAlpha(out, n.here, w);
        }
    });
    return dst;
}

QImage sharpen(const QImage& src, int amount) {
    if (!detail::usable(src))
        return {};
    const int a = std::clamp(amount, 1, 10);
    const int w = src.width();
    // v + a/4 (v - b) = (v (4 + a) - b a) / 4, each row as soon as it is blurred.
    return detail::gaussianBlur(
        src, 1.0, [&](int y, QRgb* blurred) { mixInto(row(src, y), blurred, w, 4 + a, -a, 2); });
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
        return detail::duplicate(src);
    const double sigma = std::clamp(std::min(src.width(), src.height()) / 200.0, 2.0, 8.0);
    // Percent in 1/1024ths: out = v + (b - v) * a / 100.
    const int take = (a * 1024 + 50) / 100;
    const int w = src.width();
    return detail::gaussianBlur(src, sigma, [&](int y, QRgb* blurred) {
        mixInto(row(src, y), blurred, w, 1024 - take, take, 10);
    });
}

} // namespace dovi::imaging::ops
