#include "batch/FitRule.h"

#include <algorithm>
#include <cmath>

namespace dovi::batch {

namespace {
int roundHalfEven(double v) {
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    return std::max(1, static_cast<int>(std::nearbyint(v)));
}
} // namespace

QSize fitIntoBox(QSize image, QSize box) {
    const double w = image.width(), h = image.height();
    const double bw = box.width(), bh = box.height();
    if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0)
        return {};
    const double rW = w / bw;
    const double rH = h / bh;
    if (rW >= rH)
        return QSize(box.width(), roundHalfEven(bw / w * h));
    return QSize(roundHalfEven(bh / h * w), box.height());
}

std::optional<QSize> scalingFor(QSize image, QSize box, bool convertOnly, bool upAndDown) {
    if (convertOnly)
        return std::nullopt;
    if (!upAndDown && image.height() <= box.height() && image.width() <= box.width())
        return std::nullopt;
    const QSize fitted = fitIntoBox(image, box);
    if (!fitted.isValid())
        return std::nullopt;
    return fitted;
}

} // namespace dovi::batch
