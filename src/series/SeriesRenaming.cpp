#include "series/SeriesRenaming.h"

#include "app/CommandFrame.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "platform/FileCopy.h"

namespace dovi::series {

QString folderPart(const QString& source) {
    return source.left(source.lastIndexOf(QLatin1Char('/')) + 1);
}

QString extensionPart(const QString& source) {
    const qsizetype nameStart = source.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? source.mid(dot) : QString();
}

QString seriesTarget(const QString& source, const QString& text, qint64 index, bool prefix) {
    const QString number = QString::number(index);
    return folderPart(source) + (prefix ? number + text : text + number) + extensionPart(source);
}

QString markedTarget(const QString& target) {
    const qsizetype nameStart = target.lastIndexOf(QLatin1Char('/')) + 1;
    return target.left(nameStart) + QStringLiteral("_!_") + target.mid(nameStart);
}

SeriesRenameRun renameIntoSeries(Workspace& ws, Ui& ui, const QStringList& targets,
                                 const QString& text, qint64 startIndex, bool prefix) {
    SeriesRenameRun run;
    run.nextIndex = startIndex;
    for (const QString& source : targets) {
        QString target = seriesTarget(source, text, run.nextIndex, prefix);
        if (fileExists(target))
            target = markedTarget(target);
        platform::FileResult result;
        if (target.mid(folderPart(source).size()).contains(QLatin1Char('/'))) {
            // A "/" in the series text would move the file to another folder.
            result = platform::FileResult::failed(
                QStringLiteral("the series text is not a valid file name"));
        } else {
            clearAttributes(source);
            // Never over an existing file: a name taken since the test above
            // is refused, not replaced.
            result = platform::renameNoReplace(source, target);
        }
        if (result.ok) {
            logLine(ws, source + QStringLiteral(" renamed to ") + target);
        } else {
            ++run.errors;
            logLine(ws, failureLine(source, QStringLiteral("renamed to ") + target, result.reason));
        }
        ++run.nextIndex;
        ui.setProgressValue(static_cast<int>(run.nextIndex - startIndex));
    }
    return run;
}

void reportRenameErrors(const Workspace& ws, Ui& ui, int errors) {
    reportErrors(ws, ui, errors);
}

} // namespace dovi::series
