#pragma once
#include "viewer/ViewerLayout.h"
#include "viewer/ViewerSelection.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

namespace dovi {

// The viewer's picture at its own size on a black or white ground, centred
// when it is smaller than the window and scrolled when larger. Paints only
// the part that shows, straight from the picture (no scaled or full-size
// copy), so a 50-megapixel photo scrolls as fast as a small one. Draws the
// rubber band of the selection it is given.
class ImageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    // The picture to show (shared, not copied) and its layout refit.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setBackColour(const QColor& colour);
    QColor backColour() const { return back_; }
    void setSelection(const viewer::ViewerSelection* selection) { selection_ = selection; }

    // fitViewerImage: lays the picture out in the window again.
    void fit();
    const viewer::ViewerLayout& layout() const { return layout_; }
    // The picture pixel at the view's top-left corner.
    QPoint scroll() const;
    // The visible extent of the picture (VW, VH).
    QSize viewExtent() const;
    // A point of the viewport as a view pixel of the picture.
    QPointF toView(QPointF viewportPoint) const;

signals:
    void leftPressed(QPointF viewPoint);
    void otherPressed();
    void moved(QPointF viewPoint);
    void released(QPointF viewPoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint pictureOrigin() const;

    QImage picture_;
    QColor back_ = Qt::black;
    viewer::ViewerLayout layout_;
    const viewer::ViewerSelection* selection_ = nullptr;
};

} // namespace dovi
