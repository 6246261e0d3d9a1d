#include "fileops/Delete.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace dovi;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;

namespace {

struct DeleteFixture : WorkspaceFixture {
    QString pics;
    dovi::test::DataHome data{dir.filePath("data")}; // the trash of this test
    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.jpg", "c.jpg"});
    }
    QString trash() const { return dir.filePath("data/Trash"); }
};

} // namespace

TEST_F(DeleteFixture, ToTheTrashOneFileAtATimeWithItsRecord) {
    show(pics, {"a.jpg", "c.jpg"});
    const auto before = snapshot(pics);
    ws->hold.append("/elsewhere/x.jpg");
    ws->hold.bypass = true;
    ui.answers = {Answer::Yes};
    QSignalSpy reset(ws.get(), &Workspace::previewReset);

    fileops::deleteFiles(*ws, ui);

    EXPECT_EQ(ui.prompts, test::Prompts({test::question("Delete Files", "Delete 2 file(s) ?")}));
    EXPECT_EQ(ui.captions, QStringList({"Dovi v1.0.0 - Deleting File(s)", "Dovi v1.0.0"}));
    EXPECT_EQ(ui.highestProgress(), 2);
    EXPECT_EQ(historyLines(), QStringList({pics + "/a.jpg deleted", pics + "/c.jpg deleted"}));
    EXPECT_EQ(ws->files.names(), QStringList({"b.jpg"}));
    EXPECT_GE(reset.count(), 1) << "the preview never shows a deleted file";
    EXPECT_EQ(ws->hold.count(), 1) << "bypassed: the hold list stays";

    for (const char* name : {"a.jpg", "c.jpg"}) {
        EXPECT_EQ(dovi::test::checksum(trash() + "/files/" + name), before[name]);
        const QByteArray info = dovi::test::readFile(trash() + "/info/" + name + ".trashinfo");
        EXPECT_TRUE(info.contains("Path=" + QFile::encodeName(pics).toPercentEncoding("/") + "/" +
                                  name + "\n"))
            << info.toStdString();
    }
}

TEST_F(DeleteFixture, OutrightDeletionClearsReadOnlyAndEmptiesTheHoldList) {
    ws->settings.recycleDeleted = 0;
    ws->settings.confirmActions = 0;
    QFile::setPermissions(pics + "/b.jpg", QFileDevice::ReadOwner);
    ws->hold.append(pics + "/b.jpg");
    show(pics);

    fileops::deleteFiles(*ws, ui);

    EXPECT_TRUE(ui.prompts.isEmpty()) << "confirmations off: no question";
    EXPECT_FALSE(QFileInfo::exists(pics + "/b.jpg"));
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "c.jpg"}));
    EXPECT_TRUE(ws->hold.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(trash()));
    EXPECT_EQ(historyLines(), QStringList({pics + "/b.jpg deleted"}));
}

TEST_F(DeleteFixture, AFileThatCannotGoIsReportedNotLoggedAsDeleted) {
    for (const int recycle : {1, 0}) {
        SCOPED_TRACE(recycle);
        ws->settings.recycleDeleted = recycle;
        ws->history.clear();
        ui.prompts.clear();
        show(pics, {"a.jpg", "b.jpg"});
        QFile::remove(pics + "/a.jpg"); // gone between listing and deleting
        ui.answers = {Answer::Yes};
        fileops::deleteFiles(*ws, ui);
        ASSERT_EQ(historyLines().size(), 2);
        EXPECT_EQ(historyLines()[0], pics + "/a.jpg NOT deleted - No such file or directory");
        EXPECT_EQ(historyLines()[1], pics + "/b.jpg deleted");
        EXPECT_EQ(ui.prompts.last(), test::errorReport("1 error(s) occurred."));
        makeFiles(pics, {"a.jpg", "b.jpg"});
    }
}

TEST_F(DeleteFixture, NoMeansNothingIsDeleted) {
    show(pics, {"a.jpg"});
    const auto before = snapshot(pics);
    fileops::deleteFiles(*ws, ui); // the scripted answer defaults to No
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_TRUE(ui.captions.isEmpty());
    EXPECT_EQ(ws->lastAnswer, Answer::No);
}
