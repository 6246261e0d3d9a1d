#include "app/windows/SplashWindow.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace dovi {

namespace {
// 250 twips of margin around the logo: 17 pixels at the normal 96 dpi.
constexpr int kMarginPixels = 17;
constexpr QSize kDesignedSize(380, 230);
} // namespace

SplashWindow::SplashWindow(const QString& logoPath, bool normalDpi,
                           std::function<void()> showMain)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      picture_(new QLabel(this)), showMain_(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("background-color: black;"));
    const QPixmap logo(logoPath);
    picture_->setPixmap(logo);
    picture_->setAlignment(Qt::AlignCenter);
    if (normalDpi && !logo.isNull()) {
        const QSize size(logo.width() + kMarginPixels, logo.height() + kMarginPixels);
        setFixedSize(size);
        picture_->setGeometry((size.width() - logo.width()) / 2,
                              (size.height() - logo.height()) / 2, logo.width(), logo.height());
    } else {
        setFixedSize(kDesignedSize);
        picture_->setGeometry(rect());
        picture_->setScaledContents(false);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::onTick);
    timer_.start();
}

void SplashWindow::onTick() {
    if (tick_ == 2) {
        timer_.stop();
        if (showMain_)
            showMain_();
        close();
    }
    ++tick_;
}

} // namespace dovi
