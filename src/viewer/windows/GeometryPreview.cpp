#include "viewer/windows/GeometryPreview.h"

#include "imaging/ops/Resample.h"

#include <QPainter>

namespace dovi {

GeometryPreview::GeometryPreview(QWidget* parent, const QImage& picture)
    : QWidget(parent), small_(imaging::ops::previewCopy(picture, kBox)) {
    setMinimumSize(kBox);
    fresh();
}

GeometryPreview::~GeometryPreview() {
    engine_.release();
}

imaging::ImagingEngine& GeometryPreview::fresh() {
    imaging::Image image;
    image.pixels = small_;
    engine_.setImage(std::move(image));
    update();
    return engine_;
}

void GeometryPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QImage& shown = engine_.pixels();
    if (shown.isNull())
        return;
    // A rotated preview can grow past the box: shrink it to fit for display.
    QSize size = shown.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown);
}

} // namespace dovi
