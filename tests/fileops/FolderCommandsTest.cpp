#include "fileops/FolderCommands.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;

namespace {

struct FolderFixture : WorkspaceFixture {
    int treeRefreshes = 0;
    fileops::FolderTreeRefresh refreshTree = [this] { ++treeRefreshes; };
    void SetUp() override {
        WorkspaceFixture::SetUp();
        ws->settings.recycleDeleted = 0;
    }
};

} // namespace

TEST_F(FolderFixture, CreateFolderInsideTheShownFolderAndStayThere) {
    const QString pics = folder("pics");
    show(pics);
    ui.texts = {QString("new"), QString("new"), std::nullopt};

    fileops::newFolder(*ws, ui, refreshTree);
    EXPECT_TRUE(QFileInfo(pics + "/new").isDir());
    EXPECT_EQ(ui.inputPrompts,
              QStringList({"New Folder: Enter the name of the folder you wish to create"}));
    EXPECT_EQ(historyLines(), QStringList({"Created folder - " + pics + "/new"}));
    EXPECT_EQ(ws->currentFolder, pics);
    EXPECT_EQ(treeRefreshes, 1);

    fileops::newFolder(*ws, ui, refreshTree); // exists already
    EXPECT_EQ(ui.promptTexts(), QStringList({"Could not create the folder!"}));
    EXPECT_EQ(treeRefreshes, 1) << "a failure does not re-read the tree";

    fileops::newFolder(*ws, ui, refreshTree); // cancelled: nothing made, tree re-read
    EXPECT_EQ(treeRefreshes, 2);
    EXPECT_EQ(historyLines().size(), 1);
}

TEST_F(FolderFixture, TheRootIsNeverRemovedAndNoAsksNothingElse) {
    changeFolder(*ws, "/");
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_EQ(ui.promptTexts(), QStringList({"Cannot remove a root"}));

    const QString old = folder("work/old");
    show(old);
    ui.prompts.clear();
    fileops::removeFolder(*ws, ui, refreshTree); // scripted No
    EXPECT_EQ(ui.prompts, test::Prompts({test::question("Remove Folder", "Remove " + old + " ?")}));
    EXPECT_TRUE(QFileInfo(old).isDir());
    EXPECT_EQ(treeRefreshes, 0);
}

TEST_F(FolderFixture, AnEmptyFolderGoesWithoutAHistoryLineAndItsParentIsShown) {
    const QString old = folder("work/old");
    show(old);
    ws->settings.confirmActions = 0;
    ui.answers = {Answer::Yes};
    fileops::removeFolder(*ws, ui, refreshTree);
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_EQ(ws->currentFolder, dir.filePath("work"));
    EXPECT_TRUE(historyLines().isEmpty());
    EXPECT_EQ(ws->filePattern, patternForFilter(ws->settings.filterIndex));
    EXPECT_EQ(treeRefreshes, 1);
}

TEST_F(FolderFixture, AFolderWithFilesDeletesExactlyThemThenGoes) {
    const QString held = folder("held");
    makeFiles(held, {"keep.jpg"});
    const QString old = folder("work/old");
    makeFiles(old, {"x.jpg", "y.jpg", "notes.txt"}); // *.* lists the text file too
    ws->hold.append(held + "/keep.jpg");
    show(old);
    ui.answers = {Answer::Yes, Answer::Yes};

    fileops::removeFolder(*ws, ui, refreshTree);

    EXPECT_EQ(ui.promptTexts(), QStringList({"Remove " + old + " ?", "Delete 3 file(s) ?"}));
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_TRUE(QFileInfo::exists(held + "/keep.jpg")) << "held files elsewhere are not touched";
    EXPECT_TRUE(ws->hold.isEmpty()) << "the delete's tidy-up empties the hold list";
    EXPECT_EQ(historyLines().last(), "Removed folder - " + old);
    EXPECT_EQ(historyLines().size(), 4);
    EXPECT_EQ(ws->currentFolder, dir.filePath("work"));
}

TEST_F(FolderFixture, HiddenFilesOrLinksOutKeepTheFolderAndEverythingOutside) {
    const QString outside = folder("outside");
    makeFiles(outside, {"precious.jpg"});
    QDir().mkpath(outside + "/deep");
    makeFiles(outside + "/deep", {"also.jpg"});
    const auto outsideBefore = snapshot(outside);

    const QString old = folder("work/old");
    makeFiles(old, {"x.jpg", ".hidden.jpg"});
    ::symlink(QFile::encodeName(outside + "/precious.jpg").constData(),
              QFile::encodeName(old + "/link.jpg").constData());
    ::symlink(QFile::encodeName(outside + "/deep").constData(),
              QFile::encodeName(old + "/deeplink").constData());
    show(old);
    ui.answers = {Answer::Yes, Answer::Yes};

    fileops::removeFolder(*ws, ui, refreshTree);

    EXPECT_EQ(ui.promptTexts(), QStringList({"Remove " + old + " ?", "Delete 2 file(s) ?",
                                             "Path/File access error!"}));
    EXPECT_EQ(snapshot(outside), outsideBefore) << "nothing outside the folder is removed";
    EXPECT_TRUE(QFileInfo::exists(old + "/.hidden.jpg"));
    EXPECT_TRUE(QFileInfo(old + "/deeplink").isSymLink());
    EXPECT_FALSE(QFileInfo::exists(old + "/x.jpg"));
    EXPECT_EQ(ws->currentFolder, old);
    EXPECT_EQ(ws->filePattern, patternForFilter(ws->settings.filterIndex));
    EXPECT_EQ(treeRefreshes, 0);
    for (const QString& line : historyLines())
        EXPECT_FALSE(line.startsWith("Removed folder")) << line.toStdString();
}

TEST_F(FolderFixture, GoToStartupFolderListsIt) {
    const QString start = folder("start");
    makeFiles(start, {"s.jpg"});
    ws->settings.startupFolder = start;
    show(folder("elsewhere"));
    fileops::defaultFolder(*ws);
    EXPECT_EQ(ws->currentFolder, start);
    EXPECT_EQ(ws->files.names(), QStringList({"s.jpg"}));
}
