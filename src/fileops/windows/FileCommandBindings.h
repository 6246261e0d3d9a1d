#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>

namespace dovi {

class CommandDispatcher;
class Workspace;
class Ui;

// What the file and folder commands need of the main window.
struct FileCommandContext {
    Workspace& workspace;
    Ui& ui;
    QWidget* parent = nullptr;
    // Shows the running history window (the detailed list writes into it).
    std::function<void()> showRunningHistory;
    // Makes the folder tree read its folders again; empty when its model
    // follows the disk by itself.
    std::function<void()> refreshFolderTree;
};

// Binds copy, move, delete, rename, extension conformity, the detailed list
// and the folder commands to their menu controls (and so to their toolbar keys).
void bindFileCommands(CommandDispatcher& commands, const FileCommandContext& context);

} // namespace dovi
