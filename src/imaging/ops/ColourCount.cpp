#include "imaging/ops/ColourCount.h"

#include "imaging/ops/PixelSupport.h"

#include <bit>
#include <cstdint>
#include <memory>

namespace dovi::imaging::ops {

qint64 uniqueColours(const QImage& src) {
    if (!detail::usable(src))
        return 0;
    constexpr std::size_t kWords = (std::size_t(1) << 24) / 64;
    const std::unique_ptr<std::uint64_t[]> seen(new std::uint64_t[kWords]());
    std::uint64_t* bits = seen.get();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = detail::row(src, y);
        for (int x = 0, w = src.width(); x < w; ++x) {
            const std::uint32_t c = in[x] & 0xffffffu;
            bits[c >> 6] |= std::uint64_t(1) << (c & 63);
        }
    }
    qint64 count = 0;
    for (std::size_t i = 0; i < kWords; ++i)
        count += std::popcount(bits[i]);
    return count;
}

} // namespace dovi::imaging::ops
