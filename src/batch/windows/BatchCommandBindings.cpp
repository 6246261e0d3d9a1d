#include "batch/windows/BatchCommandBindings.h"

#include "app/Workspace.h"
#include "batch/BatchFilter.h"
#include "batch/ProcessFiles.h"
#include "batch/windows/ProcessWindow.h"
#include "shell/CommandTable.h"
#include "app/ActionList.h"
#include "series/AddToSeries.h"
#include "series/SeriesCreation.h"
#include "series/windows/AddSeriesWindow.h"
#include "series/windows/SeriesWindow.h"

#include <QPointer>
#include <memory>
#include <optional>

namespace dovi {

namespace {

// The action list of a command, or nothing when there is nothing to act on
// (the user has been told). A copy: the list in the workspace may be rebuilt
// by another command while a run lets events through.
std::optional<QStringList> actionList(Workspace& ws, Ui& ui) {
    buildActionList(ws, ui);
    if (ws.actionListEmpty)
        return std::nullopt;
    return ws.targets;
}

void startProcessing(Workspace& ws, Ui& ui, QWidget* parent, QPointer<ProcessWindow>& running) {
    // The run lets the main window's events through; a second run started
    // meanwhile would work on the same files at the same time.
    if (running && running->runInProgress()) {
        running->raise();
        running->activateWindow();
        return;
    }
    const auto targets = actionList(ws, ui);
    if (!targets)
        return;
    QPointer<ProcessWindow> window = new ProcessWindow(parent, ws);
    running = window;
    batch::processFiles(ws, ui, *window, *targets);
    if (window && !window->isVisible())
        delete window; // the question was answered No
}

} // namespace

void bindBatchCommands(CommandDispatcher& commands, const BatchCommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;
    auto running = std::make_shared<QPointer<ProcessWindow>>();

    commands.bind(QStringLiteral("mnuprocess"),
                  [&ws, &ui, parent, running] { startProcessing(ws, ui, parent, *running); });
    for (const batch::BatchFilter& filter : batch::batchFilters()) {
        const QString name = filter.name;
        commands.bind(filter.control, [&ws, &ui, name] {
            if (const auto targets = actionList(ws, ui))
                batch::applyBatchFilter(ws, ui, name, *targets);
        });
    }
    commands.bind(QStringLiteral("mnucreateseries"), [&ws, &ui, parent] {
        if (const auto targets = actionList(ws, ui)) {
            SeriesWindow window(parent, ws, ui, *targets);
            window.exec();
        }
    });
    commands.bind(QStringLiteral("mnuaddseries"), [&ws, &ui, parent] {
        const auto targets = actionList(ws, ui);
        if (!targets || !series::seriesHistoryAvailable(ws, ui))
            return;
        AddSeriesWindow window(parent, ws, ui, *targets);
        window.exec();
    });
    commands.bind(QStringLiteral("mnuclearhist"),
                  [&ws, &ui] { series::clearSeriesHistory(ws, ui); });
}

} // namespace dovi
