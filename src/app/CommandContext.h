#pragma once
#include <QString>
#include <functional>
#include <optional>

class QString;
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
    // has closed (the thumbnail grid makes that file's thumbnail again).
    virtual void openViewer(const QString& path, std::function<void()> afterClose) = 0;

    // Closes window, when it is still open, as soon as the user works in the
    // folder tree, the filter list or the file list (the thumbnail grid
    // shows files of a list the user has moved away from).
    virtual void closeWhenBrowsing(QWidget* window) = 0;
    // Quick links, preferences and the desktop commands.
    // Sets the folder tree to folder, whose change then lists it; a folder
    // that has gone is said so and changes nothing.
    virtual void showFolder(const QString& folder) = 0;
    // The main window's slideshow options and processing-size panel shown
    // again from the settings (when the preferences close).
    virtual void showSlideshowOptions() = 0;
    virtual void showProcessingSize() = 0;
    // The destination chooser in its "Select a Folder" mode; nothing when
    // cancelled.
    virtual std::optional<QString> selectFolder() = 0;
    // The file the preview shows; "" while it shows the logo.
    virtual QString previewedFile() const = 0;
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
