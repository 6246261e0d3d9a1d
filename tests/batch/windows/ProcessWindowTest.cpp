#include "batch/windows/ProcessWindow.h"
#include "batch/windows/BatchCommandBindings.h"

#include "app/FolderState.h"
#include "batch/ProcessTestSupport.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace dovi;
using namespace dovi::test;

namespace {

QList<ProcessWindow*> processWindows() {
    QList<ProcessWindow*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<ProcessWindow*>(w))
            out << p;
    return out;
}

// Lets the window's events run as the real Ui does, and plays the user: tries
// to close the window while the run goes on and releases Escape in the log
// list once some files are done; or chooses "Process Image File(s)" again.
struct UserAtTheWindow : ScriptedUi {
    QPointer<ProcessWindow> window;
    CommandDispatcher* commands = nullptr;
    int escapeAfter = -1;
    bool closeEverEnabled = false, closeRefused = false;
    QString runningCaption;
    void processEvents() override {
        ScriptedUi::processEvents();
        QApplication::processEvents();
        if (commands && eventsProcessed == 1)
            commands->runControl("mnuprocess");
        if (!window)
            return;
        if (runningCaption.isEmpty())
            runningCaption = window->windowTitle();
        closeEverEnabled |= window->closeButton()->isEnabled();
        closeRefused |= !window->close();
        if (window && window->progressBar()->value() == escapeAfter)
            QTest::keyRelease(window->logList(), Qt::Key_Escape);
    }
};

struct ProcessWindowTest : PicturesFixture {
    UserAtTheWindow user;
    QPointer<ProcessWindow> window;
    void SetUp() override {
        PicturesFixture::SetUp();
        ws->settings.confirmActions = 0;
    }
    batch::ProcessSummary run(const QStringList& files) {
        window = user.window = new ProcessWindow(nullptr, *ws);
        return batch::processFiles(*ws, user, *window, files);
    }
    QStringList log() const {
        QStringList lines;
        for (int i = 0; i < window->logList()->count(); ++i)
            lines << window->logList()->item(i)->text();
        return relativeLines(lines, pics);
    }
    void closeWindow() {
        QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(window) << "Close unloads the window";
    }
};

} // namespace

// Each file gets a line saying what happened to it; lines other than
// "complete" go to the history too.
TEST_F(ProcessWindowTest, LogsEachFileStopsOnEscapeAndTidiesUpOnlyAtTheEnd) {
    const QStringList files = mixedFolder(pics, "d.jpg");
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 3; // PCX
    ws->hold.append(pic("a.bmp"));
    run(files);

    EXPECT_EQ(user.runningCaption, "Processing 6 files. ESCAPE to abort");
    EXPECT_TRUE(user.closeRefused && !user.closeEverEnabled)
        << "the window cannot be closed during the run";
    EXPECT_EQ(window->windowTitle(), "Work Complete - 1 file(s) failed");
    const QStringList got = log();
    EXPECT_TRUE(got.value(4).startsWith("<dir>/broken.jpg   ...   could not be read: "));
    EXPECT_EQ(
        got.mid(0, 4) + got.mid(5),
        QStringList({"<dir>/a.bmp   ...   complete",
                     "<dir>/notes.txt   ...   not a supported image type",
                     "<dir>/b.tga   ...   resample not required", "<dir>/d.jpg   ...   complete",
                     "<dir>/c.pcx   ...   complete", "1 file(s) could not be processed"}));
    EXPECT_EQ(
        relativeLines(historyLines(), pics),
        QStringList({"Processing " + got[1], "Processing " + got[2], "Processing " + got[4]}));
    EXPECT_TRUE(ws->files.contains("a.pcx")) << "the list is read again";
    EXPECT_EQ(ws->hold.count(), 1) << "the hold list is cleared only with Delete Original";
    closeWindow();

    // Escape in the log stops the run after the file in progress: nothing more
    // is written, and files, hold list and counters stay as they were.
    QStringList names;
    for (int i = 1; i <= 6; ++i) {
        names << QString("f%1.bmp").arg(i);
        writeImage(pic(names.last()), {200, 100}, imaging::Bmp);
    }
    const auto before = snapshot(pics);
    ws->settings.deleteOriginal = 1;
    user.escapeAfter = 2;
    const auto summary = run(paths(names));
    EXPECT_EQ(std::tuple(ws->processAbort, summary.finished), std::tuple(true, 2));
    EXPECT_EQ(window->windowTitle(), "ABORT after processing 2 files...");
    EXPECT_EQ(log().mid(2), QStringList({" ", "ABORT!"}));
    const auto after = snapshot(pics);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(after.value(names[i]) == before.value(names[i]), i >= 2) << i;
    EXPECT_EQ(ws->hold.count(), 1) << "an aborted run leaves the hold list alone";
    closeWindow();

    run({pic("notes.txt")});
    EXPECT_TRUE(ws->hold.isEmpty()) << "Delete Original empties the hold list";
    closeWindow();
}

// Answered No, no window stays; a second process command during a run starts
// nothing, not even its question.
TEST_F(ProcessWindowTest, TheProcessCommandAsksItsModesQuestionAndNeverRunsTwice) {
    CommandDispatcher commands;
    RecordingShell shell;
    bindBatchCommands(commands, {*ws, user, nullptr, shell});
    writeImage(pic("a.bmp"), {800, 600}, imaging::Bmp);
    rereadFiles(*ws);
    ws->files.selectAll();
    refreshSelection(*ws);
    const auto files = snapshot(pics);
    ws->settings.confirmActions = 1;
    ws->settings.processWidth = 640;
    ws->settings.processHeight = 480;
    user.answers = {Answer::No};
    EXPECT_TRUE(runToolbarKey(commands, "process"));
    EXPECT_EQ(user.prompts, Prompts({question("Process Files", "Process files at 640 x 480 ?")}));
    EXPECT_EQ(snapshot(pics), files);
    EXPECT_TRUE(processWindows().isEmpty());

    ws->settings.convertOnly = 1;
    user.prompts.clear();
    user.answers = {Answer::Yes, Answer::Yes};
    user.eventsProcessed = 0;
    user.commands = &commands;
    EXPECT_TRUE(commands.runControl("mnuprocess"));
    EXPECT_EQ(user.prompts, Prompts({question("Convert Files", "Convert files ?")}));
    ASSERT_EQ(processWindows().size(), 1);
    processWindows()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
