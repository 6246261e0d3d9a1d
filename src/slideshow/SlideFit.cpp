#include "slideshow/SlideFit.h"

#include <algorithm>
#include <cmath>

namespace dovi::slideshow {

int roundHalfEven(double value) {
    // The default floating-point rounding mode is to nearest, ties to even.
    return int(std::nearbyint(value));
}

double availableHeight(QSize screen, int labelHeight) {
    return screen.height() - 2.5 * labelHeight;
}

QSize fitToScreen(QSize image, QSize screen, int labelHeight) {
    const double iw = image.width(), ih = image.height();
    const double sw = screen.width();
    // A caption taller than the screen would leave no room at all; a picture
    // still gets at least one row.
    const double a = std::max(1.0, availableHeight(screen, labelHeight));
    if (iw <= 0 || ih <= 0 || sw <= 0 || (ih <= a && iw <= sw))
        return image;
    if (ih / a > iw / sw)
        return {std::max(1, roundHalfEven(a / ih * iw)), std::max(1, roundHalfEven(a))};
    return {int(sw), std::max(1, roundHalfEven(sw / iw * ih))};
}

QPointF slidePosition(QSize shown, QSize screen) {
    return {(screen.width() - shown.width()) / 2.0, (screen.height() - shown.height()) / 2.0};
}

} // namespace dovi::slideshow
