#include "app/FolderState.h"

#include "app/FileListing.h"
#include "app/ProgramFiles.h"
#include "app/Workspace.h"

#include <QDir>
#include <QFileInfo>

namespace dovi {

QString fullPath(const Workspace& ws, const QString& name) {
    return joinPath(ws.currentFolder, name);
}

QString normaliseFolder(const QString& folder) {
    if (folder.isEmpty())
        return folder;
    return QDir::cleanPath(folder);
}

void rereadFiles(Workspace& ws) {
    int error = 0;
    ws.files.reread(listFolder(ws.currentFolder, ws.filePattern,
                               AttributeRules::fromSettings(ws.settings), &error));
    ws.folderReadError = error;
    // A name no longer listed (deleted, renamed) is no longer selected, so no
    // count and no command meets it again.
    ws.selected.removeIf([&ws](const QString& name) { return !ws.files.contains(name); });
    emit ws.filesChanged();
}

namespace {

void rebuildSelected(Workspace& ws) {
    ws.selected = ws.files.selectedNames();
}

// The counters right after the file list was read from disk.
void countFreshListing(Workspace& ws) {
    if (AttributeRules::fromSettings(ws.settings) != AttributeRules::forStatistics()) {
        updateCounters(ws);
        return;
    }
    ws.sizer = ws.files.names();
    emit ws.countersChanged();
}

} // namespace

void rereadFilesAndCount(Workspace& ws) {
    rereadFiles(ws);
    countFreshListing(ws);
}

void rereadAndRefreshSelection(Workspace& ws) {
    rereadFiles(ws);
    rebuildSelected(ws);
    countFreshListing(ws);
}

void updateCounters(Workspace& ws) {
    ws.sizer = listFolder(ws.currentFolder, ws.filePattern, AttributeRules::forStatistics());
    emit ws.countersChanged();
}

void refreshSelection(Workspace& ws) {
    rebuildSelected(ws);
    updateCounters(ws);
}

void resetPreview(Workspace& ws) {
    ws.previewValid = false;
    emit ws.previewReset();
}

void changeFolder(Workspace& ws, const QString& folder) {
    ws.currentFolder = normaliseFolder(folder);
    ws.files = FileList();
    emit ws.currentFolderChanged(ws.currentFolder);
    rereadAndRefreshSelection(ws);
    resetPreview(ws);
}

void chooseFilter(Workspace& ws, int index) {
    ws.settings.filterIndex = index;
    const QString pattern = patternForFilter(index);
    if (!pattern.isEmpty())
        ws.filePattern = pattern;
    ws.files.selectNone();
    rereadAndRefreshSelection(ws);
    resetPreview(ws);
    ws.saveSetting(QStringLiteral("filter"));
}

void openStartupFolder(Workspace& ws) {
    const QString pattern = patternForFilter(ws.settings.filterIndex);
    if (!pattern.isEmpty())
        ws.filePattern = pattern;
    else if (ws.filePattern.isEmpty())
        ws.filePattern = patternForFilter(0);
    changeFolder(ws, existingStartupFolder(ws));
}

QString existingStartupFolder(const Workspace& ws) {
    QString folder = ws.settings.startupFolder;
    if (!QFileInfo(folder).isDir())
        folder = ws.environment().fallbackFolder;
    if (!QFileInfo(folder).isDir())
        folder = QDir::rootPath();
    return folder;
}

void applyAttributeRules(Workspace& ws) {
    rereadAndRefreshSelection(ws);
}

namespace {
QString panel(const char* label, qsizetype count) {
    return QLatin1String(label) + QString::number(count);
}
} // namespace

QString totalPanelText(const Workspace& ws) {
    return panel("Total : ", ws.files.size());
}
QString selectedPanelText(const Workspace& ws) {
    return panel("Selected : ", ws.selected.size());
}
QString heldPanelText(const Workspace& ws) {
    return panel("Held : ", ws.hold.count());
}

} // namespace dovi
