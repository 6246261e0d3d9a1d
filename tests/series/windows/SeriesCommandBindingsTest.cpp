#include "series/windows/SeriesCommandBindings.h"

#include "app/FolderState.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QFile>

using namespace dovi;
using namespace dovi::test;

TEST_F(PicturesFixture, SeriesCommandsNeedFilesAndReachTheOperations) {
    CommandDispatcher commands;
    RecordingShell shell;
    bindSeriesCommands(commands, {*ws, ui, nullptr, shell});
    EXPECT_TRUE(commands.runControl("mnucreateseries"));
    EXPECT_EQ(ui.promptTexts(), QStringList{"No files to action!"});
    make({"a.jpg"});
    rereadFiles(*ws);
    EXPECT_TRUE(runToolbarKey(commands, "addseries"));
    EXPECT_EQ(ui.promptTexts().last(), "No series history exists");
    // Clearing the history asks first; with nothing there, no complaint.
    writeFile(seriesPath(), "\"a\",1,#TRUE#\r\n");
    ui.prompts.clear();
    ui.answers = {Answer::No, Answer::Yes, Answer::Yes};
    for (const bool kept : {true, false, false}) {
        EXPECT_TRUE(commands.runControl("mnuclearhist"));
        EXPECT_EQ(QFile::exists(seriesPath()), kept);
    }
    EXPECT_EQ(ui.prompts, Prompts(3, question("Purge History", "Clear series history?")));
}
