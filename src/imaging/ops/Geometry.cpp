#include "imaging/ops/Geometry.h"

#include "imaging/ops/PixelSupport.h"

#include <algorithm>
#include <cstring>

namespace dovi::imaging::ops {

using detail::row;

QImage flip(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const std::size_t bytes = std::size_t(src.width()) * 4;
    const int h = src.height();
    detail::forEachBand(h, src.width(), [&](int first, int end) {
        for (int y = first; y < end; ++y)
            std::memcpy(row(dst, h - 1 - y), row(src, y), bytes);
    });
    return dst;
}

QImage mirror(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int w = src.width();
    detail::forEachBand(src.height(), w, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* __restrict in = row(src, y);
            QRgb* __restrict out = row(dst, y);
            for (int x = 0; x < w; ++x)
                out[x] = in[w - 1 - x];
        }
    });
    return dst;
}

QImage crop(const QImage& src, int left, int top, int width, int height) {
    if (!detail::usable(src) || width <= 0 || height <= 0)
        return {};
    // 64-bit edges: left + width may pass INT_MAX.
    const qint64 x0 = std::max<qint64>(left, 0);
    const qint64 y0 = std::max<qint64>(top, 0);
    const qint64 x1 = std::min<qint64>(qint64(left) + width, src.width());
    const qint64 y1 = std::min<qint64>(qint64(top) + height, src.height());
    if (x1 <= x0 || y1 <= y0)
        return {};
    QImage dst = allocateImage(int(x1 - x0), int(y1 - y0), src.format());
    if (dst.isNull())
        return {};
    const std::size_t bytes = std::size_t(x1 - x0) * 4;
    detail::forEachBand(dst.height(), dst.width(), [&](int first, int end) {
        for (int y = first; y < end; ++y)
            std::memcpy(row(dst, y), row(src, int(y0) + y) + x0, bytes);
    });
    return dst;
}

} // namespace dovi::imaging::ops
