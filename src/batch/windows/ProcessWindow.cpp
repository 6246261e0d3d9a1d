#include "batch/windows/ProcessWindow.h"

#include "app/Workspace.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace dovi {

ProcessWindow::ProcessWindow(QWidget* parent, Workspace& workspace)
    : QWidget(parent, Qt::Window), workspace_(workspace), log_(new QListWidget(this)),
      progress_(new QProgressBar(this)), close_(new QPushButton(QStringLiteral("Close"), this)) {
    setObjectName(QStringLiteral("frmProcess"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 360);
    log_->setObjectName(QStringLiteral("process"));
    // One size for every line keeps a long run's log fast: the view measures
    // a single line, the last, instead of all of them on every addition.
    // addLogLine makes that size as wide as the widest line so far, so each
    // reason is shown whole and the log scrolls sideways to its end.
    log_->setUniformItemSizes(true);
    log_->setTextElideMode(Qt::ElideNone);
    log_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    log_->installEventFilter(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    close_->setObjectName(QStringLiteral("close"));
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(log_, 1);
    column->addWidget(progress_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close_);
    column->addLayout(row);
}

bool ProcessWindow::runInProgress() const {
    return !close_->isEnabled();
}

void ProcessWindow::open(const QString& caption, int count) {
    progress_->setRange(0, count);
    progress_->setValue(0);
    setWindowTitle(caption);
    show();
    raise();
    activateWindow();
    log_->setFocus();
}

void ProcessWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void ProcessWindow::addLogLine(const QString& line) {
    auto* item = new QListWidgetItem(line);
    log_->addItem(item);
    const QSize natural = log_->sizeHintForIndex(log_->model()->index(log_->count() - 1, 0));
    widestLine_ = std::max(widestLine_, natural.width());
    item->setSizeHint(QSize(widestLine_, natural.height()));
    log_->scrollToBottom();
}

void ProcessWindow::setProgressValue(int value) {
    progress_->setValue(value);
}

void ProcessWindow::setCloseEnabled(bool enabled) {
    close_->setEnabled(enabled);
}

bool ProcessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == log_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
            workspace_.processAbort = true;
    }
    return QWidget::eventFilter(watched, event);
}

void ProcessWindow::closeEvent(QCloseEvent* event) {
    // The run still reports into this window; it may go once "Close" may.
    if (!close_->isEnabled()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace dovi
