#include "fileops/DestinationChooser.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, TheChooserRefusesOnlyTheShownFolderAndRemembersWithATrailingSlash) {
    const QString pics = folder("Pics");
    show(pics);
    EXPECT_EQ(fileops::chooserCaption(fileops::ChooserMode::CopyMove), "Copy/Move Destination");
    EXPECT_EQ(fileops::chooserCaption(fileops::ChooserMode::SelectFolder), "Select a Folder");

    EXPECT_FALSE(fileops::acceptDestination(*ws, ui, fileops::ChooserMode::CopyMove, pics));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Destination cannot match the source!"}));
    EXPECT_TRUE(fileops::acceptDestination(*ws, ui, fileops::ChooserMode::SelectFolder, pics));
    EXPECT_TRUE(fileops::acceptDestination(*ws, ui, fileops::ChooserMode::CopyMove, dir.path()));
    EXPECT_EQ(ui.prompts.size(), 1);

    // Kept as written: on Linux Pics and pics are two folders.
    fileops::rememberDestination(*ws, pics);
    EXPECT_EQ(ws->settings.lastDestFolder, pics + "/");
    EXPECT_EQ(fileops::chooserStartFolder(*ws), pics);
    fileops::rememberDestination(*ws, "/");
    EXPECT_EQ(ws->settings.lastDestFolder, "/");

    // A remembered folder that has gone opens at its nearest parent.
    ws->settings.lastDestFolder = pics + "/gone/deeper/";
    EXPECT_EQ(fileops::chooserStartFolder(*ws), pics);
    ws->settings.lastDestFolder = "c:\\";
    EXPECT_EQ(fileops::chooserStartFolder(*ws), QDir::homePath());
}
