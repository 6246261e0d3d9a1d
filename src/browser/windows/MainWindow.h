#pragma once
#include "app/windows/DialogUi.h"
#include "app/windows/StatusSurface.h"
#include "browser/CommandTable.h"

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <array>

namespace dovi {

class CaptionedProgressBar;
class Workspace;

// The hub of the program: lives for the whole run, draws the workspace and
// turns its menus, toolbar and controls into calls of the operations.
class MainWindow : public QMainWindow, public StatusSurface {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& workspace);

    Ui& ui() { return ui_; }
    CommandDispatcher& commands() { return commands_; }

    // The six status bar panels, left to right.
    QLabel* statusPanel(int index) const { return panels_.at(index); }
    QWidget* idleLight() const { return idleLight_; }
    CaptionedProgressBar* progressBar() const { return progress_; }

    // The quit command: shut down, then end the program.
    void quitProgram();

    // StatusSurface
    void showIdleLight(bool busy) override;
    void showProgressMode(int mode) override;
    void showProgressCaption(const QString& caption) override;
    void showProgressRange(int minimum, int maximum) override;
    void showProgressValue(int value) override;
    void showCaption(const QString& caption) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void bindCommands();
    void buildFrame();
    void buildStatusBar();
    void showProcessingSize();
    void showKeyLocks();
    void onActivated();
    void runShutDown();

    Workspace& workspace_;
    DialogUi ui_;
    CommandDispatcher commands_;
    std::array<QLabel*, 6> panels_{};
    QLabel* preview_ = nullptr;
    QWidget* idleLight_ = nullptr;
    CaptionedProgressBar* progress_ = nullptr;
    QTimer keyLockTimer_;
    bool shutDownDone_ = false;
};

} // namespace dovi
