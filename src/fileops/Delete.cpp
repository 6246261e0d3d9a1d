#include "fileops/Delete.h"

#include "app/ActionList.h"
#include "app/CommandFrame.h"
#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/SharedServices.h"
#include "app/Version.h"
#include "app/Workspace.h"
#include "platform/FileCopy.h"
#include "platform/Trash.h"

namespace dovi::fileops {

void deleteFiles(Workspace& ws, Ui& ui) {
    if (const std::optional<QStringList> targets = buildActionList(ws, ui))
        deleteActionList(ws, ui, *targets);
}

DeleteRun deleteActionList(Workspace& ws, Ui& ui, const QStringList& paths) {
    const int count = int(paths.size());
    if (ws.settings.confirmActions == 1) {
        ws.lastAnswer = ui.messageBox(QStringLiteral("Delete Files"),
                                      QStringLiteral("Delete ") + QString::number(count) +
                                          QStringLiteral(" file(s) ?"),
                                      MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer != Answer::Yes)
            return {true, 0};
    }

    setStatus(ui, true);
    ui.setCaption(applicationTitle() + QStringLiteral(" - Deleting File(s)"));
    ui.setProgressRange(0, count);
    int errors = 0;
    for (int i = 0; i < count; ++i) {
        ui.processEvents();
        const QString& path = paths[i];
        platform::FileResult result;
        if (ws.settings.recycleDeleted == 1) {
            result = platform::moveToTrash(path);
        } else {
            clearAttributes(path);
            result = platform::deleteFile(path);
        }
        if (result.ok) {
            logLine(ws, path + QStringLiteral(" deleted"));
        } else {
            ++errors;
            logLine(ws, failureLine(path, QStringLiteral("deleted"), result.reason));
        }
        ui.setProgressValue(i + 1);
    }

    rereadFiles(ws);
    refreshSelection(ws);
    if (!ws.hold.bypass)
        clearHoldList(ws);
    resetPreview(ws);
    updateCounters(ws);
    ui.setCaption(applicationTitle());
    setStatus(ui, false);
    reportErrors(ws, ui, errors);
    return {false, errors};
}

} // namespace dovi::fileops
