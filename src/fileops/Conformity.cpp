#include "fileops/Conformity.h"

#include "app/ActionList.h"
#include "app/CommandFrame.h"
#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "platform/FileCopy.h"

namespace dovi::fileops {

namespace {

// Where the extension's dot is in path, or -1.
qsizetype extensionDot(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? dot : -1;
}

// "*", "?" and "|" as the box refuses them; "/" too, since on Linux it would
// send the file into another folder.
bool refusedAnswer(const QString& answer) {
    for (const QChar c : answer)
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('|') ||
            c == QLatin1Char('/'))
            return true;
    return false;
}

QString askForExtension(Ui& ui, const QString& preset) {
    static const QString title = QStringLiteral("Extension Conformity");
    static const QString prompt = QStringLiteral(
        "Please enter the new extension.\nEntering $U or $L will simply convert case.");
    QString answer;
    do {
        answer = ui.inputText(title, prompt, preset).value_or(QString());
    } while (refusedAnswer(answer));
    return answer;
}

} // namespace

std::optional<QString> extensionOf(const QString& path) {
    const qsizetype dot = extensionDot(path);
    if (dot < 0)
        return std::nullopt;
    return path.mid(dot + 1);
}

std::optional<QString> conformedPath(const QString& path, const QString& answer) {
    const bool upper = answer.compare(QStringLiteral("$U"), Qt::CaseInsensitive) == 0;
    const bool lower = answer.compare(QStringLiteral("$L"), Qt::CaseInsensitive) == 0;
    const qsizetype dot = extensionDot(path);
    if (dot < 0) {
        if (upper || lower)
            return std::nullopt;
        return path + QLatin1Char('.') + answer;
    }
    const QString stem = path.left(dot + 1);
    const QString extension = path.mid(dot + 1);
    if (upper)
        return stem + extension.toUpper();
    if (lower)
        return stem + extension.toLower();
    return stem + answer;
}

void conformExtensions(Workspace& ws, Ui& ui) {
    const std::optional<QStringList> targets = buildActionList(ws, ui);
    if (!targets)
        return;
    const QStringList& paths = *targets;
    const QString answer =
        askForExtension(ui, extensionOf(paths.first()).value_or(QString()).toLower());

    int errors = 0;
    if (!answer.isEmpty()) {
        setStatus(ui, true);
        ui.setProgressRange(0, int(paths.size()));
        for (int i = 0; i < paths.size(); ++i) {
            const QString& path = paths[i];
            const std::optional<QString> renamed = conformedPath(path, answer);
            // A file that has the extension already is done: nothing to do.
            if (renamed && *renamed != path) {
                clearAttributes(path);
                // Never onto another file: on a file system that tells case
                // apart, a.JPG beside a.jpg is a different picture.
                const platform::FileResult result = platform::renameNoReplace(path, *renamed);
                if (!result.ok) {
                    ++errors;
                    logLine(ws, failureLine(path, QStringLiteral("renamed to ") + *renamed,
                                            result.reason));
                }
            }
            ui.setProgressValue(i + 1);
        }
        setStatus(ui, false);
    }

    if (!ws.hold.bypass && !ws.hold.isEmpty() && !answer.isEmpty())
        clearHoldList(ws);
    rereadAndRefreshSelection(ws);
    reportErrors(ws, ui, errors, QStringLiteral(" Possible duplications."));
}

} // namespace dovi::fileops
