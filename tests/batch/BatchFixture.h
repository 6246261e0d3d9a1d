#pragma once
// A workspace over a temporary folder, a scripted Ui, and ways to make image
// files, for the batch and series tests.
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "imaging/Codecs.h"

#include "FileFaults.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace dovi::test {

struct BatchFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    ScriptedUi ui;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath("prog"));
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        ws = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->settings.processWidth = 100;
        ws->settings.processHeight = 100;
        ws->currentFolder = folder("pics");
        ws->filePattern = QStringLiteral("*.*");
    }

    QString folder(const QString& name) const {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }
    QString programFolder() const { return dir.filePath("prog"); }

    QStringList historyLines() const { return ws->history.lines(); }
};

inline void writeImage(const QString& path, QSize size, imaging::FormatCode format,
                       bool alpha = false) {
    imaging::Image image;
    image.pixels = makeTestPattern(size.width(), size.height(), alpha);
    image.format = format;
    ASSERT_TRUE(imaging::saveImageFile(image, path, format, {})) << path.toStdString();
}

// Lines with the temporary folder replaced by "<dir>", so runs in two
// folders compare.
inline QStringList relativeLines(QStringList lines, const QString& folder) {
    for (QString& l : lines)
        l.replace(folder, QStringLiteral("<dir>"));
    return lines;
}

} // namespace dovi::test
