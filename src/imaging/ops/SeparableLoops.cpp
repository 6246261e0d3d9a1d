#include "imaging/ops/SeparableLoops.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace dovi::imaging::ops::detail::loops {

namespace {

constexpr int kHalf = kWeightOne / 2;
constexpr std::size_t kBlock = 16;

inline std::uint8_t toByte(int acc) {
    const int v = acc >> kWeightBits;
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

} // namespace

void horizontalPortable(const std::uint8_t* src, const Taps& h, int from, int to,
                        std::uint8_t* out) {
    for (int i = from; i < to; ++i, out += 4) {
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

void verticalPortable(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                      std::size_t bytes, std::size_t padded, std::uint8_t* out) {
    for (std::size_t b = 0; b < padded; b += kBlock) {
        std::int32_t acc[kBlock];
        for (std::size_t i = 0; i < kBlock; ++i)
            acc[i] = kHalf;
        for (int k = 0; k < taps; ++k) {
            const std::uint8_t* r = rows[k] + b;
            const int wk = w[k];
            for (std::size_t i = 0; i < kBlock; ++i)
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

namespace {

inline std::int32_t pairOf(const std::int16_t* w) {
    std::int32_t pair;
    std::memcpy(&pair, w, 4);
    return pair;
}

inline __m128i weightPair(const std::int16_t* w) {
    return _mm_set1_epi32(pairOf(w));
}

inline __m128i weightAlone(std::int16_t w) {
    return _mm_set1_epi32(std::uint16_t(w));
}

} // namespace

void horizontalSse2(const std::uint8_t* src, const Taps& h, int from, int to, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    for (int i = from; i < to; ++i, out += 4) {
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

// The same as verticalSse2, 32 bytes at a time. The unpacks and packs work
// within each 16-byte half, so every byte comes back to its own place.
__attribute__((target("avx2"))) void verticalAvx2(const std::uint8_t* const* rows,
                                                  const std::int16_t* w, int taps,
                                                  std::size_t bytes, std::size_t padded,
                                                  std::uint8_t* out) {
    constexpr std::size_t kWide = 32;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i half = _mm256_set1_epi32(kHalf);
    for (std::size_t b = 0; b < padded; b += kWide) {
        __m256i a0 = half, a1 = half, a2 = half, a3 = half;
        int k = 0;
        for (; k + 2 <= taps; k += 2) {
            const __m256i r0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + b));
            const __m256i r1 =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + b));
            const __m256i wp = _mm256_set1_epi32(pairOf(w + k));
            const __m256i lo = _mm256_unpacklo_epi8(r0, r1);
            const __m256i hi = _mm256_unpackhi_epi8(r0, r1);
            a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), wp));
            a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), wp));
            a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), wp));
            a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), wp));
        }
        if (k < taps) {
            const __m256i r0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + b));
            const __m256i wp = _mm256_set1_epi32(std::uint16_t(w[k]));
            const __m256i lo = _mm256_unpacklo_epi8(r0, zero);
            const __m256i hi = _mm256_unpackhi_epi8(r0, zero);
            a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi16(lo, zero), wp));
            a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi16(lo, zero), wp));
            a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi16(hi, zero), wp));
            a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi16(hi, zero), wp));
        }
        const __m256i lo16 = _mm256_packs_epi32(_mm256_srai_epi32(a0, kWeightBits),
                                                _mm256_srai_epi32(a1, kWeightBits));
        const __m256i hi16 = _mm256_packs_epi32(_mm256_srai_epi32(a2, kWeightBits),
                                                _mm256_srai_epi32(a3, kWeightBits));
        const __m256i result = _mm256_packus_epi16(lo16, hi16);
        if (b + kWide <= bytes) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + b), result);
        } else if (b < bytes) {
            alignas(32) std::uint8_t tail[kWide];
            _mm256_store_si256(reinterpret_cast<__m256i*>(tail), result);
            std::memcpy(out + b, tail, bytes - b);
        }
    }
}

// And 64 bytes at a time.
__attribute__((target("avx512f,avx512bw"))) void
verticalAvx512(const std::uint8_t* const* rows, const std::int16_t* w, int taps, std::size_t bytes,
               std::size_t padded, std::uint8_t* out) {
    constexpr std::size_t kWide = 64;
    // (The masked shift: GCC 12 warns about the plain one's undefined start.)
    constexpr __mmask16 kAll = 0xffff;
    const __m512i zero = _mm512_setzero_si512();
    const __m512i half = _mm512_set1_epi32(kHalf);
    for (std::size_t b = 0; b < padded; b += kWide) {
        __m512i a0 = half, a1 = half, a2 = half, a3 = half;
        int k = 0;
        for (; k + 2 <= taps; k += 2) {
            const __m512i r0 = _mm512_loadu_si512(reinterpret_cast<const __m512i*>(rows[k] + b));
            const __m512i r1 =
                _mm512_loadu_si512(reinterpret_cast<const __m512i*>(rows[k + 1] + b));
            const __m512i wp = _mm512_set1_epi32(pairOf(w + k));
            const __m512i lo = _mm512_unpacklo_epi8(r0, r1);
            const __m512i hi = _mm512_unpackhi_epi8(r0, r1);
            a0 = _mm512_add_epi32(a0, _mm512_madd_epi16(_mm512_unpacklo_epi8(lo, zero), wp));
            a1 = _mm512_add_epi32(a1, _mm512_madd_epi16(_mm512_unpackhi_epi8(lo, zero), wp));
            a2 = _mm512_add_epi32(a2, _mm512_madd_epi16(_mm512_unpacklo_epi8(hi, zero), wp));
            a3 = _mm512_add_epi32(a3, _mm512_madd_epi16(_mm512_unpackhi_epi8(hi, zero), wp));
        }
        if (k < taps) {
            const __m512i r0 = _mm512_loadu_si512(reinterpret_cast<const __m512i*>(rows[k] + b));
            const __m512i wp = _mm512_set1_epi32(std::uint16_t(w[k]));
            const __m512i lo = _mm512_unpacklo_epi8(r0, zero);
            const __m512i hi = _mm512_unpackhi_epi8(r0, zero);
            a0 = _mm512_add_epi32(a0, _mm512_madd_epi16(_mm512_unpacklo_epi16(lo, zero), wp));
            a1 = _mm512_add_epi32(a1, _mm512_madd_epi16(_mm512_unpackhi_epi16(lo, zero), wp));
            a2 = _mm512_add_epi32(a2, _mm512_madd_epi16(_mm512_unpacklo_epi16(hi, zero), wp));
            a3 = _mm512_add_epi32(a3, _mm512_madd_epi16(_mm512_unpackhi_epi16(hi, zero), wp));
        }
        const __m512i lo16 = _mm512_packs_epi32(_mm512_maskz_srai_epi32(kAll, a0, kWeightBits),
                                                _mm512_maskz_srai_epi32(kAll, a1, kWeightBits));
        const __m512i hi16 = _mm512_packs_epi32(_mm512_maskz_srai_epi32(kAll, a2, kWeightBits),
                                                _mm512_maskz_srai_epi32(kAll, a3, kWeightBits));
        const __m512i result = _mm512_packus_epi16(lo16, hi16);
        if (b + kWide <= bytes) {
            _mm512_storeu_si512(reinterpret_cast<__m512i*>(out + b), result);
        } else if (b < bytes) {
            alignas(64) std::uint8_t tail[kWide];
            _mm512_store_si512(reinterpret_cast<__m512i*>(tail), result);
            std::memcpy(out + b, tail, bytes - b);
        }
    }
}
#endif

} // namespace dovi::imaging::ops::detail::loops
