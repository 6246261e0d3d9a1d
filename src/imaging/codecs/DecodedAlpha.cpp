#include "imaging/codecs/DecodedAlpha.h"

#include <algorithm>

namespace dovi::imaging {

void makeOpaque(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xff000000u;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

void settleAlpha(QImage& image) {
    AlphaSeen seen;
    for (int y = 0; y < image.height(); ++y)
        seen.addRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width());
    if (!seen.meaningful())
        makeOpaque(image);
}

void unpremultiply(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(line[x]);
            if (a == 255)
                continue;
            if (a == 0) {
                line[x] = 0;
                continue;
            }
            auto un = [a](int c) { return (std::min(c, a) * 255 + a / 2) / a; };
            line[x] = qRgba(un(qRed(line[x])), un(qGreen(line[x])), un(qBlue(line[x])), a);
        }
    }
}

} // namespace dovi::imaging
