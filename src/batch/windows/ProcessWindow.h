#pragma once
#include "batch/ProcessFiles.h"

#include <QWidget>

class QListWidget;
class QProgressBar;
class QPushButton;

namespace dovi {

class Workspace;

// The process log window: the run's log, its progress, and "Close" once the
// run is over. Shown without blocking the main window; Escape released in the
// log list asks the run to stop. Deletes itself when closed.
class ProcessWindow : public QWidget, public batch::ProcessWindowPort {
    Q_OBJECT
public:
    ProcessWindow(QWidget* parent, Workspace& workspace);

    QListWidget* logList() const { return log_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* closeButton() const { return close_; }
    // A run reports into the window: "Close" is off until it ends.
    bool runInProgress() const;

    void open(const QString& caption, int count) override;
    void setCaption(const QString& caption) override;
    void addLogLine(const QString& line) override;
    void setProgressValue(int value) override;
    void setCloseEnabled(bool enabled) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Workspace& workspace_;
    QListWidget* log_;
    QProgressBar* progress_;
    QPushButton* close_;
    int widestLine_ = 0;
};

} // namespace dovi
