#pragma once
// A workspace over a temporary folder, with a scripted Ui and a scripted
// destination chooser: what every browser, file, batch and series test starts from.
#include "app/FileListing.h"
#include "app/FolderState.h"
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "fileops/DestinationChooser.h"
#include "imaging/Codecs.h"

#include "FileFaults.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <deque>
#include <memory>

namespace dovi::test {

class ScriptedChooser : public fileops::DestinationChooser {
public:
    std::deque<fileops::DestinationResult> results; // cancelled once empty

    void willChoose(const QString& folder, bool makeWorkingFolder = false) {
        results.push_back({false, folder, makeWorkingFolder});
    }
    fileops::DestinationResult choose(fileops::ChooserMode) override {
        if (results.empty())
            return {};
        const fileops::DestinationResult r = results.front();
        results.pop_front();
        return r;
    }
};

struct WorkspaceFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    ScriptedUi ui;
    ScriptedChooser chooser;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(programFolder());
        store = std::make_unique<IniStore>(iniPath());
        ws = std::make_unique<Workspace>(programFolder(), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->loadSettings();
        ws->filePattern = patternForFilter(ws->settings.filterIndex);
    }

    QString iniPath() const { return dir.filePath("Dovi.ini"); }
    QString programFolder() const { return dir.filePath("prog"); }
    QString storedValue(const QString& section, const QString& key) const {
        return IniStore(iniPath()).value(section, key, QStringLiteral("<none>"));
    }
    const QStringList& historyLines() const { return ws->history.lines(); }

    // A folder below the temporary folder, made with its parents when missing.
    QString folder(const QString& relative) const {
        const QString path = dir.filePath(relative);
        QDir().mkpath(path);
        return path;
    }
    // Files of the given names in a folder, each with bytes of its own.
    void makeFiles(const QString& in, const QStringList& names, qint64 size = 4096) {
        int seed = 0;
        for (const QString& n : names)
            ASSERT_TRUE(writeFile(in + "/" + n, patternedBytes(size, ++seed + int(qHash(n)))));
    }
    QString filesIn(const QString& relative, const QStringList& names) {
        const QString path = folder(relative);
        makeFiles(path, names);
        return path;
    }

    // Selects the named entries of the listed files (the list's own selection),
    // makes the first of them the current entry, and refreshes when asked.
    void select(const QStringList& names, bool refresh = true) {
        ws->files.selectNone();
        ws->files.setCurrent(-1);
        for (const QString& n : names) {
            const int i = int(ws->files.indexOf(n));
            ASSERT_GE(i, 0) << n.toStdString();
            ws->files.setSelected(i, true);
            if (ws->files.current() < 0)
                ws->files.setCurrent(i);
        }
        if (refresh)
            refreshSelection(*ws);
    }
    // The browser shows a folder with the named files selected.
    void show(const QString& in, const QStringList& selectedNames = {}) {
        changeFolder(*ws, in);
        select(selectedNames);
    }
};

// For batch and series work: a shown folder of pictures listing every file,
// and a 100 x 100 processing box.
struct PicturesFixture : WorkspaceFixture {
    QString pics;
    void SetUp() override {
        WorkspaceFixture::SetUp();
        ws->settings.processWidth = 100;
        ws->settings.processHeight = 100;
        ws->currentFolder = pics = folder("pics");
        ws->filePattern = QStringLiteral("*.*");
    }
    QString pic(const QString& name) const { return pics + "/" + name; }
    QStringList paths(const QStringList& names) const {
        QStringList out;
        for (const QString& n : names)
            out << pic(n);
        return out;
    }
    // Files holding their own names, so a test sees which file went where.
    QStringList make(const QStringList& names) {
        for (const QString& n : names)
            writeFile(pic(n), n.toUtf8());
        return paths(names);
    }
    QString content(const QString& name) const { return QString::fromUtf8(readFile(pic(name))); }
    QString seriesPath() const { return programFolder() + "/series.dat"; }
    QByteArray seriesDat() const { return readFile(seriesPath()); }
};

inline void writeImage(const QString& path, QSize size, imaging::FormatCode format) {
    imaging::Image image;
    image.pixels = makeTestPattern(size.width(), size.height());
    image.format = format;
    ASSERT_TRUE(imaging::saveImageFile(image, path, format, {})) << path.toStdString();
}

// Lines with a folder replaced by "<dir>", so runs in two folders compare.
inline QStringList relativeLines(QStringList lines, const QString& folder) {
    for (QString& l : lines)
        l.replace(folder, QStringLiteral("<dir>"));
    return lines;
}

} // namespace dovi::test
