#include "app/windows/CaptionedProgressBar.h"

namespace dovi {

CaptionedProgressBar::CaptionedProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setRange(0, 100);
    setValue(0);
    refreshFormat();
}

void CaptionedProgressBar::setMode(int mode) {
    mode_ = mode;
    refreshFormat();
}

void CaptionedProgressBar::setCaption(const QString& caption) {
    caption_ = caption;
    refreshFormat();
}

void CaptionedProgressBar::refreshFormat() {
    QString text = caption_;
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (mode_ == 1)
        text = text.isEmpty() ? QStringLiteral("%p%") : text + QStringLiteral(" - %p%");
    setFormat(text);
}

} // namespace dovi
