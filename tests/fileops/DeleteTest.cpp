#include "fileops/Delete.h"

#include "fileops/FileOpsFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace dovi;
using dovi::test::FileOpsFixture;
using dovi::test::snapshot;

namespace {

struct DeleteFixture : FileOpsFixture {
    QString pics;
    QByteArray savedDataHome;
    bool hadDataHome = false;
    void SetUp() override {
        FileOpsFixture::SetUp();
        pics = folder("pics");
        makeFiles(pics, {"a.jpg", "b.jpg", "c.jpg"});
        // The trash of this test: the user's data folder points inside it.
        hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    }
    void TearDown() override {
        if (hadDataHome)
            qputenv("XDG_DATA_HOME", savedDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
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

    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_EQ(ui.prompts[0].title, "Delete Files");
    EXPECT_EQ(ui.prompts[0].text, "Delete 2 file(s) ?");
    EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.captions, QStringList({"Dovi v1.0.0 - Deleting File(s)", "Dovi v1.0.0"}));
    EXPECT_EQ(ui.highestProgress(), 2);
    EXPECT_EQ(history(), QStringList({pics + "/a.jpg deleted", pics + "/c.jpg deleted"}));
    EXPECT_EQ(ws->files, QStringList({"b.jpg"}));
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
    EXPECT_EQ(ws->files, QStringList({"a.jpg", "c.jpg"}));
    EXPECT_TRUE(ws->hold.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(trash()));
    EXPECT_EQ(history(), QStringList({pics + "/b.jpg deleted"}));
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
        ASSERT_EQ(history().size(), 2);
        EXPECT_EQ(history()[0], pics + "/a.jpg NOT deleted - No such file or directory");
        EXPECT_EQ(history()[1], pics + "/b.jpg deleted");
        EXPECT_EQ(ui.prompts.last().title, "Errors");
        EXPECT_EQ(ui.prompts.last().text, "1 error(s) occurred.");
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
