#pragma once
// A workspace over a temporary folder, a scripted Ui that keeps more of what
// it was shown, and a scripted destination chooser: what every file command
// test starts from.
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "browser/BrowserState.h"
#include "browser/FileListing.h"
#include "fileops/DestinationChooser.h"

#include "FileFaults.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

namespace dovi::test {

class ScriptedChooser : public fileops::DestinationChooser {
public:
    std::deque<fileops::DestinationResult> results; // cancelled once empty
    QList<fileops::ChooserMode> modes;

    void willChoose(const QString& folder, bool makeWorkingFolder = false) {
        results.push_back({false, folder, makeWorkingFolder});
    }
    fileops::DestinationResult choose(fileops::ChooserMode mode) override {
        modes << mode;
        if (results.empty())
            return {};
        const fileops::DestinationResult r = results.front();
        results.pop_front();
        return r;
    }
};

// Also keeps every progress value, the preset text of every input box, and
// runs onEvents whenever pending events are let through (a click mid-run).
class RecordingUi : public ScriptedUi {
public:
    QList<int> progressValues;
    QStringList inputPresets;
    std::function<void()> onEvents;

    void setProgressValue(int value) override {
        ScriptedUi::setProgressValue(value);
        progressValues << value;
    }
    std::optional<QString> inputText(const QString& title, const QString& prompt,
                                     const QString& initial) override {
        inputPresets << initial;
        return ScriptedUi::inputText(title, prompt, initial);
    }
    void processEvents() override {
        ScriptedUi::processEvents();
        if (onEvents)
            onEvents();
    }
    int highestProgress() const {
        int top = 0;
        for (int v : progressValues)
            top = std::max(top, v);
        return top;
    }
};

struct FileOpsFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    RecordingUi ui;
    ScriptedChooser chooser;

    void SetUp() override {
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        ws = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->loadSettings();
        ws->filePattern = browser::patternForFilter(ws->settings.filterIndex);
    }

    // A folder below the test's temporary folder, made when missing.
    QString folder(const QString& name) const {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    // Files of the given names in folder, each with bytes of its own.
    void makeFiles(const QString& in, const QStringList& names, qint64 size = 4096) {
        int seed = 0;
        for (const QString& n : names)
            ASSERT_TRUE(writeFile(in + "/" + n, patternedBytes(size, ++seed + int(qHash(n)))));
    }

    // The browser shows folder with the named files selected.
    void show(const QString& in, const QStringList& selectedNames = {}) {
        browser::changeFolder(*ws, in);
        for (int i = 0; i < ws->files.size(); ++i)
            ws->fileSelected[i] = selectedNames.contains(ws->files[i]);
        browser::refreshSelection(*ws);
    }

    const QStringList& history() const { return ws->history.lines(); }
};

} // namespace dovi::test
