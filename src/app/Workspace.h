#pragma once
#include "app/FileList.h"
#include "app/HoldList.h"
#include "app/IniStore.h"
#include "app/RunningHistory.h"
#include "app/Settings.h"
#include "app/SettingsTable.h"
#include "app/Ui.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace dovi {

// The state every window and operation shares, without a widget in sight:
// the settings values, the program folder, and the shared flags. Operations
// receive it explicitly; windows observe it through its signals.
class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(QString programFolder, IniStore& store, SettingsEnvironment environment);

    Settings settings;

    // The browser: the folder shown (no trailing "/" except the root "/"),
    // the name pattern of the file list, and the names it lists with what the
    // user has selected and focused right now (kept by the window).
    QString currentFolder;
    QString filePattern;
    FileList files;
    // The errno of the last failed read of the folder shown (0 when it was
    // read): an unreadable folder says so rather than looking empty.
    int folderReadError = 0;
    // The selection other operations see: names selected at the last refresh.
    QStringList selected;
    // A second listing of the current folder for folder statistics: same
    // pattern, archive and read-only shown, hidden and system not.
    QStringList sizer;

    HoldList hold;
    RunningHistory history;

    // True while the preview shows a file whose facts are on the labels.
    bool previewValid = false;

    // Stop requests polled between files by long loops.
    bool processAbort = false;
    bool abortRequested = false;
    // A right press on the folder tree marks the click that follows it to
    // leave the list alone. Its own flag: sharing the detailed list's stop
    // request, a right press would stop a list and a cancelled list would
    // swallow the next click.
    bool skipNextTreeClick = false;
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

    // Appends a line to the running history (callers check historyLimit first,
    // as a rule; a line written with the history off is dropped at once).
    void addHistory(const QString& line);

signals:
    void settingsChanged();
    // The folder shown changed; the tree follows it.
    void currentFolderChanged(const QString& folder);
    // The file list was re-read (names and selection flags may have changed).
    void filesChanged();
    // The counters' numbers (total, selected, held) may have changed.
    void countersChanged();
    void holdListChanged();
    void historyChanged();
    // The preview must show the logo with empty labels (valid false), or the
    // facts of the file just measured (valid true).
    void previewReset();
    // The settings store could not be written (told once until a write works
    // again).
    void settingsWriteFailed(const QString& storePath);

private:
    void noteSettingsWrite(bool written);

    QString programFolder_;
    IniStore& store_;
    SettingsEnvironment environment_;
    bool settingsWriteFailing_ = false;
};

} // namespace dovi
