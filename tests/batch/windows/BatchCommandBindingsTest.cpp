#include "batch/windows/BatchCommandBindings.h"

#include "app/FolderState.h"
#include "batch/windows/ProcessWindow.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QApplication>

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

// Chooses "Process Image File(s)" again while the first run lets events through.
struct ImpatientUser : ScriptedUi {
    CommandDispatcher* commands = nullptr;
    int windowsSeen = 0;
    void processEvents() override {
        ScriptedUi::processEvents();
        if (commands && eventsProcessed == 1) {
            commands->runControl("mnuprocess");
            windowsSeen = int(processWindows().size());
        }
    }
};

} // namespace

// The gates and the question are the operation's; here the commands reach it,
// and a second process command during a run starts nothing.
TEST_F(PicturesFixture, BatchCommandsAskTheQuestionOfTheirModeAndNeverRunTwice) {
    ImpatientUser user;
    CommandDispatcher commands;
    RecordingShell shell;
    bindBatchCommands(commands, {*ws, user, nullptr, shell});
    writeImage(pic("a.bmp"), {800, 600}, imaging::Bmp);
    writeImage(pic("b.bmp"), {30, 20}, imaging::Bmp);
    const QImage before = imaging::decodeFile(pic("a.bmp")).image.pixels;
    rereadFiles(*ws);
    ws->files.selectAll();
    refreshSelection(*ws);
    ws->settings.confirmActions = 0;
    EXPECT_TRUE(commands.runControl("mnuFlip"));
    EXPECT_EQ(imaging::decodeFile(pic("a.bmp")).image.pixels, before.mirrored(false, true));

    // Answered No: nothing written, no window.
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
    EXPECT_EQ(user.windowsSeen, 1);
    ASSERT_EQ(processWindows().size(), 1);
    EXPECT_EQ(processWindows()[0]->windowTitle(), "Work Complete");
    processWindows()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
