#pragma once
#include "imaging/ops/Separable.h"

#include <cstddef>
#include <cstdint>

// The inner loops of the separable filter, in plain C++ and in SIMD for the
// processors that have it; every version gives the same bytes. Internal to
// Separable.cpp (and its tests).
namespace dovi::imaging::ops::detail::loops {

// Filtered rows are padded to whole blocks of this many bytes, so the widest
// vertical loop never needs a tail.
inline constexpr std::size_t kRowBlock = 64;

// Horizontal pass, one output pixel at a time, for outputs [from, to) of h:
// out receives 4 bytes per output, starting with output `from`.
using Horizontal = void (*)(const std::uint8_t* src, const Taps& h, int from, int to,
                            std::uint8_t* out);
// Weighted sum of `taps` rows, byte by byte: out[b] for b < bytes from
// rows[k][b]. Rows are read up to `padded` bytes, a multiple of kRowBlock
// (or `bytes` itself when that is one).
using Vertical = void (*)(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                          std::size_t bytes, std::size_t padded, std::uint8_t* out);

void horizontalPortable(const std::uint8_t* src, const Taps& h, int from, int to,
                        std::uint8_t* out);
void verticalPortable(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                      std::size_t bytes, std::size_t padded, std::uint8_t* out);

#if defined(__SSE2__)
void horizontalSse2(const std::uint8_t* src, const Taps& h, int from, int to, std::uint8_t* out);
void verticalSse2(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                  std::size_t bytes, std::size_t padded, std::uint8_t* out);
void verticalAvx2(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                  std::size_t bytes, std::size_t padded, std::uint8_t* out);
void verticalAvx512(const std::uint8_t* const* rows, const std::int16_t* w, int taps,
                    std::size_t bytes, std::size_t padded, std::uint8_t* out);
#endif

} // namespace dovi::imaging::ops::detail::loops
