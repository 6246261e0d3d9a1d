#include "app/CommandFrame.h"

#include "app/Workspace.h"

namespace dovi {

void logLine(Workspace& ws, const QString& line) {
    if (ws.settings.historyLimit != 0)
        ws.addHistory(line);
}

void reportErrors(const Workspace& ws, Ui& ui, int errors, const QString& tail) {
    if (errors <= 0)
        return;
    const QString pointer = ws.settings.historyLimit != 0 ? kReasonsInHistory : QString();
    ui.messageBox(QStringLiteral("Errors"),
                  QString::number(errors) + QStringLiteral(" error(s) occurred.") + tail + pointer,
                  MessageButtons::Ok, MessageIcon::Information);
}

QString failureLine(const QString& what, const QString& done, const QString& why) {
    return what + QStringLiteral(" NOT ") + done + QStringLiteral(" - ") + why;
}

} // namespace dovi
