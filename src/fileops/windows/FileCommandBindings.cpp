#include "fileops/windows/FileCommandBindings.h"

#include "browser/CommandTable.h"
#include "fileops/Conformity.h"
#include "fileops/CopyMove.h"
#include "fileops/Delete.h"
#include "fileops/FolderCommands.h"
#include "fileops/Rename.h"
#include "fileops/windows/DestinationDialogChooser.h"
#include "fileops/windows/RenameWindow.h"

#include <memory>

namespace dovi {

void bindFileCommands(CommandDispatcher& commands, const FileCommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;
    auto chooser = std::make_shared<DestinationDialogChooser>(context.parent, ws, ui);
    const fileops::FolderTreeRefresh refreshTree = context.refreshFolderTree;

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
    commands.bind(QStringLiteral("mnucreate"),
                  [&ws, &ui, refreshTree] { fileops::newFolder(ws, ui, refreshTree); });
    commands.bind(QStringLiteral("mnuremove"),
                  [&ws, &ui, refreshTree] { fileops::removeFolder(ws, ui, refreshTree); });
    commands.bind(QStringLiteral("mnudefault"), [&ws] { fileops::defaultFolder(ws); });
}

} // namespace dovi
