#include "fileops/windows/FileCommandBindings.h"

#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

using namespace dovi;
using dovi::test::WorkspaceFixture;

// The commands' rules are pinned where they are made; here each control is
// bound, and the detailed list measures with an engine of its own (a.jpg
// holds no picture).
TEST_F(WorkspaceFixture, FileCommandsAreBoundToTheirMenuControlsAndToolbarKeys) {
    CommandDispatcher commands;
    test::RecordingShell shell;
    bindFileCommands(commands, {*ws, ui, nullptr, shell});
    for (const char* control : {"mnucopy", "mnumove", "mnudelete", "mnurename", "mnuconform",
                                "mnuDetail", "mnucreate", "mnuremove", "mnudefault"})
        EXPECT_TRUE(commands.isBound(control)) << control;
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg"});
    show(pics);
    EXPECT_TRUE(commands.runControl("mnuDetail"));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Include field headings?"}));
    EXPECT_EQ(historyLines(), QStringList({pics + "/a.jpg,4096,N/A"}));
    EXPECT_EQ(shell.historyShown, 1);
}
