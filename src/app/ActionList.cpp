#include "app/ActionList.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"

namespace dovi {

std::optional<QStringList> buildActionList(const Workspace& ws, Ui& ui) {
    if (!ws.hold.isEmpty() && !ws.hold.bypass)
        return ws.hold.fullPaths();
    const QStringList& names = !ws.selected.isEmpty() ? ws.selected : ws.files.names();
    if (names.isEmpty()) {
        showMessage(ui, QStringLiteral("No files to action!"));
        return std::nullopt;
    }
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(fullPath(ws, name));
    return paths;
}

} // namespace dovi
