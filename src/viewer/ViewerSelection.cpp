#include "viewer/ViewerSelection.h"

#include <QtMath>
#include <algorithm>

namespace dovi::viewer {

namespace {

QPoint rounded(QPointF p) {
    return {qRound(p.x()), qRound(p.y())};
}

QPoint notNegative(QPoint p) {
    return {std::max(0, p.x()), std::max(0, p.y())};
}

QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(a.x() - b.x()), std::abs(a.y() - b.y())));
}

} // namespace

void ViewerSelection::press(QPointF position) {
    hasArea_ = false;
    start_ = current_ = rounded(position);
    end_ = {};
    dragging_ = true;
}

void ViewerSelection::move(QPointF position) {
    if (!dragging_)
        return;
    QPoint p = notNegative(rounded(position));
    // While dragging the free corner stays on the last visible pixel.
    if (p.x() > extent_.width())
        p.setX(extent_.width() - 1);
    if (p.y() > extent_.height())
        p.setY(extent_.height() - 1);
    current_ = p;
}

void ViewerSelection::release(QPointF position) {
    QPoint p = notNegative(rounded(position));
    // At the end the corner may lie on the edge itself.
    p.setX(std::min(p.x(), extent_.width()));
    p.setY(std::min(p.y(), extent_.height()));
    current_ = end_ = p;
    dragging_ = false;
    if (end_.x() != start_.x() && end_.y() != start_.y())
        hasArea_ = true;
    else
        kill();
}

void ViewerSelection::kill() {
    start_ = current_ = end_ = {};
    dragging_ = false;
    hasArea_ = false;
}

QRect ViewerSelection::area() const {
    return hasArea_ ? spanned(start_, end_) : QRect();
}

QRect ViewerSelection::band() const {
    if (dragging_)
        return spanned(start_, current_);
    return area();
}

QString ViewerSelection::dragCaption(const QString& caption) const {
    const auto n = [](int v) { return QString::number(v); };
    return caption + QStringLiteral("     [ X:") + n(start_.x()) + QStringLiteral(",Y:") +
           n(start_.y()) + QStringLiteral("     X:") + n(current_.x()) + QLatin1Char('(') +
           n(current_.x() - start_.x()) + QStringLiteral("),Y:") + n(current_.y()) +
           QLatin1Char('(') + n(start_.y() - current_.y()) + QStringLiteral(") ]");
}

QRect cropRectangle(QPoint start, QPoint end, QPoint scroll, QSize picture) {
    if (start.x() == end.x() || start.y() == end.y())
        return {};
    return spanned(start + scroll, end + scroll).intersected(QRect(QPoint(0, 0), picture));
}

} // namespace dovi::viewer
