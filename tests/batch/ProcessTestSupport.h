#pragma once
#include "batch/ProcessOptions.h"
#include "batch/ProcessRun.h"

#include "WorkspaceFixture.h"

#include <functional>

namespace dovi::test {

// The run's reports, kept; optionally stops after some files, and lets a
// test act at the moment an output is about to take its name.
struct RecordingObserver : batch::ProcessObserver {
    explicit RecordingObserver(int abortAfter = -1) : abortAfter(abortAfter) {}
    int abortAfter, finished = 0;
    QStringList log, history;
    std::function<void(const QString& source)> onCommit;

    void logLine(const QString& line) override { log << line; }
    void historyLine(const QString& line) override { history << line; }
    void fileFinished(int) override { ++finished; }
    bool abortRequested() override { return abortAfter >= 0 && finished >= abortAfter; }
    void beforeCommit(const QString& source, const QString&) override {
        if (onCommit)
            onCommit(source);
    }
};

// A folder of mixed files: pictures of each format, a text file and a broken
// JPEG, listed in an order that mixes the outcomes.
inline QStringList mixedFolder(const QString& folder, const QString& jpeg) {
    writeImage(folder + "/a.bmp", {200, 100}, imaging::Bmp);
    writeImage(folder + "/b.tga", {50, 50}, imaging::Tga);
    writeImage(folder + "/" + jpeg, {300, 300}, imaging::Jpeg);
    writeImage(folder + "/c.pcx", {400, 200}, imaging::Pcx);
    writeFile(folder + "/notes.txt", "not an image");
    writeFile(folder + "/broken.jpg", readFile(folder + "/" + jpeg).left(300));
    QStringList files;
    for (const QString& n : {QString("a.bmp"), QString("notes.txt"), QString("b.tga"), jpeg,
                             QString("broken.jpg"), QString("c.pcx")})
        files << folder + "/" + n;
    return files;
}

// A run converting into the alternate format (0 JPEG, 1 BMP, 2 TGA, 3 PCX).
inline batch::ProcessOptions convertTo(int format, bool deleteOriginal = false) {
    batch::ProcessOptions o;
    o.convertOnly = true;
    o.altSaveFormatOn = true;
    o.altSaveFormat = format;
    o.deleteOriginal = deleteOriginal;
    return o;
}

} // namespace dovi::test
