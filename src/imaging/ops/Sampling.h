#pragma once
#include "imaging/ops/PixelSupport.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace dovi::imaging::ops::detail {

// Bilinear reads at fractional positions, for the operations that map each
// output pixel back onto the source (rotate, perspective). Positions off the
// picture read the background colour, the picture's edges anti-aliased
// against it. ARGB32 pictures are mixed premultiplied; a position right on a pixel
// centre reads that pixel exactly.
class BilinearSampler {
public:
    BilinearSampler(const QImage& src, QRgb background)
        : w_(src.width()), h_(src.height()), alpha_(hasAlpha(src)), bits_(row(src, 0)),
          stride_(src.bytesPerLine() / 4),
          background_(alpha_ ? background : background | 0xff000000u),
          backgroundPremultiplied_(premultiply(background_)) {}

    QRgb background() const { return background_; }

    // (fx, fy) in pixels, (0, 0) being the centre of the top-left pixel. The
    // picture covers -0.5 .. width - 0.5; within a pixel beyond that the edge
    // fades into the background by the distance.
    [[gnu::always_inline]] QRgb at(double fx, double fy) const {
        return alpha_ ? sample<true>(fx, fy) : sample<false>(fx, fy);
    }

    // at() for a picture known to be ARGB32 (Alpha) or RGB32, so a row's
    // loop carries no test of the format.
    template <bool Alpha> [[gnu::always_inline]] QRgb sample(double fx, double fy) const {
        const double outX = std::max(-0.5 - fx, fx - (w_ - 0.5));
        const double outY = std::max(-0.5 - fy, fy - (h_ - 0.5));
        if (!(outX < 1.0 && outY < 1.0))
            return background_; // also NaN
        const double cx = std::clamp(fx, 0.0, w_ - 1.0), cy = std::clamp(fy, 0.0, h_ - 1.0);
        int x0 = int(cx), y0 = int(cy);
        int wx = int((cx - x0) * 256.0 + 0.5), wy = int((cy - y0) * 256.0 + 0.5);
        if (wx == 256) {
            ++x0;
            wx = 0;
        }
        if (wy == 256) {
            ++y0;
            wy = 0;
        }
        // Wholly on the picture: the background takes no part.
        const bool within = outX <= 0 && outY <= 0;
        const int cover =
            within ? 256
                   : int((1.0 - std::max(outX, 0.0)) * (1.0 - std::max(outY, 0.0)) * 256.0 + 0.5);
        if (wx == 0 && wy == 0 && cover == 256)
            return straight<Alpha>(x0, y0);
        const int x1 = std::min(x0 + 1, w_ - 1), y1 = std::min(y0 + 1, h_ - 1);
        const QRgb p00 = pixel<Alpha>(x0, y0), p10 = pixel<Alpha>(x1, y0),
                   p01 = pixel<Alpha>(x0, y1), p11 = pixel<Alpha>(x1, y1);
        const int a00 = (256 - wx) * (256 - wy), a10 = wx * (256 - wy);
        const int a01 = (256 - wx) * wy, a11 = wx * wy;
        const QRgb bg = backgroundPremultiplied_;
        auto mix = [&](int shift) {
            const int v = int((p00 >> shift) & 0xff) * a00 + int((p10 >> shift) & 0xff) * a10 +
                          int((p01 >> shift) & 0xff) * a01 + int((p11 >> shift) & 0xff) * a11;
            const int inside = (v + 32768) >> 16;
            // (inside * 256 + 128) >> 8 is inside itself.
            if (cover == 256)
                return QRgb(inside) << shift;
            return QRgb((inside * cover + int((bg >> shift) & 0xff) * (256 - cover) + 128) >> 8)
                   << shift;
        };
        const QRgb p = mix(0) | mix(8) | mix(16) | mix(24);
        return Alpha ? unpremultiply(p) : (p | 0xff000000u);
    }

    bool alpha() const { return alpha_; }

private:
    template <bool Alpha> QRgb straight(int x, int y) const {
        const QRgb p = bits_[qsizetype(y) * stride_ + x];
        return Alpha ? p : p | 0xff000000u;
    }

    template <bool Alpha> QRgb pixel(int x, int y) const {
        return Alpha ? premultiply(bits_[qsizetype(y) * stride_ + x])
                     : bits_[qsizetype(y) * stride_ + x];
    }

    const int w_, h_;
    const bool alpha_;
    const QRgb* bits_;
    const qsizetype stride_;
    const QRgb background_;
    const QRgb backgroundPremultiplied_;
};

} // namespace dovi::imaging::ops::detail
