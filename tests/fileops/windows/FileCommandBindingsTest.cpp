#include "fileops/windows/FileCommandBindings.h"

#include "browser/CommandTable.h"

#include "fileops/FileOpsFixture.h"

#include <QFileInfo>

using namespace dovi;
using dovi::test::FileOpsFixture;

TEST_F(FileOpsFixture, FileCommandsAreBoundToTheirMenuControlsAndToolbarKeys) {
    CommandDispatcher commands;
    bindFileCommands(commands, {*ws, ui, nullptr, {}, {}});
    for (const char* control : {"mnucopy", "mnumove", "mnudelete", "mnurename", "mnuconform",
                                "mnucreate", "mnuremove", "mnudefault"})
        EXPECT_TRUE(commands.isBound(control)) << control;

    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg"});
    ws->settings.recycleDeleted = 0;
    ws->settings.startupFolder = pics;
    EXPECT_TRUE(commands.runToolbarKey("default"));
    EXPECT_EQ(ws->currentFolder, pics);

    show(pics, {"b.jpg"});
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(commands.runToolbarKey("delete"));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Delete 1 file(s) ?"}));
    EXPECT_FALSE(QFileInfo::exists(pics + "/b.jpg"));

    ui.texts = {QString("made")};
    EXPECT_TRUE(commands.runControl("mnucreate"));
    EXPECT_TRUE(QFileInfo(pics + "/made").isDir());
}
