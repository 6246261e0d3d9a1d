#include "fileops/FolderCommands.h"
#include "fileops/Delete.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using namespace dovi::test;

namespace {
struct FolderFixture : WorkspaceFixture {
    DataHome data{dir.filePath("data")}; // the trash of this test
    int treeRefreshes = 0;
    fileops::FolderTreeRefresh refreshTree = [this] { ++treeRefreshes; };
    QString trash(const QString& name) const { return dir.filePath("data/Trash/files/") + name; }
};
} // namespace

// A file gone between listing and deleting is reported; a read-only one goes
// to the trash whole.
TEST_F(FolderFixture, DeleteSendsEachFileToTheTrash) {
    const QString pics = filesIn("pics", {"a.jpg", "b.jpg", "c.jpg"});
    show(pics, {"a.jpg", "c.jpg"});
    QFile::setPermissions(pics + "/c.jpg", QFileDevice::ReadOwner);
    const QByteArray c = checksum(pics + "/c.jpg");
    QFile::remove(pics + "/a.jpg");
    ui.answers = {Answer::Yes};
    fileops::deleteFiles(*ws, ui);
    EXPECT_EQ(ui.prompts,
              Prompts({question("Delete Files", "Delete 2 file(s) ?"),
                       errorReport("1 error(s) occurred." + QString(kReasonsInHistory))}));
    EXPECT_EQ(historyLines(), QStringList({pics + "/a.jpg NOT deleted - No such file or directory",
                                           pics + "/c.jpg deleted"}));
    EXPECT_EQ(checksum(trash("c.jpg")), c);
}

TEST_F(FolderFixture, CreateFolderInsideTheShownFolderAndStayThere) {
    const QString pics = folder("pics");
    show(pics);
    ui.texts = {QString("new"), QString("new"), std::nullopt};
    for (int i = 0; i < 3; ++i)
        fileops::newFolder(*ws, ui, refreshTree);
    EXPECT_TRUE(QFileInfo(pics + "/new").isDir());
    EXPECT_EQ(historyLines() + ui.promptTexts(),
              QStringList({"Created folder - " + pics + "/new", "Could not create the folder!"}));
    EXPECT_EQ(treeRefreshes, 2) << "a failure does not re-read the tree, a cancel does";
}

TEST_F(FolderFixture, RemoveFolderDeletesExactlyItsFilesToTheTrashThenShowsTheParent) {
    const QString old = filesIn("work/old", {"x.jpg", "y.jpg", "notes.txt"});
    const auto before = snapshot(old);
    show(old);
    ui.answers = {Answer::Yes, Answer::Yes};
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_EQ(ui.promptTexts(), QStringList({"Remove " + old + " ?", "Delete 3 file(s) ?"}));
    EXPECT_FALSE(QFileInfo::exists(old));
    for (const QString& name : before.keys())
        EXPECT_EQ(checksum(trash(name)), before[name]);
    EXPECT_EQ(historyLines().last(), "Removed folder - " + old);
    EXPECT_EQ(std::tuple(ws->currentFolder, treeRefreshes), std::tuple(dir.filePath("work"), 1));
    changeFolder(*ws, "/");
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_EQ(ui.promptTexts().last(), "Cannot remove a root");
}

// A hidden file or a link to a folder inside would be lost or followed; the
// folder is refused before anything is deleted.
TEST_F(FolderFixture, RemoveFolderRefusesFirstNamingWhyAndTouchesNothing) {
    ws->settings.recycleDeleted = 0;
    const QString outside = filesIn("outside", {"precious.jpg"});
    for (const bool hidden : {true, false}) {
        SCOPED_TRACE(hidden);
        const QString old = filesIn("work/old", {"x.jpg"});
        hidden ? makeFiles(old, {".hidden.jpg"}) : void(QFile::link(outside, old + "/deeplink"));
        show(old, {"x.jpg"});
        const auto before = snapshot(dir.path());
        ui.prompts.clear();
        fileops::removeFolder(*ws, ui, refreshTree);
        const QString why =
            hidden ? "it holds hidden files that the list does not show" : "it holds sub-folders";
        EXPECT_EQ(ui.prompts, Prompts({warning("Cannot remove " + old + ": " + why + ".")}));
        EXPECT_EQ(snapshot(dir.path()), before);
        QDir(old).removeRecursively();
    }
}
