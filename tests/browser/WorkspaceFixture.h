#pragma once
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "browser/BrowserState.h"
#include "browser/FileListing.h"

#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace dovi::test {

// A workspace over a temporary folder tree with a scripted Ui, its settings
// stored in a temporary file.
struct WorkspaceFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    ScriptedUi ui;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<IniStore>(iniPath());
        ws = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->loadSettings();
        ws->filePattern = browser::patternForFilter(ws->settings.filterIndex);
    }

    QString iniPath() const { return dir.filePath("Dovi.ini"); }
    QString storedValue(const QString& section, const QString& key) const {
        return IniStore(iniPath()).value(section, key, QStringLiteral("<none>"));
    }

    // Creates the folder (and its parents) under the temporary folder.
    QString folder(const QString& relative) const {
        const QString path = dir.filePath(relative);
        QDir().mkpath(path);
        return path;
    }
    // Writes files of the given size into a folder; returns the folder.
    QString filesIn(const QString& relative, const QStringList& names, int size = 1) const {
        const QString path = folder(relative);
        for (const QString& n : names)
            writeFile(path + "/" + n, QByteArray(size, 'x'));
        return path;
    }

    // Selects the named entries of the listed files (the list's own
    // selection), makes the first of them the current entry, and refreshes.
    void select(const QStringList& names, bool refresh = true) {
        ws->fileSelected.fill(false, ws->files.size());
        ws->currentEntry = -1;
        for (const QString& n : names) {
            const int i = int(ws->files.indexOf(n));
            ASSERT_GE(i, 0) << n.toStdString();
            ws->fileSelected[i] = true;
            if (ws->currentEntry < 0)
                ws->currentEntry = i;
        }
        if (refresh)
            browser::refreshSelection(*ws);
    }
};

} // namespace dovi::test
