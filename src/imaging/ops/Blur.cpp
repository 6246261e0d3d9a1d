#include "imaging/ops/Blur.h"

#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Separable.h"

#include <memory>
#include <vector>

namespace dovi::imaging::ops::detail {

QImage gaussianBlur(const QImage& src, double sigma, const BlurredRow& finish) {
    QImage dst = sameShape(src);
    if (dst.isNull())
        return {};
    const bool alpha = hasAlpha(src);
    const int w = src.width();
    const auto makeSource = [&]() -> RowSource {
        if (!alpha)
            return [&src](int y) { return reinterpret_cast<const std::uint8_t*>(row(src, y)); };
        // Premultiplied copies of the rows, one scratch row per band.
        auto scratch = std::make_shared<std::vector<QRgb>>(std::size_t(w));
        return [&src, scratch, w](int y) {
            const QRgb* in = row(src, y);
            for (int x = 0; x < w; ++x)
                (*scratch)[std::size_t(x)] = premultiply(in[x]);
            return reinterpret_cast<const std::uint8_t*>(scratch->data());
        };
    };
    const RowFinish done = [&](int y, std::uint8_t* bytes) {
        QRgb* out = reinterpret_cast<QRgb*>(bytes);
        if (alpha) {
            const QRgb* in = row(src, y);
            for (int x = 0; x < w; ++x)
                out[x] = (unpremultiply(out[x]) & 0x00ffffffu) | (in[x] & 0xff000000u);
        }
        if (finish)
            finish(y, out);
    };
    const Kernel kernel = gaussian(sigma);
    filterSeparable(makeSource, src.height(), makeTaps(w, w, kernel),
                    makeTaps(src.height(), src.height(), kernel), dst.bits(), dst.bytesPerLine(),
                    done);
    return dst;
}

} // namespace dovi::imaging::ops::detail
