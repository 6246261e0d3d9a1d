#pragma once
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

namespace dovi::viewer {

// The rubber-band selection over the viewer's picture, in view pixels (the
// visible part of the picture, its top-left corner at 0,0). A press starts a
// drag, moves follow it, the release ends it; a selection exists only when
// the drag covered some width and some height.
class ViewerSelection {
public:
    // VW and VH: the visible extent of the picture.
    void setViewExtent(QSize extent) { extent_ = extent; }

    // Left button down on the picture.
    void press(QPointF position);
    // Pointer moved; ignored unless dragging.
    void move(QPointF position);
    // Any button released, after a drag or not.
    void release(QPointF position);
    // Removes the selection and any drag.
    void kill();

    bool dragging() const { return dragging_; }
    bool hasArea() const { return hasArea_; }
    // The selected rectangle (normalised); empty without a selection.
    QRect area() const;
    // The rectangle to draw: the drag so far, or the selection.
    QRect band() const;

    QPoint start() const { return start_; }
    QPoint current() const { return current_; }
    QPoint end() const { return end_; }

    // The caption during a drag: the normal caption followed by the start
    // point and the current point with its signed differences.
    QString dragCaption(const QString& caption) const;

private:
    QSize extent_;
    QPoint start_, current_, end_;
    bool dragging_ = false;
    bool hasArea_ = false;
};

// The picture's rectangle under a view rectangle from start to end, with the
// view scrolled by scroll picture pixels, limited to the picture. Empty when
// start and end do not differ in both directions.
QRect cropRectangle(QPoint start, QPoint end, QPoint scroll, QSize picture);

} // namespace dovi::viewer
