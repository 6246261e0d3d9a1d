#include "app/ActionList.h"

#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "app/FolderState.h"

namespace dovi {

void buildActionList(Workspace& ws, Ui& ui) {
    ws.targets.clear();
    ws.actionListEmpty = false;
    if (!ws.hold.isEmpty() && !ws.hold.bypass) {
        ws.targets = ws.hold.fullPaths();
        return;
    }
    const QStringList& names = !ws.selected.isEmpty() ? ws.selected : ws.files;
    if (names.isEmpty()) {
        showMessage(ui, QStringLiteral("No files to action!"));
        ws.actionListEmpty = true;
        return;
    }
    for (const QString& name : names)
        ws.targets.append(fullPath(ws, name));
}

} // namespace dovi
