#include "imaging/ops/Geometry.h"

#include "imaging/ops/PixelSupport.h"

#include <QRect>
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
    for (int y = 0, h = src.height(); y < h; ++y)
        std::memcpy(row(dst, h - 1 - y), row(src, y), bytes);
    return dst;
}

QImage mirror(const QImage& src) {
    if (!detail::usable(src))
        return {};
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    for (int y = 0, h = src.height(); y < h; ++y) {
        const QRgb* in = row(src, y);
        std::reverse_copy(in, in + src.width(), row(dst, y));
    }
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
    return src.copy(QRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0)));
}

} // namespace dovi::imaging::ops
