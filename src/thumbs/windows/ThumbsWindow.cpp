#include "thumbs/windows/ThumbsWindow.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"
#include "thumbs/ThumbGridModel.h"
#include "thumbs/windows/ThumbGridView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace dovi {

namespace {
// Window units are twips; the layout works at the screen's pixels per inch.
double twipsPerPixel(int dotsPerInch) {
    return 1440.0 / std::max(1, dotsPerInch);
}
} // namespace

ThumbsWindow::ThumbsWindow(QWidget* parent, Workspace& workspace, ShellServices& shell)
    : QWidget(parent, Qt::Window), workspace_(workspace), shell_(shell),
      geometry_(thumbs::gridGeometry(twipsPerPixel(logicalDpiX()), twipsPerPixel(logicalDpiY()))),
      model_(new thumbs::ThumbGridModel(
          [&workspace](int i) { return thumbs::thumbnailPath(workspace.tempFolder(), i); }, 720,
          this)),
      grid_(new ThumbGridView(this)), progress_(new QProgressBar(this)), status_(new QLabel),
      session_(workspace, *this, geometry_.thumbnail) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmThumbs"));
    setWindowTitle(thumbs::kViewerCaption);

    const double tppX = twipsPerPixel(logicalDpiX()), tppY = twipsPerPixel(logicalDpiY());
    grid_->setModel(model_);
    grid_->setCellSize(geometry_.cellPixels);
    grid_->setFixedSize(thumbs::gridPixels(tppX, tppY));
    progress_->setObjectName(QStringLiteral("prog"));
    progress_->setFixedWidth(grid_->width());
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stat"));
    bar->setSizeGripEnabled(false);
    status_->setObjectName(QStringLiteral("statPanel"));
    bar->addWidget(status_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(qRound(120 / tppX), qRound(240 / tppY), qRound(120 / tppX), 0);
    layout->setSpacing(qRound(60 / tppY));
    layout->addWidget(grid_);
    layout->addWidget(progress_);
    layout->addWidget(bar);
    // The window keeps its design size.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(grid_, &ThumbGridView::leftPressed, this,
            [this](int cell) { session_.leftPress(cell); });
    connect(grid_, &ThumbGridView::rightPressed, this,
            [this](int cell) { session_.rightPress(cell); });
    connect(grid_, &ThumbGridView::cellDoubleClicked, this,
            [this](int cell) { session_.doubleClick(cell, shell_); });
    connect(grid_, &ThumbGridView::escapePressed, this, [this] { session_.escape(); });
}

ThumbsWindow::~ThumbsWindow() = default;

void ThumbsWindow::generate(const QStringList& actionList) {
    show();
    raise();
    activateWindow();
    grid_->setFocus();
    session_.generate(actionList);
    if (closeAfterRun_)
        close();
}

void ThumbsWindow::prepareGrid(int count, int rows) {
    model_->reset(count, rows);
    grid_->scrollToTop();
}

void ThumbsWindow::placeThumbnail(int index, const QImage& picture) {
    model_->place(index, picture);
}

void ThumbsWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void ThumbsWindow::setBusyPointer(bool busy) {
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void ThumbsWindow::setProgressRange(int maximum) {
    progress_->setRange(0, std::max(1, maximum));
}

void ThumbsWindow::setProgressValue(int value) {
    progress_->setValue(value);
}

void ThumbsWindow::showStatus(const QString& text) {
    status_->setText(text);
}

void ThumbsWindow::processEvents() {
    QCoreApplication::processEvents();
}

void ThumbsWindow::closeEvent(QCloseEvent* event) {
    if (session_.generating()) {
        // The run is inside this window's events; it stops after the file in
        // progress and the window then closes.
        session_.escape();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    session_.close();
    event->accept();
}

} // namespace dovi
