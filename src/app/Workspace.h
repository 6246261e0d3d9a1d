#pragma once
#include "app/IniStore.h"
#include "app/Settings.h"
#include "app/SettingsTable.h"
#include "app/Ui.h"

#include <QObject>
#include <QString>

namespace dovi {

// The state every window and operation shares, without a widget in sight:
// the settings values, the program folder, and the shared flags. Operations
// receive it explicitly; windows observe it through its signals.
class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(QString programFolder, IniStore& store, SettingsEnvironment environment);

    Settings settings;

    // Stop requests polled between files by long loops.
    bool processAbort = false;
    bool abortRequested = false;
    // The answer to the last Yes/No question asked before a file command.
    Answer lastAnswer = Answer::No;

    const QString& programFolder() const { return programFolder_; }
    QString tempFolder() const;
    IniStore& store() { return store_; }
    const SettingsEnvironment& environment() const { return environment_; }

    void loadSettings();
    void saveSettings();
    void saveSetting(const QString& key);

    // Tells observers that settings changed in memory (the processing panel,
    // the lists' attribute rules).
    void announceSettingsChanged() { emit settingsChanged(); }

signals:
    void settingsChanged();

private:
    QString programFolder_;
    IniStore& store_;
    SettingsEnvironment environment_;
};

} // namespace dovi
