#pragma once
#include "imaging/LargeBuffers.h"
#include "imaging/ops/Parallel.h"

#include <QImage>
#include <cstdint>
#include <cstring>

// Small helpers shared by the pixel operations. Not part of the operations'
// interface: callers use the functions of the family headers.
namespace dovi::imaging::ops::detail {

// Every operation takes the two layouts pictures come in and nothing else;
// anything else (or a null picture) gives a null result.
inline bool usable(const QImage& img) {
    return !img.isNull() &&
           (img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32);
}

inline bool hasAlpha(const QImage& img) {
    return img.format() == QImage::Format_ARGB32;
}

inline std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline QRgb* row(QImage& img, int y) {
    return reinterpret_cast<QRgb*>(img.scanLine(y));
}
inline const QRgb* row(const QImage& img, int y) {
    return reinterpret_cast<const QRgb*>(img.constScanLine(y));
}

// Premultiplied and straight alpha, rounded to the nearest level. Filters that
// mix neighbouring pixels of an ARGB32 picture work premultiplied, so a fully
// transparent pixel's hidden colour cannot bleed into its visible neighbours.
inline QRgb premultiply(QRgb p) {
    const unsigned a = qAlpha(p);
    if (a == 255)
        return p;
    auto mul = [a](unsigned c) { return (c * a + 127) / 255; };
    return qRgba(int(mul(qRed(p))), int(mul(qGreen(p))), int(mul(qBlue(p))), int(a));
}

// Colour levels above alpha (filter overshoot) are clamped first.
inline QRgb unpremultiply(QRgb p) {
    const unsigned a = qAlpha(p);
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto div = [a](unsigned c) { return ((c > a ? a : c) * 255 + a / 2) / a; };
    return qRgba(int(div(qRed(p))), int(div(qGreen(p))), int(div(qBlue(p))), int(a));
}

// A picture of the same size and format as src whose pixels are not yet set.
// Large ones get huge pages: on a fresh heap buffer the page faults cost more
// than a simple operation itself.
inline QImage sameShape(const QImage& src) {
    return allocateImage(src.width(), src.height(), src.format());
}

// A copy of src in such a picture, the rows copied on all cores; null when
// memory is short.
inline QImage duplicate(const QImage& src) {
    QImage dst = sameShape(src);
    if (dst.isNull())
        return {};
    const std::size_t bytes = std::size_t(src.width()) * 4;
    forEachBand(src.height(), src.width(), [&](int first, int end) {
        for (int y = first; y < end; ++y)
            std::memcpy(row(dst, y), row(src, y), bytes);
    });
    return dst;
}

} // namespace dovi::imaging::ops::detail
