#include "browser/windows/MainWindow.h"

#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Shutdown.h"
#include "app/Version.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "browser/windows/CommandBars.h"
#include "fileops/windows/FileCommandBindings.h"
#include "platform/KeyLocks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace dovi {

namespace {
const QColor kBusyColour(192, 0, 0);
const QColor kIdleColour(0, 192, 0);
} // namespace

MainWindow::MainWindow(Workspace& workspace)
    : workspace_(workspace), ui_(this, this) {
    setObjectName(QStringLiteral("frmMain"));
    resize(1000, 680);
    workspace_.loadSettings();
    bindCommands();
    buildFrame();
    buildStatusBar();
    showProcessingSize();
    setWindowTitle(applicationTitle());
    preview_->setPixmap(QPixmap(programFilePath(workspace_.programFolder(), kLogoFileName)));
    setStatus(ui_, false);

    connect(&workspace_, &Workspace::settingsChanged, this, &MainWindow::showProcessingSize);
    keyLockTimer_.setInterval(500);
    connect(&keyLockTimer_, &QTimer::timeout, this, &MainWindow::showKeyLocks);
    keyLockTimer_.start();
    showKeyLocks();
}

void MainWindow::bindCommands() {
    commands_.bind(QStringLiteral("mnuquit"), [this] { quitProgram(); });
    bindFileCommands(commands_, {workspace_, ui_, this, {}, {}});
    buildMenus(menuBar(), commands_);
    auto* tools = addToolBar(QStringLiteral("toolMain"));
    tools->setObjectName(QStringLiteral("toolMain"));
    tools->setMovable(false);
    buildToolbar(tools, commands_);
}

void MainWindow::buildFrame() {
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("fraMain"));
    auto* column = new QVBoxLayout(frame);

    preview_ = new QLabel(frame);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(240, 180);
    column->addWidget(preview_, 1);

    auto* bottom = new QHBoxLayout;
    idleLight_ = new QWidget(frame);
    idleLight_->setObjectName(QStringLiteral("idle"));
    idleLight_->setFixedSize(18, 18);
    idleLight_->setAutoFillBackground(true);
    progress_ = new CaptionedProgressBar(frame);
    progress_->setObjectName(QStringLiteral("progress"));
    bottom->addWidget(idleLight_);
    bottom->addWidget(progress_, 1);
    column->addLayout(bottom);
    setCentralWidget(frame);
}

void MainWindow::buildStatusBar() {
    static const char* const tips[6] = {"Total Files",
                                        "Selected Files",
                                        "Held Files",
                                        "Process Resolution (* indicates extra conditions)",
                                        "CAPS.LOCK Status",
                                        "NUM.LOCK Status"};
    static const char* const texts[3] = {"Total : 0", "Selected : 0", "Held : 0"};
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("status%1").arg(i + 1));
        panel->setToolTip(QLatin1String(tips[i]));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 3)
            panel->setText(QLatin1String(texts[i]));
        if (i >= 4)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel);
        panels_[i] = panel;
    }
    statusBar()->setSizeGripEnabled(false);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Each panel one sixth of the window, less the status bar's own spacing.
    const int sixth = qRound(width() / 6.0) - 6;
    for (QLabel* panel : panels_)
        if (panel)
            panel->setFixedWidth(std::max(40, sixth));
}

void MainWindow::showProcessingSize() {
    panels_[3]->setText(processingSizeText(workspace_.settings));
}

void MainWindow::showKeyLocks() {
    const platform::KeyLocks locks = platform::readKeyLocks();
    panels_[4]->setText(QStringLiteral("CAPS"));
    panels_[4]->setEnabled(locks.capsLock);
    panels_[5]->setText(QStringLiteral("NUM"));
    panels_[5]->setEnabled(locks.numLock);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        onActivated();
}

void MainWindow::onActivated() {
    workspace_.saveSettings();
}

void MainWindow::runShutDown() {
    if (shutDownDone_)
        return;
    shutDownDone_ = true;
    keyLockTimer_.stop();
    shutDown(workspace_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    runShutDown();
    event->accept();
    QApplication::quit();
}

void MainWindow::quitProgram() {
    runShutDown();
    QApplication::quit();
}

void MainWindow::showIdleLight(bool busy) {
    QPalette pal = idleLight_->palette();
    pal.setColor(QPalette::Window, busy ? kBusyColour : kIdleColour);
    idleLight_->setPalette(pal);
    idleLight_->setToolTip(busy ? QStringLiteral("Busy") : QStringLiteral("Idle"));
}

void MainWindow::showProgressMode(int mode) {
    progress_->setMode(mode);
}
void MainWindow::showProgressCaption(const QString& caption) {
    progress_->setCaption(caption);
}
void MainWindow::showProgressRange(int minimum, int maximum) {
    progress_->setRange(minimum, maximum);
}
void MainWindow::showProgressValue(int value) {
    progress_->setValue(value);
}
void MainWindow::showCaption(const QString& caption) {
    setWindowTitle(caption);
}

} // namespace dovi
