#include "imaging/ops/Rotate.h"

#include "imaging/codecs/CodecTypes.h"
#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Sampling.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dovi::imaging::ops {

namespace {

using detail::row;

// Quarter turns go tile by tile, so reads and writes both stay in cache.
constexpr int kTile = 32;

// quarter 1: clockwise 90, 3: clockwise 270.
QImage quarterTurn(const QImage& src, int quarter) {
    const int w = src.width(), h = src.height();
    QImage dst = allocateImage(h, w, src.format());
    if (dst.isNull())
        return {};
    auto* out = reinterpret_cast<QRgb*>(dst.bits());
    const qsizetype stride = dst.bytesPerLine() / 4;
    // Bands of source tile rows: each fills its own output columns.
    const int tileRows = (h + kTile - 1) / kTile;
    detail::forEachBand(tileRows, qint64(w) * kTile, [&](int first, int end) {
        for (int ty = first * kTile; ty < std::min(h, end * kTile); ty += kTile) {
            for (int tx = 0; tx < w; tx += kTile) {
                for (int y = ty, ye = std::min(h, ty + kTile); y < ye; ++y) {
                    const QRgb* in = row(src, y);
                    for (int x = tx, xe = std::min(w, tx + kTile); x < xe; ++x) {
                        if (quarter == 1)
                            out[qsizetype(x) * stride + (h - 1 - y)] = in[x];
                        else
                            out[qsizetype(w - 1 - x) * stride + y] = in[x];
                    }
                }
            }
        }
    });
    return dst;
}

QImage halfTurn(const QImage& src) {
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};
    const int w = src.width(), h = src.height();
    detail::forEachBand(h, w, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* __restrict in = row(src, y);
            QRgb* __restrict out = row(dst, h - 1 - y);
            for (int x = 0; x < w; ++x)
                out[x] = in[w - 1 - x];
        }
    });
    return dst;
}

} // namespace

QImage rotate(const QImage& src, double degrees, QRgb background) {
    if (!detail::usable(src) || !std::isfinite(degrees))
        return {};
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0)
        turn += 360.0;
    const double quarters = std::round(turn / 90.0);
    if (std::abs(turn - quarters * 90.0) < 1e-9) {
        switch (int(quarters) % 4) {
        case 0:
            return detail::duplicate(src);
        case 1:
            return quarterTurn(src, 1);
        case 2:
            return halfTurn(src);
        default:
            return quarterTurn(src, 3);
        }
    }

    const double rad = turn * std::numbers::pi / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    const int w = src.width(), h = src.height();
    const double boundW = w * std::abs(c) + h * std::abs(s);
    const double boundH = w * std::abs(s) + h * std::abs(c);
    const double outW = std::ceil(boundW - 0.01), outH = std::ceil(boundH - 0.01);
    if (outW > kMaxSide || outH > kMaxSide || !dimensionsAllowed(qint64(outW), qint64(outH)))
        return {};
    QImage dst = allocateImage(int(outW), int(outH), src.format());
    if (dst.isNull())
        return {};

    // Each output pixel centre, taken relative to the output centre, is turned
    // back by the angle onto the source (y points down, so this matrix turns
    // clockwise on screen).
    const detail::BilinearSampler sampler(src, background);
    const double cx = outW / 2.0, cy = outH / 2.0;
    const double sx0 = w / 2.0 - 0.5, sy0 = h / 2.0 - 0.5;
    const int dw = dst.width();
    const auto rows = [&]<bool Alpha>(int first, int end) {
        for (int y = first; y < end; ++y) {
            QRgb* out = row(dst, y);
            const double dy = y + 0.5 - cy;
            double dx = 0.5 - cx;
            for (int x = 0; x < dw; ++x, dx += 1.0)
                out[x] = sampler.sample<Alpha>(sx0 + c * dx + s * dy, sy0 - s * dx + c * dy);
        }
    };
    detail::forEachBand(dst.height(), dw, [&](int first, int end) {
        if (sampler.alpha())
            rows.operator()<true>(first, end);
        else
            rows.operator()<false>(first, end);
    });
    return dst;
}

} // namespace dovi::imaging::ops
