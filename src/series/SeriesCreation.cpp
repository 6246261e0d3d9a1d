#include "series/SeriesCreation.h"

#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "series/SeriesHistory.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace dovi::series {

std::optional<qint32> parseStartIndex(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // ties to even in the default mode
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

SeriesStep submitSeries(Workspace& ws, Ui& ui, const QStringList& targets,
                        const SeriesRequest& request) {
    if (request.text.isEmpty() || request.index.isEmpty()) {
        showMessage(ui, kRequiredDataMessage);
        return SeriesStep::FocusSeries;
    }
    if (request.text.contains(QLatin1Char('/'))) {
        showMessage(ui, kSlashInTextMessage);
        return SeriesStep::FocusSeries;
    }
    const auto start = parseStartIndex(request.index);
    // The next free index is recorded as a 32-bit number too, so the whole
    // run must fit.
    if (!start || qint64(*start) + targets.size() > std::numeric_limits<qint32>::max()) {
        showMessage(ui, kIndexNotNumericMessage);
        return SeriesStep::FocusIndex;
    }
    const SeriesRenameRun run =
        seriesCreation(ws, ui, targets, request.text, *start, request.prefix, request.addToHistory);
    if (!ws.hold.bypass && !ws.hold.isEmpty())
        clearHoldList(ws);
    rereadAndRefreshSelection(ws);
    reportRenameErrors(ws, ui, run.errors);
    return SeriesStep::Done;
}

SeriesRenameRun seriesCreation(Workspace& ws, Ui& ui, const QStringList& targets,
                               const QString& text, qint32 startIndex, bool prefix,
                               bool addToHistory) {
    if (text.contains(QLatin1Char('/')))
        return {startIndex + targets.size(), static_cast<int>(targets.size())};
    ui.setProgressRange(0, static_cast<int>(targets.size()));
    ui.setProgressValue(0);
    setStatus(ui, true);
    const SeriesRenameRun run = renameIntoSeries(ws, ui, targets, text, startIndex, prefix);
    if (addToHistory) {
        QString error;
        const SeriesRecord record{text, static_cast<qint32>(run.nextIndex), prefix};
        if (!rewriteSeriesHistory(ws.programFolder(), {}, {record}, &error))
            reportHistoryNotWritten(ui, error);
    }
    setStatus(ui, false);
    return run;
}

void clearSeriesHistory(Workspace& ws, Ui& ui) {
    ws.lastAnswer =
        ui.messageBox(QStringLiteral("Purge History"), QStringLiteral("Clear series history?"),
                      MessageButtons::YesNo, MessageIcon::Question);
    if (ws.lastAnswer != Answer::No)
        deleteSeriesHistory(ws.programFolder());
}

void reportHistoryNotWritten(Ui& ui, const QString& error) {
    showMessage(ui, QStringLiteral("The series history could not be written - ") + error);
}

} // namespace dovi::series
