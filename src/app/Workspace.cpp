#include "app/Workspace.h"

#include "app/ProgramFiles.h"

namespace dovi {

Workspace::Workspace(QString programFolder, IniStore& store, SettingsEnvironment environment)
    : programFolder_(std::move(programFolder)), store_(store),
      environment_(std::move(environment)) {}

QString Workspace::tempFolder() const {
    return programFilePath(programFolder_, kTempFolderName);
}

void Workspace::addHistory(const QString& line) {
    history.add(line, settings.historyLimit);
    emit historyChanged();
}

void Workspace::loadSettings() {
    loadAllSettings(settings, store_, environment_);
    emit settingsChanged();
}

void Workspace::saveSettings() {
    noteSettingsWrite(saveAllSettings(settings, store_));
}

void Workspace::saveSetting(const QString& key) {
    noteSettingsWrite(dovi::saveSetting(settings, store_, key));
}

void Workspace::noteSettingsWrite(bool written) {
    // Told once when writing starts to fail, not at every save: the saves
    // come with every activation of the main window, and so would the boxes.
    if (!written && !settingsWriteFailing_)
        emit settingsWriteFailed(store_.filePath());
    settingsWriteFailing_ = !written;
}

} // namespace dovi
