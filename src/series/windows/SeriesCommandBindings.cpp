#include "series/windows/SeriesCommandBindings.h"

#include "app/ActionList.h"
#include "app/CommandDispatcher.h"
#include "series/AddToSeries.h"
#include "series/SeriesCreation.h"
#include "series/windows/AddSeriesWindow.h"
#include "series/windows/SeriesWindow.h"

#include <QPointer>

namespace dovi {

void bindSeriesCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;

    commands.bind(QStringLiteral("mnucreateseries"), [&ws, &ui, parent] {
        if (const auto targets = buildActionList(ws, ui)) {
            SeriesWindow window(parent, ws, ui, *targets);
            window.exec();
        }
    });
    commands.bind(QStringLiteral("mnuaddseries"), [&ws, &ui, parent] {
        const auto targets = buildActionList(ws, ui);
        if (!targets || !series::seriesHistoryAvailable(ws, ui))
            return;
        AddSeriesWindow window(parent, ws, ui, *targets);
        window.exec();
    });
    commands.bind(QStringLiteral("mnuclearhist"),
                  [&ws, &ui] { series::clearSeriesHistory(ws, ui); });
}

} // namespace dovi
