#include "app/HoldListOperations.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace dovi {

namespace {

void chooseFirstEntry(Workspace& ws) {
    if (!ws.hold.isEmpty())
        ws.hold.choose(0);
}

bool historyOn(const Workspace& ws) {
    return ws.settings.historyLimit != 0;
}

// The chosen entry's index, or -1 after telling the user to choose one.
int chosenEntryOrWarn(const Workspace& ws, Ui& ui) {
    const int i = ws.hold.chosenIndex();
    if (ws.hold.isEmpty() || i < 0 || ws.hold.names().at(i).isEmpty()) {
        showMessage(ui, kSelectHoldItemMessage);
        return -1;
    }
    return i;
}

} // namespace

void addToHoldList(Workspace& ws) {
    for (const QString& name : ws.selected) {
        const QString path = fullPath(ws, name);
        ws.hold.append(path);
        if (historyOn(ws))
            ws.addHistory(path + QStringLiteral(" added to hold list"));
    }
    chooseFirstEntry(ws);
    emit ws.holdListChanged();
    updateCounters(ws);
}

void removeFromHoldList(Workspace& ws, Ui& ui) {
    const int i = chosenEntryOrWarn(ws, ui);
    if (i < 0)
        return;
    if (historyOn(ws))
        ws.addHistory(ws.hold.fullPaths().at(i) + QStringLiteral(" removed from hold list"));
    ws.hold.removeAt(i);
    chooseFirstEntry(ws);
    emit ws.holdListChanged();
    updateCounters(ws);
}

void goToHeldPath(Workspace& ws, Ui& ui) {
    const int i = chosenEntryOrWarn(ws, ui);
    if (i < 0)
        return;
    const QString folder = HoldList::folderPart(ws.hold.fullPaths().at(i));
    if (!QFileInfo(folder).isDir()) {
        showMessage(ui, QStringLiteral("The folder %1 no longer exists")
                            .arg(QDir::toNativeSeparators(normaliseFolder(folder))));
        return;
    }
    changeFolder(ws, folder);
}

void clearHoldList(Workspace& ws) {
    ws.hold.clear();
    ws.hold.bypass = false;
    emit ws.holdListChanged();
    updateCounters(ws);
}

void dropHeldFiles(Workspace& ws, const QStringList& fullPaths) {
    const QSet<QString> gone(fullPaths.begin(), fullPaths.end());
    for (int i = ws.hold.count() - 1; i >= 0; --i)
        if (gone.contains(ws.hold.fullPaths().at(i)))
            ws.hold.removeAt(i);
    if (ws.hold.isEmpty()) {
        clearHoldList(ws);
        return;
    }
    chooseFirstEntry(ws);
    emit ws.holdListChanged();
    updateCounters(ws);
}

void chooseHeldEntry(Workspace& ws, int index) {
    ws.hold.choose(index);
}

void setBypassHoldList(Workspace& ws, bool bypass) {
    ws.hold.bypass = bypass;
}

} // namespace dovi
