#include "imaging/ops/ColourCount.h"

#include "imaging/ops/PixelSupport.h"

#include <bit>
#include <cstdint>
#include <memory>

namespace dovi::imaging::ops {

namespace {

constexpr std::size_t kWords = (std::size_t(1) << 24) / 64;

inline void mark(std::uint64_t* bits, QRgb pixel) {
    const std::uint32_t c = pixel & 0xffffffu;
    bits[c >> 6] |= std::uint64_t(1) << (c & 63);
}

} // namespace

qint64 uniqueColours(const QImage& src) {
    if (!detail::usable(src))
        return 0;
    // One bit per RGB colour, kept per thread and left cleared after each
    // count, so a count neither allocates nor faults in 2 MiB of fresh pages.
    thread_local const std::unique_ptr<std::uint64_t[]> seen(new std::uint64_t[kWords]());
    std::uint64_t* bits = seen.get();
    const int width = src.width();
    const int quarter = width / 4;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = detail::row(src, y);
        // Neighbouring pixels tend to share a word of the bit set; walking four
        // stretches of the row side by side keeps those read-modify-writes from
        // waiting on each other.
        const QRgb* a = in;
        const QRgb* b = in + quarter;
        const QRgb* c = in + 2 * quarter;
        const QRgb* d = in + 3 * quarter;
        for (int x = 0; x < quarter; ++x) {
            mark(bits, a[x]);
            mark(bits, b[x]);
            mark(bits, c[x]);
            mark(bits, d[x]);
        }
        for (int x = 4 * quarter; x < width; ++x)
            mark(bits, in[x]);
    }
    qint64 count = 0;
    for (std::size_t i = 0; i < kWords; ++i) {
        count += std::popcount(bits[i]);
        bits[i] = 0;
    }
    return count;
}

} // namespace dovi::imaging::ops
