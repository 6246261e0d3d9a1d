#include "fileops/windows/FileCommandBindings.h"

#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, FileCommandsAreBoundToTheirMenuControlsAndToolbarKeys) {
    CommandDispatcher commands;
    test::RecordingShell shell;
    bindFileCommands(commands, {*ws, ui, nullptr, shell});
    for (const char* control : {"mnucopy", "mnumove", "mnudelete", "mnurename", "mnuconform",
                                "mnuDetail", "mnucreate", "mnuremove", "mnudefault"})
        EXPECT_TRUE(commands.isBound(control)) << control;

    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg"});
    ws->settings.recycleDeleted = 0;
    ws->settings.startupFolder = pics;
    EXPECT_TRUE(runToolbarKey(commands, "default"));
    EXPECT_EQ(ws->currentFolder, pics);

    show(pics, {"b.jpg"});
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(runToolbarKey(commands, "delete"));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Delete 1 file(s) ?"}));
    EXPECT_FALSE(QFileInfo::exists(pics + "/b.jpg"));

    ui.texts = {QString("made")};
    EXPECT_TRUE(commands.runControl("mnucreate"));
    EXPECT_TRUE(QFileInfo(pics + "/made").isDir());
    EXPECT_EQ(shell.treeRefreshes, 1);

    // The detailed list measures with an engine of its own: a.jpg holds no picture.
    ws->history.clear();
    ui.prompts.clear();
    EXPECT_TRUE(commands.runControl("mnuDetail"));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Include field headings?"}));
    EXPECT_EQ(historyLines(), QStringList({pics + "/a.jpg,4096,N/A"}));
    EXPECT_EQ(shell.historyShown, 1);
}
