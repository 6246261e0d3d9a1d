#include "fileops/FolderCommands.h"
#include "fileops/Delete.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

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

TEST_F(FolderFixture, DeleteSendsEachFileToTheTrashOrDeletesItOutright) {
    const QString pics = filesIn("pics", {"a.jpg", "b.jpg", "c.jpg"});
    for (const int recycle : {1, 0}) {
        SCOPED_TRACE(recycle);
        ws->settings.recycleDeleted = recycle;
        ws->history.clear();
        ui = {};
        show(pics, {"a.jpg", "c.jpg"});
        QFile::setPermissions(pics + "/c.jpg", QFileDevice::ReadOwner);
        ws->hold.append(pics + "/b.jpg");
        ws->hold.bypass = true;
        const QByteArray c = checksum(pics + "/c.jpg");
        QFile::remove(pics + "/a.jpg"); // gone between listing and deleting
        ui.answers = {Answer::Yes};
        QSignalSpy reset(ws.get(), &Workspace::previewReset);
        fileops::deleteFiles(*ws, ui);
        EXPECT_EQ(ui.prompts,
                  Prompts({question("Delete Files", "Delete 2 file(s) ?"),
                           errorReport("1 error(s) occurred." + QString(kReasonsInHistory))}));
        EXPECT_EQ(historyLines(),
                  QStringList({pics + "/a.jpg NOT deleted - No such file or directory",
                               pics + "/c.jpg deleted"}));
        EXPECT_EQ(ui.captions, QStringList({"Dovi v1.0.0 - Deleting File(s)", "Dovi v1.0.0"}));
        EXPECT_EQ(ws->files.names(), QStringList({"b.jpg"}));
        EXPECT_EQ(selectedPanelText(*ws), "Selected : 0") << "no count of files that are gone";
        EXPECT_GE(reset.count(), 1) << "the preview never shows a deleted file";
        EXPECT_FALSE(ws->hold.isEmpty()) << "a bypassed hold list stays";
        EXPECT_EQ(checksum(trash("c.jpg")), recycle == 1 ? c : "");
        makeFiles(pics, {"a.jpg", "c.jpg"});
        QFile::remove(trash("c.jpg"));
    }
    fileops::deleteFiles(*ws, ui); // no answer left: No
    EXPECT_EQ(QDir(pics).entryList(QDir::Files).size(), 3);
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
    EXPECT_EQ(ws->currentFolder, pics);
    EXPECT_EQ(treeRefreshes, 2) << "a failure does not re-read the tree, a cancel does";
}

TEST_F(FolderFixture, RemoveFolderDeletesExactlyItsFilesToTheTrashThenShowsTheParent) {
    const QString held = filesIn("held", {"keep.jpg"});
    const QString old = filesIn("work/old", {"x.jpg", "y.jpg", "notes.txt"});
    const auto before = snapshot(old);
    ws->hold.append(held + "/keep.jpg");
    show(old);
    ui.answers = {Answer::Yes, Answer::Yes};
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_EQ(ui.promptTexts(), QStringList({"Remove " + old + " ?", "Delete 3 file(s) ?"}));
    EXPECT_FALSE(QFileInfo::exists(old));
    for (const QString& name : before.keys())
        EXPECT_EQ(checksum(trash(name)), before[name]);
    EXPECT_TRUE(QFileInfo::exists(held + "/keep.jpg"));
    EXPECT_EQ(historyLines().last(), "Removed folder - " + old);
    EXPECT_EQ(std::tuple(ws->currentFolder, treeRefreshes), std::tuple(dir.filePath("work"), 1));
    // An empty folder goes without a history line; No and the root change nothing.
    const QString empty = folder("work/empty");
    show(empty);
    ui.answers = {Answer::No, Answer::Yes};
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_TRUE(QFileInfo(empty).isDir());
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_EQ(historyLines().last(), "Removed folder - " + old);
    changeFolder(*ws, "/");
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_EQ(ui.promptTexts().last(), "Cannot remove a root");
}

TEST_F(FolderFixture, RemoveFolderRefusesFirstNamingWhyAndTouchesNothing) {
    ws->settings.recycleDeleted = 0;
    const QString outside = filesIn("outside", {"precious.jpg"});
    const struct {
        const char* name;
        void (*arrange)(FolderFixture&, const QString& old, const QString& outside);
        QString reason;
    } cases[] = {
        {"hidden",
         [](FolderFixture& f, const QString& old, const QString&) {
             f.makeFiles(old, {".hidden.jpg"});
         },
         "it holds hidden files that the list does not show"},
        {"link to a folder",
         [](FolderFixture&, const QString& old, const QString& outside) {
             QFile::link(outside, old + "/deeplink");
         },
         "it holds sub-folders"},
        {"parent not writable",
         [](FolderFixture& f, const QString&, const QString&) {
             QFile::setPermissions(f.dir.filePath("work"),
                                   QFileDevice::ReadOwner | QFileDevice::ExeOwner);
         },
         "you may not change the folder that holds it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (QString(c.name).contains("writable") && runningAsRoot())
            continue; // root passes permission bits
        const QString old = filesIn("work/old", {"x.jpg"});
        c.arrange(*this, old, outside);
        show(old, {"x.jpg"});
        const auto before = snapshot(dir.path());
        ui.prompts.clear();
        fileops::removeFolder(*ws, ui, refreshTree);
        EXPECT_EQ(ui.prompts, Prompts({warning("Cannot remove " + old + ": " + c.reason + ".")}));
        EXPECT_EQ(snapshot(dir.path()), before);
        EXPECT_EQ(ws->selected, QStringList({"x.jpg"}));
        QFile::setPermissions(dir.filePath("work"), QFile::permissions(dir.path()));
        QDir(old).removeRecursively();
    }
}
