#include "browser/windows/PreviewPane.h"

#include <QMouseEvent>
#include <QPainter>

namespace dovi {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    setMinimumSize(120, 120);
    setToolTip(QStringLiteral("Click to View"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PreviewPane::setLogo(const QImage& logo) {
    logo_ = logo;
    update();
}

void PreviewPane::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QSize PreviewPane::pictureBox() const {
    return size() * devicePixelRatioF();
}

void PreviewPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QImage& shown = picture_.isNull() ? logo_ : picture_;
    if (shown.isNull())
        return;
    // The picture's own pixels map to device pixels; only a picture larger
    // than the area (a resize since it was measured, or the logo) shrinks.
    const qreal ratio = devicePixelRatioF();
    QSizeF natural = QSizeF(shown.size()) / ratio;
    if (natural.width() > width() || natural.height() > height())
        natural = natural.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target((width() - natural.width()) / 2, (height() - natural.height()) / 2,
                        natural.width(), natural.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown);
}

void PreviewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit pictureBoxChanged(pictureBox());
}

void PreviewPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit leftClicked();
    QWidget::mousePressEvent(event);
}

} // namespace dovi
