#include "viewer/windows/ImageView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace dovi {

ImageView::ImageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    setBackColour(Qt::black);
}

void ImageView::setPicture(const QImage& picture) {
    picture_ = picture;
    fit();
}

void ImageView::setBackColour(const QColor& colour) {
    back_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    viewport()->update();
}

void ImageView::fit() {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // The whole area the view may take, scroll bars included.
    const QSize area = size();
    layout_ = viewer::fitViewerImage(area, picture_.size(), bar);
    setHorizontalScrollBarPolicy(layout_.wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(layout_.tall ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize shown = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, picture_.width() - shown.width()));
    horizontalScrollBar()->setPageStep(shown.width());
    horizontalScrollBar()->setSingleStep(std::max(1, shown.width() / 20));
    verticalScrollBar()->setRange(0, std::max(0, picture_.height() - shown.height()));
    verticalScrollBar()->setPageStep(shown.height());
    verticalScrollBar()->setSingleStep(std::max(1, shown.height() / 20));
    viewport()->update();
}

QPoint ImageView::scroll() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPoint ImageView::pictureOrigin() const {
    // Centred in the viewport on a side that does not scroll.
    const QSize shown = viewport()->size();
    return {layout_.wide ? 0 : std::max(0, (shown.width() - picture_.width()) / 2),
            layout_.tall ? 0 : std::max(0, (shown.height() - picture_.height()) / 2)};
}

QSize ImageView::viewExtent() const {
    const QSize shown = viewport()->size();
    return {std::min(shown.width(), picture_.width() - scroll().x()),
            std::min(shown.height(), picture_.height() - scroll().y())};
}

QPointF ImageView::toView(QPointF viewportPoint) const {
    return viewportPoint - QPointF(pictureOrigin());
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    const QPoint origin = pictureOrigin();
    const QRect onScreen = QRect(origin, viewExtent()).intersected(exposed);
    // The ground around the picture.
    QRegion ground(exposed);
    ground -= onScreen;
    for (const QRect& r : ground)
        painter.fillRect(r, back_);
    if (!onScreen.isEmpty()) {
        // Only the exposed part, drawn straight from the picture's pixels.
        const QRect source = onScreen.translated(scroll() - origin);
        painter.drawImage(onScreen.topLeft(), picture_, source);
    }
    if (selection_) {
        const QRect band = selection_->band();
        if (band.width() > 0 || band.height() > 0) {
            const QRect r = band.translated(origin);
            painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
            painter.drawRect(r);
            painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
            painter.drawRect(r);
        }
    }
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    fit();
}

void ImageView::scrollContentsBy(int dx, int dy) {
    // The band is drawn in view pixels and does not scroll with the picture.
    if (selection_ && (selection_->hasArea() || selection_->dragging()))
        viewport()->update();
    else
        viewport()->scroll(dx, dy);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    const QPointF p = toView(event->position());
    const bool onPicture = QRectF(QPointF(0, 0), QSizeF(viewExtent())).contains(p);
    if (event->button() == Qt::LeftButton) {
        if (onPicture)
            emit leftPressed(p);
        return;
    }
    emit otherPressed();
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit moved(toView(event->position()));
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit released(toView(event->position()));
}

} // namespace dovi
