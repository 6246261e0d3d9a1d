#include "app/FolderState.h"

#include "WorkspaceFixture.h"

#include <QSignalSpy>

#include <cerrno>

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, FolderChangeListsSelectsNothingCountsAndReReadsKeepTheSelection) {
    const QString photos = filesIn("photos", {"a.jpg", "b.JPG", "c.tga", "d.txt", "e.bmp"});
    QSignalSpy reset(ws.get(), &Workspace::previewReset);
    changeFolder(*ws, photos + "/");
    EXPECT_EQ(ws->currentFolder, photos);
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(totalPanelText(*ws), "Total : 4");
    EXPECT_EQ(reset.count(), 1);

    ws->files.setSelected(0, true);
    ws->files.setSelected(2, true);
    refreshSelection(*ws);
    EXPECT_EQ(ws->selected, QStringList({"a.jpg", "c.tga"}));
    EXPECT_EQ(selectedPanelText(*ws), "Selected : 2");
    QFile::remove(photos + "/a.jpg");
    test::writeFile(photos + "/0.bmp", "x");
    rereadFiles(*ws);
    refreshSelection(*ws);
    EXPECT_EQ(ws->files.names(), QStringList({"0.bmp", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(ws->selected, QStringList({"c.tga"}));

    // Choosing a filter narrows, clears the selection and is stored at once.
    chooseFilter(*ws, 4);
    EXPECT_EQ(ws->files.names(), QStringList({"c.tga"}));
    EXPECT_TRUE(ws->selected.isEmpty());
    EXPECT_EQ(storedValue("File System", "filter"), "4");
}

TEST_F(WorkspaceFixture, AFolderThatCannotBeReadSaysSo) {
    const QString pics = filesIn("pics", {"a.jpg", "b.jpg"});
    changeFolder(*ws, pics + "/gone");
    EXPECT_EQ(ws->folderReadError, ENOENT);
    changeFolder(*ws, pics);
    EXPECT_EQ(ws->folderReadError, 0);
}
