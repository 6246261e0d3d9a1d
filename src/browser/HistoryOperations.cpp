#include "browser/HistoryOperations.h"

#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "browser/ListFiles.h"

#include <QDir>

namespace dovi::browser {

void clearHistory(Workspace& ws) {
    ws.history.clear();
    emit ws.historyChanged();
}

void exportHistory(Workspace& ws, Ui& ui) {
    if (ws.history.isEmpty()) {
        showMessage(ui, kHistoryEmptyMessage);
        return;
    }
    const QString chosen = ui.chooseSaveFile(
        kSaveHistoryTitle, joinPath(ws.currentFolder, kHistoryFileName), kHistoryFilter);
    if (chosen.isEmpty())
        return;
    const QString target = listFileTarget(chosen, QStringLiteral(".hst"));
    if (fileExists(target) && !confirmOverwrite(ws, ui))
        return;
    setStatus(ui, true);
    QString error;
    const bool written = writeCrLfLines(target, ws.history.lines(), &error);
    setStatus(ui, false);
    if (!written)
        showMessage(
            ui,
            QStringLiteral("Could not save %1: %2").arg(QDir::toNativeSeparators(target), error));
}

} // namespace dovi::browser
