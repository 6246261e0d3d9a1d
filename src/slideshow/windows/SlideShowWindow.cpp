#include "slideshow/windows/SlideShowWindow.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace dovi {

SlideShowWindow::SlideShowWindow(QWidget* parent, Workspace& workspace, Ui& ui,
                                 ShellServices& shell)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), workspace_(workspace), ui_(ui),
      shell_(shell), caption_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("frmSlideShow"));
    setWindowTitle(QStringLiteral("Slide Show"));
    setFocusPolicy(Qt::StrongFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, QColor(235, 235, 235));
    setPalette(black);
    setAutoFillBackground(true);

    // The caption line sits at the top, 200 twips from the left edge, and
    // reads light on the black background.
    caption_->setObjectName(QStringLiteral("filename"));
    caption_->setPalette(black);
    caption_->setText(QStringLiteral(" "));
    caption_->move(qRound(200.0 * logicalDpiX() / 1440.0), 0);
    caption_->adjustSize();

    connect(&timer_, &QTimer::timeout, this, &SlideShowWindow::advance);
}

SlideShowWindow::~SlideShowWindow() = default;

slideshow::SlideScreen SlideShowWindow::measureScreen() const {
    const QScreen* s = screen();
    return {s ? s->geometry().size() : size(), caption_->sizeHint().height()};
}

void SlideShowWindow::startShow(QStringList actionList) {
    timer_.stop();
    const slideshow::SlideScreen screen = measureScreen();
    show_ = std::make_unique<slideshow::SlideShow>(screen);
    if (!show_->start(ui_, std::move(actionList),
                      slideshow::ShowOptions::from(workspace_.settings))) {
        close();
        return;
    }
    if (const QScreen* s = this->screen())
        setGeometry(s->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    showCurrentSlide();
    if (const int period = show_->timerPeriod(); period > 0)
        timer_.start(period);
}

void SlideShowWindow::advance() {
    if (!show_ || !show_->step(ui_)) {
        close();
        return;
    }
    showCurrentSlide();
}

void SlideShowWindow::showCurrentSlide() {
    if (show_->options().showFileName) {
        caption_->setText(show_->captionText());
        caption_->adjustSize();
        caption_->raise();
    }
    update();
}

void SlideShowWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (show_ && !show_->current().picture.isNull())
        painter.drawImage(show_->current().position, show_->current().picture);
}

void SlideShowWindow::mousePressEvent(QMouseEvent* event) {
    if (!show_)
        return;
    if (event->button() == Qt::RightButton) {
        close();
    } else if (event->button() == Qt::LeftButton) {
        if (show_->options().manual) {
            advance();
        } else {
            const QString path = show_->current().path;
            timer_.stop();
            shell_.openViewer(path, {});
            close();
        }
    }
}

void SlideShowWindow::keyPressEvent(QKeyEvent* event) {
    // A borderless window over the whole screen must have a key to leave it.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace dovi
