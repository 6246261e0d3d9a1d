#include "browser/FolderStatistics.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "browser/PreviewFacts.h"

#include <QFileInfo>

namespace dovi::browser {

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
        out.colours = groupThousands(qRound64(total)) + QStringLiteral("(b)");
        out.bpp = QStringLiteral("Avg Size: ") +
                  groupThousands(qRound64(total / double(names.size()))) + QStringLiteral("(b)");
    }
    setStatus(ui, false);
    return out;
}

} // namespace dovi::browser
