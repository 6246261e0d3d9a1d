#include "fileops/FolderCommands.h"

#include "app/CommandFrame.h"
#include "app/FileListing.h"
#include "app/FolderState.h"
#include "app/HoldList.h"
#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "fileops/Delete.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::fileops {

namespace {

void refresh(const FolderTreeRefresh& refreshTree) {
    if (refreshTree)
        refreshTree();
}

bool removeEmptyFolder(const QString& folder) {
    clearAttributes(folder);
    // rmdir only: a folder that still holds anything (hidden files, files the
    // delete left) stays, and a link is refused rather than followed.
    return ::rmdir(QFile::encodeName(folder).constData()) == 0;
}

bool mayChangeEntriesOf(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString folderRemovalBlock(const QString& folder, const QStringList& listed) {
    const QByteArray native = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return QStringLiteral("it no longer exists");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("it is a link to another folder");
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return QStringLiteral("it cannot be read (") +
               QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')');
    QString block;
    bool hidden = false;
    bool unlisted = false;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        struct stat child {};
        if (::fstatat(::dirfd(dir), raw.constData(), &child, 0) == 0 && S_ISDIR(child.st_mode)) {
            block = QStringLiteral("it holds sub-folders"); // or links to folders
            break;
        }
        if (!listed.contains(QFile::decodeName(raw)))
            (raw.startsWith('.') ? hidden : unlisted) = true;
    }
    ::closedir(dir);
    if (!block.isEmpty())
        return block;
    if (hidden)
        return QStringLiteral("it holds hidden files that the list does not show");
    if (unlisted)
        return QStringLiteral("it holds files that the list does not show");
    if (!listed.isEmpty() && !mayChangeEntriesOf(folder))
        return QStringLiteral("you may not delete its files");
    if (!mayChangeEntriesOf(HoldList::folderPart(folder)))
        return QStringLiteral("you may not change the folder that holds it");
    return {};
}

void defaultFolder(Workspace& ws) {
    changeFolder(ws, existingStartupFolder(ws));
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
    // Every file, whatever the file-type entry; hidden and system files as
    // the list's attribute rules show them. Read into a list of its own, so
    // the file list and the statistics keep the filter's pattern.
    const QStringList listed =
        listFolder(folder, QStringLiteral("*.*"), AttributeRules::fromSettings(ws.settings));
    // Nothing is deleted from a folder that could not go anyway.
    if (const QString block = folderRemovalBlock(folder, listed); !block.isEmpty()) {
        showMessage(ui, QStringLiteral("Cannot remove ") + folder + QStringLiteral(": ") + block +
                            QLatin1Char('.'));
        return;
    }
    if (ui.messageBox(QStringLiteral("Remove Folder"),
                      QStringLiteral("Remove ") + folder + QStringLiteral(" ?"),
                      MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return;

    bool removed = false;
    if (listed.isEmpty()) {
        removed = removeEmptyFolder(folder);
    } else {
        // Exactly the folder's own files, whatever the hold list holds.
        QStringList paths;
        for (const QString& name : listed)
            paths.append(joinPath(folder, name));
        if (deleteActionList(ws, ui, paths).declined)
            return;
        removed = removeEmptyFolder(folder);
        if (removed)
            logLine(ws, QStringLiteral("Removed folder - ") + folder);
    }

    if (!removed) {
        showMessage(ui, QStringLiteral("Path/File access error!"));
        rereadAndRefreshSelection(ws);
        return;
    }
    changeFolder(ws, HoldList::folderPart(folder));
    refresh(refreshTree);
}

} // namespace dovi::fileops
