#include "imaging/ops/Blur.h"

#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Separable.h"

#include <vector>

namespace dovi::imaging::ops::detail {

QImage gaussianBlur(const QImage& src, double sigma) {
    QImage dst = sameShape(src);
    if (dst.isNull())
        return {};
    const bool alpha = hasAlpha(src);
    std::vector<QRgb> scratch(alpha ? std::size_t(src.width()) : 0);
    const RowSource rows = [&](int y) -> const std::uint8_t* {
        const QRgb* in = row(src, y);
        if (!alpha)
            return reinterpret_cast<const std::uint8_t*>(in);
        for (int x = 0; x < src.width(); ++x)
            scratch[std::size_t(x)] = premultiply(in[x]);
        return reinterpret_cast<const std::uint8_t*>(scratch.data());
    };
    const Kernel kernel = gaussian(sigma);
    filterSeparable(rows, src.height(), makeTaps(src.width(), src.width(), kernel),
                    makeTaps(src.height(), src.height(), kernel), dst.bits(), dst.bytesPerLine());
    if (alpha) {
        for (int y = 0; y < src.height(); ++y) {
            const QRgb* in = row(src, y);
            QRgb* out = row(dst, y);
            for (int x = 0; x < src.width(); ++x)
                out[x] = (unpremultiply(out[x]) & 0x00ffffffu) | (in[x] & 0xff000000u);
        }
    }
    return dst;
}

} // namespace dovi::imaging::ops::detail
