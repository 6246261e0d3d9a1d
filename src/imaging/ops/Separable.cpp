#include "imaging/ops/Separable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dovi::imaging::ops::detail {

namespace {

double lanczos3Weight(double x, double) {
    x = std::abs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= 3.0)
        return 0.0;
    const double px = std::numbers::pi * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

double gaussianWeight(double x, double sigma) {
    return std::exp(-x * x / (2.0 * sigma * sigma));
}

constexpr int kHalf = kWeightOne / 2;
// Filtered rows are padded to whole blocks of this many bytes, so the vertical
// pass never needs a tail loop.
constexpr int kBlock = 16;

inline std::uint8_t toByte(int acc) {
    const int v = acc >> kWeightBits;
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void horizontalPortable(const std::uint8_t* src, const Taps& h, std::uint8_t* out) {
    for (int i = 0, n = h.size(); i < n; ++i, out += 4) {
        const std::uint8_t* s = src + std::size_t(h.first[std::size_t(i)]) * 4;
        const std::int16_t* w = h.weights.data() + std::size_t(i) * std::size_t(h.stride);
        int a0 = kHalf, a1 = kHalf, a2 = kHalf, a3 = kHalf;
        for (int k = 0, taps = h.count[std::size_t(i)]; k < taps; ++k, s += 4) {
            const int wk = w[k];
            a0 += s[0] * wk;
            a1 += s[1] * wk;
            a2 += s[2] * wk;
            a3 += s[3] * wk;
        }
        out[0] = toByte(a0);
        out[1] = toByte(a1);
        out[2] = toByte(a2);
        out[3] = toByte(a3);
    }
}

// rows[k] is the k-th filtered source row under the output row; out gets
// `bytes` bytes, rows are readable up to `padded`.
void verticalPortable(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                      std::size_t bytes, std::size_t padded, std::uint8_t* out) {
    for (std::size_t b = 0; b < padded; b += kBlock) {
        std::int32_t acc[kBlock];
        for (int i = 0; i < kBlock; ++i)
            acc[i] = kHalf;
        for (int k = 0; k < taps; ++k) {
            const std::uint8_t* r = rows[k] + b;
            const int wk = w[k];
            for (int i = 0; i < kBlock; ++i)
                acc[i] += r[i] * wk;
        }
        const std::size_t n = std::min<std::size_t>(kBlock, bytes - std::min(bytes, b));
        for (std::size_t i = 0; i < n; ++i)
            out[b + i] = toByte(acc[i]);
    }
}

#if defined(__SSE2__)
// Two taps at a time through pmaddwd: the bytes of two pixels (or two rows)
// are interleaved as 16-bit pairs and multiplied by a (w0, w1) weight pair.

inline __m128i weightPair(const std::int16_t* w) {
    std::int32_t pair;
    std::memcpy(&pair, w, 4);
    return _mm_set1_epi32(pair);
}

inline __m128i weightAlone(std::int16_t w) {
    return _mm_set1_epi32(std::uint16_t(w));
}

void horizontalSse2(const std::uint8_t* src, const Taps& h, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0, n = h.size(); i < n; ++i, out += 4) {
        const std::uint8_t* s = src + std::size_t(h.first[std::size_t(i)]) * 4;
        const std::int16_t* w = h.weights.data() + std::size_t(i) * std::size_t(h.stride);
        const int taps = h.count[std::size_t(i)];
        __m128i acc = _mm_set1_epi32(kHalf);
        int k = 0;
        for (; k + 4 <= taps; k += 4) {
            const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k * 4));
            // Lanes p0 p2 | p1 p3, then bytes interleaved: p0 p1 pairs, p2 p3 pairs.
            const __m128i t = _mm_shuffle_epi32(px, _MM_SHUFFLE(3, 1, 2, 0));
            const __m128i pairs = _mm_unpacklo_epi8(t, _mm_srli_si128(t, 8));
            acc = _mm_add_epi32(acc,
                                _mm_madd_epi16(_mm_unpacklo_epi8(pairs, zero), weightPair(w + k)));
            acc = _mm_add_epi32(
                acc, _mm_madd_epi16(_mm_unpackhi_epi8(pairs, zero), weightPair(w + k + 2)));
        }
        for (; k + 2 <= taps; k += 2) {
            const __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + k * 4));
            const __m128i pairs = _mm_unpacklo_epi8(px, _mm_srli_si128(px, 4));
            acc = _mm_add_epi32(acc,
                                _mm_madd_epi16(_mm_unpacklo_epi8(pairs, zero), weightPair(w + k)));
        }
        if (k < taps) {
            std::int32_t one;
            std::memcpy(&one, s + k * 4, 4);
            const __m128i px =
                _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(one), zero), zero);
            acc = _mm_add_epi32(acc, _mm_madd_epi16(px, weightAlone(w[k])));
        }
        acc = _mm_srai_epi32(acc, kWeightBits);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(acc, acc), zero);
        const std::int32_t result = _mm_cvtsi128_si32(bytes);
        std::memcpy(out, &result, 4);
    }
}

void verticalSse2(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                  std::size_t bytes, std::size_t padded, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(kHalf);
    for (std::size_t b = 0; b < padded; b += kBlock) {
        __m128i a0 = half, a1 = half, a2 = half, a3 = half;
        int k = 0;
        for (; k + 2 <= taps; k += 2) {
            const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + b));
            const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + b));
            const __m128i wp = weightPair(w + k);
            const __m128i lo = _mm_unpacklo_epi8(r0, r1);
            const __m128i hi = _mm_unpackhi_epi8(r0, r1);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wp));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wp));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wp));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wp));
        }
        if (k < taps) {
            const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + b));
            const __m128i wp = weightAlone(w[k]);
            const __m128i lo = _mm_unpacklo_epi8(r0, zero);
            const __m128i hi = _mm_unpackhi_epi8(r0, zero);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi16(lo, zero), wp));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi16(lo, zero), wp));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi16(hi, zero), wp));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi16(hi, zero), wp));
        }
        const __m128i lo16 =
            _mm_packs_epi32(_mm_srai_epi32(a0, kWeightBits), _mm_srai_epi32(a1, kWeightBits));
        const __m128i hi16 =
            _mm_packs_epi32(_mm_srai_epi32(a2, kWeightBits), _mm_srai_epi32(a3, kWeightBits));
        const __m128i result = _mm_packus_epi16(lo16, hi16);
        if (b + kBlock <= bytes) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), result);
        } else if (b < bytes) {
            alignas(16) std::uint8_t tail[kBlock];
            _mm_store_si128(reinterpret_cast<__m128i*>(tail), result);
            std::memcpy(out + b, tail, bytes - b);
        }
    }
}
#endif

} // namespace

Kernel lanczos3() {
    return {lanczos3Weight, 0.0, 3.0};
}

Kernel gaussian(double sigma) {
    sigma = std::max(sigma, 0.05);
    return {gaussianWeight, sigma, std::max(1.0, 3.0 * sigma)};
}

Taps makeTaps(int original, int outSize, const Kernel& kernel, int box) {
    Taps t;
    t.first.resize(std::size_t(outSize));
    t.count.resize(std::size_t(outSize));
    const int sourcePixels = (original + box - 1) / box;
    const double ratio = double(original) / outSize;
    const double scale = std::max(1.0, ratio);
    const double support = kernel.support * scale; // in original pixels
    t.stride = std::max(1, int(std::ceil(2.0 * support / box)) + 2);
    t.weights.assign(std::size_t(outSize) * std::size_t(t.stride), 0);

    std::vector<double> wd(std::size_t(t.stride));
    bool identity = box == 1 && original == outSize;
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * ratio;
        int lo = std::max(0, int(std::floor((centre - support + 0.5) / box)));
        int hi = std::min(sourcePixels, int(std::floor((centre + support + 0.5) / box)) + 1);
        hi = std::min(hi, lo + t.stride);
        double sum = 0.0;
        for (int j = lo; j < hi; ++j) {
            const int begin = j * box, end = std::min(original, begin + box);
            const double mid = (begin + end) / 2.0;
            double& w = wd[std::size_t(j - lo)];
            w = std::abs(mid - centre) < support
                    ? kernel.weight((mid - centre) / scale, kernel.param) * (end - begin)
                    : 0.0;
            sum += w;
        }
        std::int16_t* w = t.weights.data() + std::size_t(i) * std::size_t(t.stride);
        if (hi <= lo || std::abs(sum) < 1e-9) {
            // Nothing usable under the kernel: take the nearest pixel.
            lo = std::clamp(int(centre) / box, 0, sourcePixels - 1);
            t.first[std::size_t(i)] = lo;
            t.count[std::size_t(i)] = 1;
            w[0] = kWeightOne;
            identity = identity && lo == i;
            continue;
        }
        // Round to fixed point, then give the rounding leftover to the largest
        // weight so the weights sum to exactly one.
        int total = 0, biggest = 0;
        for (int j = 0; j < hi - lo; ++j) {
            w[j] = static_cast<std::int16_t>(std::lround(wd[std::size_t(j)] / sum * kWeightOne));
            total += w[j];
            if (w[j] > w[biggest])
                biggest = j;
        }
        w[biggest] = static_cast<std::int16_t>(w[biggest] + (kWeightOne - total));
        // Drop zero weights at both ends.
        int a = 0, b = hi - lo;
        while (a < b - 1 && w[a] == 0)
            ++a;
        while (b - 1 > a && w[b - 1] == 0)
            --b;
        if (a > 0)
            std::memmove(w, w + a, std::size_t(b - a) * sizeof(std::int16_t));
        std::fill(w + (b - a), w + t.stride, std::int16_t(0));
        t.first[std::size_t(i)] = lo + a;
        t.count[std::size_t(i)] = b - a;
        identity = identity && b - a == 1 && lo + a == i;
    }
    t.identity = identity;
    return t;
}

void filterSeparable(const RowSource& source, int sourceHeight, const Taps& h, const Taps& v,
                     std::uint8_t* dst, qsizetype dstStride, Path path) {
    auto horizontal = horizontalPortable;
    auto vertical = verticalPortable;
#if defined(__SSE2__)
    if (path == Path::Fast) {
        horizontal = horizontalSse2;
        vertical = verticalSse2;
    }
#else
    Q_UNUSED(path);
#endif
    const std::size_t bytes = std::size_t(h.size()) * 4;
    const std::size_t padded = (bytes + kBlock - 1) / kBlock * kBlock;

    // Horizontally filtered source rows, kept in a ring: a source row is
    // filtered when the first output row that reads it comes up and stays
    // until a row ringSize further down takes its place.
    const int ringSize = std::max(1, std::min(v.stride, sourceHeight));
    std::vector<std::uint8_t> ring(padded * std::size_t(ringSize), 0);
    std::vector<int> held(std::size_t(ringSize), -1);
    std::vector<const std::uint8_t*> rows(std::size_t(v.stride));

    for (int y = 0, outH = v.size(); y < outH; ++y) {
        const int first = v.first[std::size_t(y)];
        const int taps = v.count[std::size_t(y)];
        for (int k = 0; k < taps; ++k) {
            const int sy = first + k;
            const std::size_t slot = std::size_t(sy % ringSize);
            std::uint8_t* r = ring.data() + slot * padded;
            if (held[slot] != sy) {
                const std::uint8_t* in = source(sy);
                if (h.identity)
                    std::memcpy(r, in, bytes);
                else
                    horizontal(in, h, r);
                held[slot] = sy;
            }
            rows[std::size_t(k)] = r;
        }
        std::uint8_t* out = dst + qsizetype(y) * dstStride;
        if (v.identity)
            std::memcpy(out, rows[0], bytes);
        else
            vertical(rows.data(), v.weights.data() + std::size_t(y) * std::size_t(v.stride), taps,
                     bytes, padded, out);
    }
}

} // namespace dovi::imaging::ops::detail
