#include "viewer/GeometryRules.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace dovi::viewer {

namespace {

constexpr int kLargest = 32767;

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(v))
        return std::nullopt;
    return v;
}

} // namespace

MaxVals determineMaxVals(int width, int height) {
    if (width <= 0 || height <= 0)
        return {kLargest, kLargest};
    if (width > height)
        return {kLargest, qRound(double(kLargest) / width * height)};
    return {qRound(double(kLargest) / height * width), kLargest};
}

SizeBoxes sizeBoxTyped(SizeBoxes boxes, bool widthBox, QSize picture, MaxVals max,
                       bool keepAspect) {
    QString& typed = widthBox ? boxes.width : boxes.height;
    QString& other = widthBox ? boxes.height : boxes.width;
    std::optional<double> value = number(typed);
    if (!value)
        return {};
    const int limit = widthBox ? max.maxWidth : max.maxHeight;
    if (*value > limit) {
        typed = QString::number(limit);
        value = limit;
    }
    // Far below zero only has to stay a number the arithmetic can hold.
    value = std::max(*value, -double(kLargest));
    const int thisSide = widthBox ? picture.width() : picture.height();
    const int otherSide = widthBox ? picture.height() : picture.width();
    if (keepAspect && thisSide > 0)
        other = QString::number(qRound(double(otherSide) * qRound(*value) / thisSide));
    if (other.isEmpty())
        other = typed;
    return boxes;
}

const QList<QSize>& resamplePresets() {
    static const QList<QSize> sizes = {{1600, 1200}, {1280, 1024}, {1152, 864},
                                       {1024, 768},  {800, 600},   {640, 480}};
    return sizes;
}

std::optional<QSize> customSize(const SizeBoxes& boxes) {
    const std::optional<double> w = number(boxes.width), h = number(boxes.height);
    if (!w || !h || std::abs(*w) > 1e9 || std::abs(*h) > 1e9)
        return std::nullopt;
    const QSize size(qRound(*w), qRound(*h));
    if (size.width() < 1 || size.height() < 1)
        return std::nullopt;
    return size;
}

int rotationDegrees(const QString& text) {
    const std::optional<double> v = number(text);
    if (!v || std::abs(*v) > 1e6)
        return 0;
    return qRound(*v);
}

const QList<PerspectiveDirection>& perspectiveDirections() {
    static const QList<PerspectiveDirection> rows = {{QStringLiteral("Right to Left"), 3},
                                                     {QStringLiteral("Left to Right"), 2},
                                                     {QStringLiteral("Bottom to Top"), 1},
                                                     {QStringLiteral("Top to Bottom"), 0}};
    return rows;
}

} // namespace dovi::viewer
