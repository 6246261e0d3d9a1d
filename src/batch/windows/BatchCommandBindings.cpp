#include "batch/windows/BatchCommandBindings.h"

#include "app/ActionList.h"
#include "app/CommandDispatcher.h"
#include "app/Workspace.h"
#include "batch/BatchFilter.h"
#include "batch/ProcessFiles.h"
#include "batch/windows/ProcessWindow.h"

#include <QPointer>
#include <memory>

namespace dovi {

namespace {

void startProcessing(Workspace& ws, Ui& ui, QWidget* parent, QPointer<ProcessWindow>& running) {
    // The run lets the main window's events through; a second run started
    // meanwhile would work on the same files at the same time.
    if (running && running->runInProgress()) {
        running->raise();
        running->activateWindow();
        return;
    }
    const auto targets = buildActionList(ws, ui);
    if (!targets)
        return;
    QPointer<ProcessWindow> window = new ProcessWindow(parent, ws);
    running = window;
    batch::processFiles(ws, ui, *window, *targets);
    if (window && !window->isVisible())
        delete window; // the question was answered No
}

} // namespace

void bindBatchCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;
    auto running = std::make_shared<QPointer<ProcessWindow>>();

    commands.bind(QStringLiteral("mnuprocess"),
                  [&ws, &ui, parent, running] { startProcessing(ws, ui, parent, *running); });
    for (const batch::BatchFilter& filter : batch::batchFilters()) {
        const QString name = filter.name;
        commands.bind(filter.control, [&ws, &ui, name] {
            if (const auto targets = buildActionList(ws, ui))
                batch::applyBatchFilter(ws, ui, name, *targets);
        });
    }
}

} // namespace dovi
