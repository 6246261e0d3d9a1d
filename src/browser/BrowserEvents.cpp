#include "browser/BrowserEvents.h"

#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/Workspace.h"
#include "browser/Preview.h"

#include <QDir>
#include <QFileInfo>

namespace dovi::browser {

namespace {
constexpr int kSpaceKey = 32;
}

void fileListReleased(Workspace& ws, Preview& preview) {
    refreshSelection(ws);
    if (ws.selected.size() == 1)
        preview.showSelectedFile();
    else
        preview.showImageInfo(false);
}

void fileListKeyReleased(Workspace& ws, Preview& preview, int key) {
    if (key == kSpaceKey)
        addToHoldList(ws);
    else
        fileListReleased(ws, preview);
}

void fileListRightPressed(Workspace& ws) {
    addToHoldList(ws);
}

void folderTreeClicked(Workspace& ws, Preview& preview) {
    if (ws.skipNextTreeClick) {
        ws.skipNextTreeClick = false;
        return;
    }
    rereadAndRefreshSelection(ws);
    preview.showImageInfo(false);
}

void folderTreeRightPressed(Workspace& ws) {
    ws.skipNextTreeClick = true;
}

void followFolderOnDisk(Workspace& ws) {
    if (QFileInfo(ws.currentFolder).isDir()) {
        rereadFilesAndCount(ws);
        return;
    }
    QString folder = ws.currentFolder;
    while (!QFileInfo(folder).isDir() && folder != QLatin1String("/") && !folder.isEmpty())
        folder = normaliseFolder(QFileInfo(folder).path());
    changeFolder(ws, folder.isEmpty() ? QDir::rootPath() : folder);
}

} // namespace dovi::browser
