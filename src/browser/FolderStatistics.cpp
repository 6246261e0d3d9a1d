#include "browser/FolderStatistics.h"

#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "browser/BrowserState.h"

#include <QFileInfo>
#include <QLocale>

namespace dovi::browser {

namespace {

// Digits grouped by the locale's thousands separator; 0 reads as nothing.
QString grouped(qint64 value) {
    return value == 0 ? QString() : QLocale().toString(value);
}

} // namespace

FolderStatistics showFolderStatistics(Workspace& ws, Ui& ui) {
    setStatus(ui, true);
    FolderStatistics out;
    const QStringList names = ws.sizer;
    if (names.isEmpty()) {
        out.size = QStringLiteral("Current Folder Size");
        out.colours = QStringLiteral("Empty Folder");
    } else {
        ui.setProgressRange(0, int(names.size()));
        ui.setProgressCaption(QStringLiteral("Calculating Folder Size"));
        double total = 0;
        for (int i = 0; i < names.size(); ++i) {
            total += double(QFileInfo(fullPath(ws, names[i])).size());
            ui.setProgressValue(i + 1);
        }
        out.size = QStringLiteral("Total Displayed Files");
        out.colours = grouped(qRound64(total)) + QStringLiteral("(b)");
        out.bpp = QStringLiteral("Avg Size: ") + grouped(qRound64(total / double(names.size()))) +
                  QStringLiteral("(b)");
    }
    setStatus(ui, false);
    return out;
}

} // namespace dovi::browser
