#include "fileops/Rename.h"

#include "app/ActionList.h"
#include "app/CommandFrame.h"
#include "app/FolderState.h"
#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "platform/FileCopy.h"

namespace dovi::fileops {

Highlight renameHighlight(const QString& text) {
    if (!text.contains(QLatin1Char('.')))
        return {0, int(text.size())};
    return {0, std::max(0, int(text.size()) - 4)};
}

RenameStep submitNewName(Workspace& ws, Ui& ui, const QString& oldName, const QString& newName) {
    if (newName.isEmpty()) {
        showMessage(ui, QStringLiteral("Please enter the new name."));
        return RenameStep::Stay;
    }
    static const QString invalid = QStringLiteral("/\\*?");
    for (const QChar c : newName) {
        if (invalid.contains(c)) {
            showMessage(ui, QStringLiteral("The name contains an invalid character."));
            return RenameStep::StayAndHighlight;
        }
    }
    const QString target = fullPath(ws, newName);
    if (fileExists(target)) {
        showMessage(ui, QStringLiteral("File ") + target + QStringLiteral(" already exists"));
        return RenameStep::StayAndHighlight;
    }
    const QString source = fullPath(ws, oldName);
    clearAttributes(source);
    const platform::FileResult result = platform::renameNoReplace(source, target);
    if (!result.ok) {
        logLine(ws, failureLine(source, QStringLiteral("renamed to ") + target, result.reason));
        showMessage(ui, QStringLiteral("File ") + source + QStringLiteral(" was not renamed - ") +
                            result.reason);
        return RenameStep::StayAndHighlight;
    }
    logLine(ws, source + QStringLiteral(" renamed to ") + target);
    return RenameStep::Renamed;
}

void renameFile(Workspace& ws, Ui& ui, const std::function<bool(const QString&)>& openWindow) {
    if (!buildActionList(ws, ui))
        return;
    if (ws.files.current() < 0) {
        showMessage(ui, QStringLiteral("Please select the file to rename."));
        return;
    }
    if (!openWindow(ws.files.at(ws.files.current())))
        return;
    rereadAndRefreshSelection(ws);
    resetPreview(ws);
}

} // namespace dovi::fileops
