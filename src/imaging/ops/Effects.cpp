#include "imaging/ops/Effects.h"

#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Sampling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace dovi::imaging::ops {

using detail::row;

QImage buttonize(const QImage& src, bool raised, int width, int intensity) {
    if (!detail::usable(src))
        return {};
    const int w = src.width(), h = src.height();
    const int band = std::clamp(width, 0, std::min(w, h) / 2);
    const int k = std::clamp(intensity, 0, 100);
    QImage dst = detail::duplicate(src);
    if (dst.isNull() || band == 0 || k == 0)
        return dst;

    std::array<std::uint8_t, 256> light{}, dark{};
    for (int v = 0; v < 256; ++v) {
        light[std::size_t(v)] = std::uint8_t(v + ((255 - v) * k + 50) / 100);
        dark[std::size_t(v)] = std::uint8_t((v * (100 - k) + 50) / 100);
    }
    const auto& topLeft = raised ? light : dark;
    const auto& bottomRight = raised ? dark : light;
    auto shade = [](QRgb p, const std::array<std::uint8_t, 256>& lut) {
        return (p & 0xff000000u) | QRgb(lut[std::size_t(qRed(p))]) << 16 |
               QRgb(lut[std::size_t(qGreen(p))]) << 8 | lut[std::size_t(qBlue(p))];
    };
    for (int y = 0; y < h; ++y) {
        QRgb* line = row(dst, y);
        const int fromTop = y, fromBottom = h - 1 - y;
        const bool rowInBand = fromTop < band || fromBottom < band;
        for (int x = 0; x < w; ++x) {
            const int fromLeft = x, fromRight = w - 1 - x;
            if (!rowInBand && fromLeft >= band && fromRight >= band) {
                x = w - 1 - band; // skip the untouched middle of the row
                continue;
            }
            // The nearest edge decides; ties go to the top or left band.
            const int nearLight = std::min(fromTop, fromLeft);
            const int nearDark = std::min(fromBottom, fromRight);
            line[x] = shade(line[x], nearLight <= nearDark ? topLeft : bottomRight);
        }
    }
    return dst;
}

QImage perspective(const QImage& src, int direction, int amount, QRgb background) {
    if (!detail::usable(src) || direction < 0 || direction > 3)
        return {};
    const int a = std::clamp(amount, 0, 100);
    if (a == 0)
        return detail::duplicate(src);
    QImage dst = detail::sameShape(src);
    if (dst.isNull())
        return {};

    const auto recede = Recede(direction);
    const bool vertical = recede == Recede::TopToBottom || recede == Recede::BottomToTop;
    const bool nearAtStart = recede == Recede::TopToBottom || recede == Recede::LeftToRight;
    const int length = vertical ? src.height() : src.width(); // along the tilt
    const int across = vertical ? src.width() : src.height();

    // The plane's depth grows linearly with its source position; on screen
    // the width at fraction t of the way to the far edge is 1 - (1 - s) t,
    // and that screen row shows source fraction v = s t / (1 - (1 - s) t).
    const double s = 1.0 - a / 200.0;
    std::vector<double> scaleAt(static_cast<std::size_t>(length));
    std::vector<double> sourceAt(scaleAt.size());
    for (int i = 0; i < length; ++i) {
        const int fromNear = nearAtStart ? i : length - 1 - i;
        const double t = (fromNear + 0.5) / length;
        const double width = 1.0 - (1.0 - s) * t;
        const double v = s * t / width * length;
        scaleAt[std::size_t(i)] = width;
        sourceAt[std::size_t(i)] = (nearAtStart ? v : length - v) - 0.5;
    }

    const detail::BilinearSampler sampler(src, background);
    const double mid = across / 2.0;
    const int dw = dst.width();
    const auto rows = [&]<bool Alpha>(int first, int end) {
        for (int y = first; y < end; ++y) {
            QRgb* out = row(dst, y);
            for (int x = 0; x < dw; ++x) {
                const int along = vertical ? y : x;
                const double off = ((vertical ? x : y) + 0.5 - mid) / scaleAt[std::size_t(along)];
                const double sa = sourceAt[std::size_t(along)], sc = mid + off - 0.5;
                out[x] = vertical ? sampler.sample<Alpha>(sc, sa) : sampler.sample<Alpha>(sa, sc);
            }
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
