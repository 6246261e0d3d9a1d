#include "fileops/FolderCommands.h"

#include "app/CommandFrame.h"
#include "app/FileListing.h"
#include "app/FolderState.h"
#include "app/HoldList.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "fileops/Delete.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace dovi::fileops {

namespace {

void refresh(const FolderTreeRefresh& refreshTree) {
    if (refreshTree)
        refreshTree();
}

// The list's pattern goes back to the file-type entry chosen (an entry
// outside the table leaves the pattern it had before).
void restorePattern(Workspace& ws, const QString& previous) {
    const QString pattern = patternForFilter(ws.settings.filterIndex);
    ws.filePattern = pattern.isEmpty() ? previous : pattern;
}

bool removeEmptyFolder(const QString& folder) {
    clearAttributes(folder);
    // rmdir only: a folder that still holds anything (hidden files, files the
    // delete left) stays, and a link is refused rather than followed.
    return ::rmdir(QFile::encodeName(folder).constData()) == 0;
}

} // namespace

void defaultFolder(Workspace& ws) {
    changeFolder(ws, ws.settings.startupFolder);
}

void newFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree) {
    const QString name =
        ui.inputText(QStringLiteral("New Folder"),
                     QStringLiteral("Enter the name of the folder you wish to create"), QString())
            .value_or(QString());
    if (!name.isEmpty()) {
        const QString folder = fullPath(ws, name);
        if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0) {
            showMessage(ui, QStringLiteral("Could not create the folder!"));
            return;
        }
        logLine(ws, QStringLiteral("Created folder - ") + folder);
    }
    refresh(refreshTree);
}

void removeFolder(Workspace& ws, Ui& ui, const FolderTreeRefresh& refreshTree) {
    const QString folder = ws.currentFolder;
    if (folder.endsWith(QLatin1Char('/'))) {
        showMessage(ui, QStringLiteral("Cannot remove a root"));
        return;
    }
    if (ui.messageBox(QStringLiteral("Remove Folder"),
                      QStringLiteral("Remove ") + folder + QStringLiteral(" ?"),
                      MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return;

    const QString previousPattern = ws.filePattern;
    ws.filePattern = QStringLiteral("*.*");
    rereadFiles(ws);

    bool removed = false;
    if (ws.files.isEmpty()) {
        removed = removeEmptyFolder(folder);
    } else {
        // Exactly the folder's own files, whatever the hold list holds.
        QStringList paths;
        for (const QString& name : ws.files.names())
            paths.append(fullPath(ws, name));
        deleteActionList(ws, ui, paths);
        removed = removeEmptyFolder(folder);
        if (removed)
            logLine(ws, QStringLiteral("Removed folder - ") + folder);
    }

    restorePattern(ws, previousPattern);
    if (!removed) {
        showMessage(ui, QStringLiteral("Path/File access error!"));
        rereadFiles(ws);
        return;
    }
    changeFolder(ws, HoldList::folderPart(folder));
    refresh(refreshTree);
}

} // namespace dovi::fileops
