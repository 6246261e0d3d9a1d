#include "batch/windows/BatchCommandBindings.h"

#include "app/FolderState.h"
#include "batch/windows/ProcessWindow.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QFile>

using namespace dovi;
using namespace dovi::test;

namespace {

struct BatchCommands : PicturesFixture {
    CommandDispatcher commands;
    RecordingShell shell;
    void SetUp() override {
        PicturesFixture::SetUp();
        bindBatchCommands(commands, {*ws, ui, nullptr, shell});
    }
    // Lists the folder and selects every file in it, as the user would.
    void selectAll() {
        rereadFiles(*ws);
        ws->files.selectAll();
        refreshSelection(*ws);
    }
    static QList<ProcessWindow*> processWindows() {
        QList<ProcessWindow*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<ProcessWindow*>(w))
                out << p;
        return out;
    }
};

} // namespace

// Which rows are bound is checked against the menu table by the main window
// test; here, nothing to act on stops every file command.
TEST_F(BatchCommands, FileCommandsNeedFilesToActOn) {
    for (const char* control : {"mnuprocess", "mnuNegate"}) {
        ui.prompts.clear();
        EXPECT_TRUE(commands.runControl(control));
        EXPECT_EQ(ui.promptTexts(), QStringList{"No files to action!"}) << control;
    }
    EXPECT_TRUE(processWindows().isEmpty());
}

TEST_F(BatchCommands, TheToolbarAndMenuReachTheOperations) {
    writeImage(pic("a.bmp"), {30, 20}, imaging::Bmp);
    const QImage before = imaging::decodeFile(pic("a.bmp")).image.pixels;
    selectAll();
    ws->settings.confirmActions = 0;

    EXPECT_TRUE(commands.runControl("mnuFlip"));
    EXPECT_EQ(imaging::decodeFile(pic("a.bmp")).image.pixels, before.mirrored(false, true));

    ws->settings.convertOnly = 1;
    EXPECT_TRUE(runToolbarKey(commands, "process"));
    const auto windows = processWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_EQ(windows[0]->windowTitle(), "Work Complete");
    windows[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(processWindows().isEmpty());

    // Answered No: no window stays behind.
    ws->settings.confirmActions = 1;
    ui.answers = {Answer::No};
    EXPECT_TRUE(commands.runControl("mnuprocess"));
    EXPECT_EQ(ui.prompts.last().title, "Convert Files");
    EXPECT_TRUE(processWindows().isEmpty());
}

namespace {
// Chooses "Process Image File(s)" again while the first run lets events through.
struct ImpatientUser : ScriptedUi {
    CommandDispatcher* commands = nullptr;
    int windowsSeen = 0;
    void processEvents() override {
        ScriptedUi::processEvents();
        if (eventsProcessed == 1) {
            commands->runControl("mnuprocess");
            for (QWidget* w : QApplication::topLevelWidgets())
                windowsSeen += qobject_cast<ProcessWindow*>(w) != nullptr;
        }
    }
};
} // namespace

TEST_F(BatchCommands, ASecondProcessCommandDuringARunStartsNothing) {
    writeImage(pic("a.bmp"), {30, 20}, imaging::Bmp);
    writeImage(pic("b.bmp"), {30, 20}, imaging::Bmp);
    selectAll();
    ws->settings.confirmActions = 1;
    ws->settings.convertOnly = 1;
    ImpatientUser user;
    user.commands = &commands;
    user.answers = {Answer::Yes, Answer::Yes};
    CommandDispatcher dispatcher;
    bindBatchCommands(dispatcher, {*ws, user, nullptr, shell});
    user.commands = &dispatcher;
    dispatcher.runControl("mnuprocess");
    EXPECT_EQ(user.prompts.size(), 1) << "the second command asked nothing";
    EXPECT_EQ(user.windowsSeen, 1);
    const auto windows = processWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Work Complete");
    windows[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
