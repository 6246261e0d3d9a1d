#include "series/windows/SeriesCommandBindings.h"

#include "app/FolderState.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

using namespace dovi;
using namespace dovi::test;

namespace {

struct SeriesCommands : PicturesFixture {
    CommandDispatcher commands;
    RecordingShell shell;
    void SetUp() override {
        PicturesFixture::SetUp();
        bindSeriesCommands(commands, {*ws, ui, nullptr, shell});
    }
};

} // namespace

TEST_F(SeriesCommands, TheFileCommandsNeedFilesToActOn) {
    for (const char* control : {"mnucreateseries", "mnuaddseries"}) {
        ui.prompts.clear();
        EXPECT_TRUE(commands.runControl(control));
        EXPECT_EQ(ui.promptTexts(), QStringList{"No files to action!"}) << control;
    }
}

TEST_F(SeriesCommands, TheToolbarAndMenuReachTheOperations) {
    make({"a.jpg"});
    rereadFiles(*ws);

    EXPECT_TRUE(runToolbarKey(commands, "addseries"));
    EXPECT_EQ(ui.promptTexts().last(), "No series history exists");

    ui.answers = {Answer::Yes};
    EXPECT_TRUE(commands.runControl("mnuclearhist"));
    EXPECT_EQ(ui.prompts.last().title, "Purge History");
}
