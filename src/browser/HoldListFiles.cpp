#include "browser/HoldListFiles.h"

#include "app/FolderState.h"
#include "app/ProgramFiles.h"
#include "app/QuotedFields.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "browser/ListFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dovi::browser {

namespace {

const QString kHoldExtension = QStringLiteral(".hld");
// Far above any real hold list (32767 paths of a few hundred bytes).
constexpr qint64 kMaxHoldListBytes = 64 * 1024 * 1024;

// A held entry must still be a file: a folder or a relative name (which would
// be looked up wherever the program happens to run) is not held again.
bool stillHoldable(const QString& entry) {
    return QDir::isAbsolutePath(entry) && fileExists(entry) && !QFileInfo(entry).isDir();
}

} // namespace

QStringList holdListLines(const QStringList& fullPaths) {
    QStringList lines;
    lines.reserve(fullPaths.size());
    for (const QString& path : fullPaths)
        lines << QLatin1Char('"') + path + QLatin1Char('"');
    return lines;
}

QStringList readHoldListEntries(const QString& text) {
    return readQuotedFields(text);
}

void saveHoldList(Workspace& ws, Ui& ui) {
    if (ws.hold.isEmpty()) {
        showMessage(ui, kHoldListEmptyMessage);
        return;
    }
    const QString chosen = ui.chooseSaveFile(
        kSaveHoldListTitle, joinPath(ws.currentFolder, kHoldListFileName), kHoldListFilter);
    if (chosen.isEmpty())
        return;
    const QString target = listFileTarget(chosen, kHoldExtension);
    if (fileExists(target) && !confirmOverwrite(ws, ui))
        return;
    QString error;
    if (!writeCrLfLines(target, holdListLines(ws.hold.fullPaths()), &error)) {
        showMessage(
            ui,
            QStringLiteral("Could not save %1: %2").arg(QDir::toNativeSeparators(target), error));
        return;
    }
    if (ws.settings.historyLimit != 0)
        ws.addHistory(QStringLiteral("Saved the hold list"));
}

void openHoldList(Workspace& ws, Ui& ui) {
    const QString chosen = ui.chooseOpenFile(
        kOpenHoldListTitle, joinPath(ws.currentFolder, kHoldListFileName), kHoldListFilter);
    if (chosen.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    if (!readListFile(chosen, kMaxHoldListBytes, bytes, &error)) {
        showMessage(
            ui,
            QStringLiteral("Could not open %1: %2").arg(QDir::toNativeSeparators(chosen), error));
        return;
    }
    ws.hold.clear();
    int added = 0;
    for (const QString& entry : readHoldListEntries(QString::fromLocal8Bit(bytes))) {
        if (!stillHoldable(entry))
            continue;
        ws.hold.append(entry);
        ++added;
    }
    if (!ws.hold.isEmpty())
        ws.hold.choose(0);
    emit ws.holdListChanged();
    if (added == 0) {
        ws.lastAnswer = ui.messageBox(kOpenHoldListTitle,
                                      QStringLiteral("These files no longer exist. Remove ") +
                                          QDir::toNativeSeparators(chosen) + QLatin1Char('?'),
                                      MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer == Answer::Yes) {
            clearAttributes(chosen);
            QFile::remove(chosen);
        }
    }
    updateCounters(ws);
    if (ws.settings.historyLimit != 0)
        ws.addHistory(QStringLiteral("Opened a hold list"));
}

} // namespace dovi::browser
