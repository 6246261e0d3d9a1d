#include "fileops/windows/FileCommandBindings.h"

#include "app/CommandDispatcher.h"
#include "app/windows/StopItWindow.h"
#include "fileops/Conformity.h"
#include "fileops/CopyMove.h"
#include "fileops/Delete.h"
#include "fileops/DetailedList.h"
#include "fileops/FolderCommands.h"
#include "fileops/Rename.h"
#include "fileops/windows/DestinationDialogChooser.h"
#include "fileops/windows/RenameWindow.h"
#include "imaging/ImagingEngine.h"

#include <memory>

namespace dovi {

namespace {

// The detailed list's windows: the shell's running history and a "Stop It!"
// window that lives for one run.
class DetailedListWindowSet : public fileops::DetailedListWindows {
public:
    DetailedListWindowSet(QWidget* parent, Workspace& ws, ShellServices& shell)
        : parent_(parent), ws_(ws), shell_(shell) {}
    ~DetailedListWindowSet() override { closeCancelWindow(); }

    void showRunningHistory() override { shell_.showRunningHistory(); }
    void showCancelWindow() override {
        cancel_ = new StopItWindow(parent_, ws_);
        cancel_->show();
    }
    void closeCancelWindow() override {
        if (cancel_)
            cancel_->close(); // deletes itself on close
    }

private:
    QPointer<QWidget> parent_;
    Workspace& ws_;
    ShellServices& shell_;
    QPointer<StopItWindow> cancel_;
};

} // namespace

void bindFileCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;
    auto chooser = std::make_shared<DestinationDialogChooser>(context.parent, ws, ui);
    ShellServices& shell = context.shell;
    const fileops::FolderTreeRefresh refreshTree = [&shell] { shell.refreshFolderTree(); };

    commands.bind(QStringLiteral("mnucopy"),
                  [&ws, &ui, chooser] { fileops::copyFiles(ws, ui, *chooser); });
    commands.bind(QStringLiteral("mnumove"),
                  [&ws, &ui, chooser] { fileops::moveFiles(ws, ui, *chooser); });
    commands.bind(QStringLiteral("mnudelete"), [&ws, &ui] { fileops::deleteFiles(ws, ui); });
    commands.bind(QStringLiteral("mnurename"), [&ws, &ui, parent] {
        fileops::renameFile(ws, ui, [&ws, &ui, parent](const QString& oldName) {
            RenameWindow window(parent, ws, ui, oldName);
            window.exec();
            return window.renamed();
        });
    });
    commands.bind(QStringLiteral("mnuconform"), [&ws, &ui] { fileops::conformExtensions(ws, ui); });
    // The hidden engine that measures files for the detailed list.
    auto engine = std::make_shared<imaging::ImagingEngine>();
    commands.bind(QStringLiteral("mnuDetail"), [&ws, &ui, parent, engine, &shell] {
        DetailedListWindowSet windows(parent, ws, shell);
        fileops::generateDetailedList(ws, ui, windows, [engine](const QString& path) {
            return fileops::detailedListLine(path, *engine);
        });
    });
    commands.bind(QStringLiteral("mnucreate"),
                  [&ws, &ui, refreshTree] { fileops::newFolder(ws, ui, refreshTree); });
    commands.bind(QStringLiteral("mnuremove"),
                  [&ws, &ui, refreshTree] { fileops::removeFolder(ws, ui, refreshTree); });
    commands.bind(QStringLiteral("mnudefault"), [&ws] { fileops::defaultFolder(ws); });
}

} // namespace dovi
