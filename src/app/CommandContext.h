#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace dovi {

class Workspace;
class Ui;

// What only the shell can do for a subsystem's commands. Subsystems never
// include one another; when a command needs a window another part owns, it
// asks the shell through here.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Shows the running history window (one for the whole run, brought up
    // again rather than opened twice).
    virtual void showRunningHistory() = 0;
    // Makes the folder tree read its folders again after one was created or
    // removed.
    virtual void refreshFolderTree() = 0;
    // Opens the viewer on a file (the one viewer, asking first about unsaved
    // changes of a picture it shows). afterClose runs once the viewer window
    // has closed.
    virtual void openViewer(const QString& path, std::function<void()> afterClose) = 0;
};

// What every subsystem's binder receives: the shared state, the Ui seam, the
// window its dialogs open over, and the shell.
struct CommandContext {
    Workspace& workspace;
    Ui& ui;
    QWidget* parent = nullptr;
    ShellServices& shell;
};

} // namespace dovi
