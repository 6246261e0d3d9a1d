#pragma once

class QWidget;

namespace dovi {

class CommandDispatcher;
class Workspace;
class Ui;

// What the batch and series commands need of the main window.
struct BatchCommandContext {
    Workspace& workspace;
    Ui& ui;
    QWidget* parent = nullptr;
};

// Binds "Process Image File(s)", the six batch filters, and the file series
// commands (create, add to, clear the history) to their menu controls, and so
// to their toolbar keys.
void bindBatchCommands(CommandDispatcher& commands, const BatchCommandContext& context);

} // namespace dovi
