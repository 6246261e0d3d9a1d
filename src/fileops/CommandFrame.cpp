#include "fileops/CommandFrame.h"

#include "app/Workspace.h"
#include "browser/BrowserState.h"

namespace dovi::fileops {

void logLine(Workspace& ws, const QString& line) {
    if (ws.settings.historyLimit != 0)
        ws.addHistory(line);
}

void releaseHoldList(Workspace& ws) {
    ws.hold.clear();
    ws.hold.bypass = false;
    emit ws.holdListChanged();
    browser::updateCounters(ws);
}

void reportErrors(Ui& ui, int errors, const QString& tail) {
    if (errors > 0)
        ui.messageBox(QStringLiteral("Errors"),
                      QString::number(errors) + QStringLiteral(" error(s) occurred.") + tail,
                      MessageButtons::Ok, MessageIcon::Information);
}

QString failureLine(const QString& what, const QString& done, const QString& why) {
    return what + QStringLiteral(" NOT ") + done + QStringLiteral(" - ") + why;
}

} // namespace dovi::fileops
