#include "batch/ProcessFiles.h"

#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "batch/ProcessOptions.h"

#include <QThread>

#include <algorithm>

namespace dovi::batch {
namespace {

// Carries the run's events to the log window and the running history, and
// lets the window's events run between files so Escape and repaints are seen.
class WindowObserver : public ProcessObserver {
public:
    WindowObserver(Workspace& ws, Ui& ui, ProcessWindowPort& window)
        : ws_(ws), ui_(ui), window_(window) {}

    void logLine(const QString& line) override { window_.addLogLine(line); }
    void historyLine(const QString& line) override { ws_.addHistory(line); }
    void fileFinished(int index) override { window_.setProgressValue(index + 1); }
    bool abortRequested() override {
        ui_.processEvents();
        return ws_.processAbort;
    }

private:
    Workspace& ws_;
    Ui& ui_;
    ProcessWindowPort& window_;
};

bool confirmed(Workspace& ws, Ui& ui, const ProcessOptions& options) {
    if (ws.settings.confirmActions != 1)
        return true;
    const QString title =
        options.convertOnly ? QStringLiteral("Convert Files") : QStringLiteral("Process Files");
    const QString text =
        options.convertOnly
            ? QStringLiteral("Convert files ?")
            : QStringLiteral("Process files at ") + QString::number(ws.settings.processWidth) +
                  QStringLiteral(" x ") + QString::number(ws.settings.processHeight) +
                  QStringLiteral(" ?");
    ws.lastAnswer = ui.messageBox(title, text, MessageButtons::YesNo, MessageIcon::Question);
    return ws.lastAnswer != Answer::No;
}

} // namespace

QString processCaption(bool convertOnly, int count) {
    return (convertOnly ? QStringLiteral("Converting ") : QStringLiteral("Processing ")) +
           QString::number(count) + QStringLiteral(" files. ESCAPE to abort");
}

QString completionCaption(int failed) {
    const QString done = QStringLiteral("Work Complete");
    return failed > 0 ? done + QStringLiteral(" - ") + QString::number(failed) +
                            QStringLiteral(" file(s) failed")
                      : done;
}

ProcessSummary processFiles(Workspace& ws, Ui& ui, ProcessWindowPort& window,
                            const QStringList& targets) {
    const ProcessOptions options = ProcessOptions::fromSettings(ws.settings);
    if (!confirmed(ws, ui, options))
        return {};

    const int count = static_cast<int>(targets.size());
    window.open(processCaption(options.convertOnly, count), count);
    setStatus(ui, true);
    window.setCloseEnabled(false);
    ws.processAbort = false;

    WindowObserver observer(ws, ui, window);
    const ProcessSummary summary =
        runProcess(targets, options, observer, std::max(1, QThread::idealThreadCount()));

    if (summary.failed > 0)
        window.addLogLine(QString::number(summary.failed) +
                          QStringLiteral(" file(s) could not be processed"));
    if (summary.aborted) {
        // Files, hold list and counters stay as they were: the user stopped
        // the run and sees exactly where in the log.
        window.setCaption(QStringLiteral("ABORT after processing ") +
                          QString::number(summary.finished) + QStringLiteral(" files..."));
        window.addLogLine(QStringLiteral(" "));
        window.addLogLine(QStringLiteral("ABORT!"));
        window.setCloseEnabled(true);
        setStatus(ui, false);
        return summary;
    }
    window.setCaption(completionCaption(summary.failed));
    window.setCloseEnabled(true);
    rereadFiles(ws);
    if (options.deleteOriginal)
        clearHoldList(ws);
    updateCounters(ws);
    setStatus(ui, false);
    return summary;
}

} // namespace dovi::batch
