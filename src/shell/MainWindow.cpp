#include "shell/MainWindow.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Shutdown.h"
#include "app/Version.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "browser/EngineMeasurer.h"
#include "browser/FolderStatistics.h"
#include "browser/windows/HistoryWindow.h"
#include "platform/KeyLocks.h"
#include "shell/CommandBars.h"
#include "shell/CommandBindings.h"
#include "shell/CommandTable.h"
#include "shell/IconTheme.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QToolBar>

namespace dovi {

namespace {
const QColor kBusyColour(192, 0, 0);
const QColor kIdleColour(0, 192, 0);

std::shared_ptr<browser::ImageMeasurer> orEngine(std::shared_ptr<browser::ImageMeasurer> measurer) {
    if (measurer)
        return measurer;
    return std::make_shared<browser::EngineMeasurer>();
}
} // namespace

MainWindow::MainWindow(Workspace& workspace, std::shared_ptr<browser::ImageMeasurer> measurer)
    : workspace_(workspace), ui_(this, this), commands_(ui_),
      preview_(workspace, ui_, orEngine(measurer)) {
    setObjectName(QStringLiteral("frmMain"));
    resize(1000, 680);
    useInstalledIconTheme();
    workspace_.loadSettings();
    bindCommands();
    buildFrame();
    buildStatusBar();
    showProcessingSize();
    setWindowTitle(applicationTitle());
    loadLogo();
    connectBrowser();
    connectBrowsingClosers();
    // The tree's right button puts the folder's statistics on the information labels.
    setFolderStatisticsHandler([this] {
        const browser::FolderStatistics stats = browser::showFolderStatistics(workspace_, ui_);
        info_[2]->setText(stats.size);
        info_[3]->setText(stats.colours);
        if (stats.bpp)
            info_[4]->setText(*stats.bpp);
    });
    startBrowsing();
    setStatus(ui_, false);

    connect(&workspace_, &Workspace::settingsChanged, this, &MainWindow::showProcessingSize);
    connect(&workspace_, &Workspace::settingsWriteFailed, this, [this](const QString& path) {
        showMessage(ui_, QStringLiteral("The settings could not be saved to ") +
                             QDir::toNativeSeparators(path) + QLatin1Char('.'));
    });
    keyLockTimer_.setInterval(500);
    connect(&keyLockTimer_, &QTimer::timeout, this, &MainWindow::showKeyLocks);
    keyLockTimer_.start();
    showKeyLocks();
}

MainWindow::~MainWindow() = default;

void MainWindow::bindCommands() {
    commands_.bind(QStringLiteral("mnuquit"), [this] { quitProgram(); });
    bindSubsystemCommands(commands_, {workspace_, ui_, this, *this});
    for (const MenuCommand& row : menuCommands())
        if (!row.control.isEmpty())
            commands_.describe(row.control, row.caption);
    // Windows that only show what is there may open while a command runs.
    for (const char* control : {"mnuRunningHist", "mnuabout"})
        commands_.allowWhileRunning(QLatin1String(control));
    buildMenus(menuBar(), commands_);
    auto* tools = addToolBar(QStringLiteral("toolMain"));
    tools->setObjectName(QStringLiteral("toolMain"));
    tools->setMovable(false);
    buildToolbar(tools, commands_);
}

void MainWindow::showRunningHistory() {
    if (!history_)
        history_ = new HistoryWindow(workspace_, this, this);
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void MainWindow::refreshFolderTree() {
    // Nothing to do: the tree's model watches the folders it has read and
    // follows a folder made or removed on its own.
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Each panel one sixth of the window, less the status bar's own spacing.
    const int sixth = qRound(width() / 6.0) - 6;
    for (QLabel* panel : panels_)
        if (panel)
            panel->setFixedWidth(std::max(40, sixth));
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
    diskChangeTimer_.stop();
    if (history_)
        history_->close();
    shutDown(workspace_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing mid-command would empty "Temp" and save under a command that
    // goes on; the window closes once the command has ended.
    if (ui_.commandGate().isRunning()) {
        event->ignore();
        showMessage(ui_, commandRefusedText(ui_.commandGate().runningCaption()));
        return;
    }
    // A picture with unsaved changes is asked about before the program ends.
    if (!closeViewer()) {
        event->ignore();
        return;
    }
    runShutDown();
    event->accept();
    QApplication::quit();
}

void MainWindow::quitProgram() {
    if (!closeViewer())
        return;
    runShutDown();
    // exit, not quit: a modal window open at the time (a logout during a
    // question) runs an event loop of its own, which quit() leaves running.
    QApplication::exit(0);
}

void MainWindow::showIdleLight(bool busy) {
    QPalette pal = idleLight_->palette();
    pal.setColor(QPalette::Window, busy ? kBusyColour : kIdleColour);
    idleLight_->setPalette(pal);
    idleLight_->setToolTip(busy ? QStringLiteral("Busy") : QStringLiteral("Idle"));
}

void MainWindow::showProgressMode(int mode) {
    if (mode == 1 && progress_->mode() != 1)
        progress_->setCaption(QString());
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
