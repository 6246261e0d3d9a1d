#include "fileops/DestinationChooser.h"

#include "app/SharedServices.h"
#include "app/Workspace.h"

#include <QDir>
#include <QFileInfo>

namespace dovi::fileops {

QString chooserCaption(ChooserMode mode) {
    return mode == ChooserMode::CopyMove ? QStringLiteral("Copy/Move Destination")
                                         : QStringLiteral("Select a Folder");
}

QString chooserStartFolder(const Workspace& ws) {
    QString folder = QDir::cleanPath(ws.settings.lastDestFolder);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() && QDir::isAbsolutePath(folder) ? folder : QDir::homePath();
}

bool acceptDestination(const Workspace& ws, Ui& ui, ChooserMode mode, const QString& folder) {
    if (mode == ChooserMode::CopyMove && folder == ws.currentFolder) {
        showMessage(ui, QStringLiteral("Destination cannot match the source!"));
        return false;
    }
    return true;
}

void rememberDestination(Workspace& ws, const QString& folder) {
    if (folder.isEmpty())
        return;
    ws.settings.lastDestFolder =
        folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace dovi::fileops
