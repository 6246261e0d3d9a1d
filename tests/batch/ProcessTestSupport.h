#pragma once
// What the processing tests share: the log window and the observer as
// recordings, and a folder of mixed files.
#include "batch/ProcessFiles.h"
#include "batch/ProcessRun.h"

#include "WorkspaceFixture.h"

#include <functional>

namespace dovi::test {

// The log window as a list of what happened to it, in order.
struct ScriptedWindow : batch::ProcessWindowPort {
    QStringList events;
    QStringList log;
    QString caption;
    int count = -1;
    int progress = -1;
    bool closeEnabled = true;
    std::function<void(int)> onProgress;

    void open(const QString& c, int n) override {
        caption = c;
        count = n;
        progress = 0;
        events << "open " + c;
    }
    void setCaption(const QString& c) override {
        caption = c;
        events << "caption " + c;
    }
    void addLogLine(const QString& line) override {
        log << line;
        events << "log " + line;
    }
    void setProgressValue(int value) override {
        progress = value;
        if (onProgress)
            onProgress(value);
    }
    void setCloseEnabled(bool enabled) override {
        closeEnabled = enabled;
        events << (enabled ? "close on" : "close off");
    }
};

// The run's reports, kept; optionally stops after some files, and lets a
// test act at the moment an output is about to take its name.
class RecordingObserver : public batch::ProcessObserver {
public:
    explicit RecordingObserver(int abortAfter = -1) : abortAfter_(abortAfter) {}
    QStringList log, history;
    int finished = 0;
    std::function<void(const QString& source, const QString& target)> onCommit;

    void logLine(const QString& line) override { log << line; }
    void historyLine(const QString& line) override { history << line; }
    void fileFinished(int) override { ++finished; }
    bool abortRequested() override { return abortAfter_ >= 0 && finished >= abortAfter_; }
    void beforeCommit(const QString& source, const QString& target) override {
        if (onCommit)
            onCommit(source, target);
    }

private:
    int abortAfter_;
};

// A folder of mixed files: pictures of each format, a text file and a broken
// JPEG. Listed in an order that mixes the outcomes.
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

} // namespace dovi::test
