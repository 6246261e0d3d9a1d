#include "series/AddToSeries.h"

#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "series/SeriesCreation.h"
#include "series/SeriesHistory.h"
#include "series/SeriesRenaming.h"

#include <limits>

namespace dovi::series {

namespace {
QStringList textsOf(const QList<SeriesRecord>& records) {
    QStringList out;
    for (const SeriesRecord& r : records)
        out << r.text;
    return out;
}
} // namespace

bool seriesHistoryAvailable(Workspace& ws, Ui& ui) {
    if (fileExists(seriesHistoryPath(ws.programFolder())))
        return true;
    showMessage(ui, kNoHistoryMessage);
    return false;
}

QStringList loadSeriesTexts(Workspace& ws, Ui& ui) {
    const SeriesHistoryRead read = readSeriesHistory(ws.programFolder());
    if (read.damaged || !read.exists || !read.error.isEmpty())
        showMessage(ui, kNoRecordsMessage);
    return textsOf(read.records);
}

AddStep doAddition(Workspace& ws, Ui& ui, const QStringList& targets,
                   const QStringList& selectedTexts) {
    if (selectedTexts.isEmpty()) {
        showMessage(ui, kSelectSeriesMessage);
        return AddStep::Stay;
    }
    const QString chosen = selectedTexts.last();
    const SeriesHistoryRead read = readSeriesHistory(ws.programFolder());
    const SeriesRecord* found = nullptr;
    for (const SeriesRecord& r : read.records) {
        if (r.text == chosen) {
            found = &r;
            break;
        }
    }
    if (!found) {
        // The history changed on disk since the window read it.
        showMessage(ui, kNoRecordsMessage);
        return AddStep::Stay;
    }
    if (found->text.contains(QLatin1Char('/'))) {
        // A hand-edited history: the files would move to another folder.
        showMessage(ui, kSlashInTextMessage);
        return AddStep::Stay;
    }
    if (qint64(found->nextIndex) + targets.size() > std::numeric_limits<qint32>::max()) {
        showMessage(ui, kIndexNotNumericMessage);
        return AddStep::Stay;
    }
    const SeriesRecord record = *found;

    setStatus(ui, true);
    ui.setProgressRange(0, static_cast<int>(targets.size()));
    const SeriesRenameRun run =
        renameIntoSeries(ws, ui, targets, record.text, record.nextIndex, record.prefix);
    QString error;
    if (!rewriteSeriesHistory(ws.programFolder(), {record.text},
                              {{record.text, static_cast<qint32>(run.nextIndex), record.prefix}},
                              &error))
        reportHistoryNotWritten(ui, error);
    if (!ws.hold.bypass && !ws.hold.isEmpty())
        clearHoldList(ws);
    rereadAndRefreshSelection(ws);
    resetPreview(ws);
    setStatus(ui, false);
    reportRenameErrors(ws, ui, run.errors);
    return AddStep::Close;
}

RemoveOutcome removeSeries(Workspace& ws, Ui& ui, const QStringList& selectedTexts) {
    RemoveOutcome out;
    const int count = static_cast<int>(selectedTexts.size());
    if (count == 0) {
        showMessage(ui, kSelectSeriesMessage);
        return out;
    }
    if (ws.settings.confirmActions == 1) {
        const QString question = count == 1 ? QStringLiteral("Remove selected item?")
                                            : QStringLiteral("Remove ") + QString::number(count) +
                                                  QStringLiteral(" selected items?");
        ws.lastAnswer = ui.messageBox(QStringLiteral("Remove Series"), question,
                                      MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer == Answer::No)
            return out;
    }
    setStatus(ui, true);
    QString error;
    if (!rewriteSeriesHistory(ws.programFolder(), selectedTexts, {}, &error))
        reportHistoryNotWritten(ui, error);
    setStatus(ui, false);
    out.reloaded = true;
    const SeriesHistoryRead read = readSeriesHistory(ws.programFolder());
    out.texts = textsOf(read.records);
    if (out.texts.isEmpty()) {
        // Only a history read whole and found empty goes; one that cannot be
        // read is no proof of that.
        if (read.error.isEmpty() && !anyRecordIn(ws.programFolder()))
            deleteSeriesHistory(ws.programFolder());
        out.step = AddStep::Close;
    }
    return out;
}

} // namespace dovi::series
