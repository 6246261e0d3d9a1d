#include "imaging/codecs/jpeg/JpegQuality.h"

#include <algorithm>
#include <cmath>

namespace dovi::imaging::jpeg::quality {

// The mapping. A factor f (1..255) multiplies the example tables of the JPEG
// standard (Annex K) by
//
//     m(f) = 0.1 * 2^((f - 1) / 32)
//
// and each entry is rounded and clamped to 1..255 (baseline). So factor 1
// gives tables a tenth of the examples (what the common "quality 95" setting
// gives): fine, yet files stay a sensible size and encoding stays fast, which
// matters because 1/1 is the default and batch conversions use it. Every 32
// steps double the quantisation step: 33 is "quality 90", 65 "80", 97 "60",
// 129 "31", 161 "16", 255 about "2". Entries only grow with f, so the file
// shrinks (or, once entries reach 255, stays) as a factor grows. Luminance and
// chrominance have their own factor and table.
namespace {

constexpr QuantTable kLuminance = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                   58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                   22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                   77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                   103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};

constexpr QuantTable kChrominance = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// "Quality 90" and finer keep full-resolution chroma, as careful encoders do:
// at that level halving the chroma planes is the largest loss in the file.
constexpr int kFullChromaUpTo = 33;

double multiplier(int factor) {
    const int f = std::clamp(factor, 1, 255);
    return 0.1 * std::exp2((f - 1) / 32.0);
}

QuantTable scaled(const QuantTable& base, int factor) {
    const double m = multiplier(factor);
    QuantTable out{};
    for (std::size_t i = 0; i < base.size(); ++i)
        out[i] = static_cast<unsigned int>(std::clamp(std::lround(base[i] * m), 1L, 255L));
    return out;
}

} // namespace

QuantTable luminanceTable(int factor) {
    return scaled(kLuminance, factor);
}

QuantTable chrominanceTable(int factor) {
    return scaled(kChrominance, factor);
}

bool fullResolutionChroma(int chrominanceFactor) {
    return chrominanceFactor <= kFullChromaUpTo;
}

} // namespace dovi::imaging::jpeg::quality
