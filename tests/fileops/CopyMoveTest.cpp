#include "fileops/CopyMove.h"

#include "fileops/FileOpsFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace dovi;
using dovi::test::checksum;
using dovi::test::FileOpsFixture;
using dovi::test::snapshot;

namespace {

const QString kTitle = QStringLiteral("Dovi v1.0.0");

struct CopyMoveFixture : FileOpsFixture {
    QString src, dst;
    void SetUp() override {
        FileOpsFixture::SetUp();
        src = folder("src");
        dst = folder("dst");
        makeFiles(src, {"a.jpg", "b.bmp", "c.tga"});
    }
};

} // namespace

TEST_F(CopyMoveFixture, CopyAsksOnceShowsItsCaptionCountsAndLogsEachFile) {
    show(src, {"a.jpg", "b.bmp", "c.tga"});
    const auto before = snapshot(src);
    chooser.willChoose(dst);
    ui.answers = {Answer::Yes};

    fileops::copyFiles(*ws, ui, chooser);

    ASSERT_EQ(chooser.modes, QList<fileops::ChooserMode>({fileops::ChooserMode::CopyMove}));
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_EQ(ui.prompts[0].title, "Copy Files");
    EXPECT_EQ(ui.prompts[0].text, "Copy 3 file(s) to " + dst + " ?");
    EXPECT_EQ(ui.prompts[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.captions, QStringList({kTitle + " - Copying File(s)", kTitle}));
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_EQ(ui.highestProgress(), 3);
    EXPECT_EQ(ui.eventsProcessed, 3);
    EXPECT_FALSE(ui.idleLightBusy);
    EXPECT_EQ(history(), QStringList({src + "/a.jpg copied to " + dst + "/a.jpg",
                                      src + "/b.bmp copied to " + dst + "/b.bmp",
                                      src + "/c.tga copied to " + dst + "/c.tga"}));
    EXPECT_EQ(snapshot(dst), before);
    EXPECT_EQ(snapshot(src), before);
    EXPECT_EQ(ws->lastAnswer, Answer::Yes);
    EXPECT_EQ(ws->currentFolder, src);
}

TEST_F(CopyMoveFixture, NothingHappensWhenTheChooserIsCancelledOrTheAnswerIsNo) {
    show(src, {"a.jpg"});
    fileops::copyFiles(*ws, ui, chooser); // the chooser cancels
    chooser.willChoose(dst);
    ui.answers = {Answer::No};
    fileops::moveFiles(*ws, ui, chooser);
    EXPECT_TRUE(ui.captions.isEmpty());
    EXPECT_TRUE(ui.progressCaptions.isEmpty()) << "no setStatus";
    EXPECT_TRUE(snapshot(dst).isEmpty());
    EXPECT_EQ(snapshot(src).size(), 3);
    EXPECT_EQ(ui.promptTexts(), QStringList({"Move 1 file(s) to " + dst + " ?"}));
    EXPECT_EQ(ws->lastAnswer, Answer::No);
}

TEST_F(CopyMoveFixture, AnExistingTargetIsReplacedOnlyAfterYesEvenWhenReadOnly) {
    ws->settings.confirmActions = 0;
    makeFiles(dst, {"a.jpg", "b.bmp"}, 100);
    QFile::setPermissions(dst + "/a.jpg", QFileDevice::ReadOwner);
    const QByteArray oldB = checksum(dst + "/b.bmp");
    show(src, {"a.jpg", "b.bmp"});
    chooser.willChoose(dst);
    ui.answers = {Answer::Yes, Answer::No};

    fileops::copyFiles(*ws, ui, chooser);

    ASSERT_EQ(ui.prompts.size(), 2) << "no first question with confirmations off";
    EXPECT_EQ(ui.prompts[0].title, "File Exists");
    EXPECT_EQ(ui.prompts[0].text, "Overwrite " + dst + "/a.jpg?");
    EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.prompts[1].text, "Overwrite " + dst + "/b.bmp?");
    EXPECT_EQ(checksum(dst + "/a.jpg"), checksum(src + "/a.jpg"));
    EXPECT_EQ(checksum(dst + "/b.bmp"), oldB);
    EXPECT_EQ(history(), QStringList({src + "/a.jpg copied to " + dst + "/a.jpg"}))
        << "a declined file gets no line";
    EXPECT_EQ(ui.highestProgress(), 2);
    EXPECT_EQ(ws->lastAnswer, Answer::No);
}

TEST_F(CopyMoveFixture, MoveEmptiesTheHoldListUnlessBypassed) {
    const QString other = folder("other");
    makeFiles(other, {"h.jpg"});
    for (const bool bypass : {false, true}) {
        SCOPED_TRACE(bypass);
        show(src, {"a.jpg"});
        ws->hold.clear();
        ws->hold.append(other + "/h.jpg");
        ws->hold.bypass = bypass;
        ws->settings.confirmActions = 0;
        const QString to = folder(bypass ? "dst2" : "dst1");
        chooser.willChoose(to);
        QSignalSpy reset(ws.get(), &Workspace::previewReset);

        fileops::moveFiles(*ws, ui, chooser);

        const QString moved = bypass ? "a.jpg" : "h.jpg";
        EXPECT_TRUE(QFileInfo::exists(to + "/" + moved));
        EXPECT_EQ(ws->hold.count(), bypass ? 1 : 0);
        EXPECT_EQ(ws->hold.bypass, bypass);
        EXPECT_GE(reset.count(), 1);
        EXPECT_EQ(history().last(),
                  (bypass ? src : other) + "/" + moved + " moved to " + to + "/" + moved);
    }
    EXPECT_FALSE(QFileInfo::exists(other + "/h.jpg"));
    EXPECT_FALSE(QFileInfo::exists(src + "/a.jpg"));
    EXPECT_EQ(ws->files, QStringList({"b.bmp", "c.tga"})) << "the list is read again";
}

TEST_F(CopyMoveFixture, TheDestinationBecomesTheWorkingFolderWhenAsked) {
    ws->settings.confirmActions = 0;
    ws->settings.historyLimit = 0;
    show(src, {"c.tga"});
    chooser.willChoose(dst, true);
    fileops::copyFiles(*ws, ui, chooser);
    EXPECT_EQ(ws->currentFolder, dst);
    EXPECT_EQ(ws->files, QStringList({"c.tga"}));
    EXPECT_TRUE(history().isEmpty()) << "history off: no lines";
}

TEST_F(CopyMoveFixture, MoveAcrossFileSystemsKeepsBytesAndRemovesSourcesOnlyAfterwards) {
    auto shm = dovi::test::otherFileSystemDir(dir.path());
    if (!shm)
        GTEST_SKIP() << "no second file system (/dev/shm) to move across";
    ws->settings.confirmActions = 0;
    show(src, {"a.jpg", "b.bmp", "c.tga"});
    const auto before = snapshot(src);
    chooser.willChoose(shm->path());
    fileops::moveFiles(*ws, ui, chooser);
    EXPECT_EQ(snapshot(shm->path()), before);
    EXPECT_TRUE(snapshot(src).isEmpty());
    EXPECT_EQ(history().size(), 3);
    EXPECT_TRUE(history()[0].endsWith(" moved to " + shm->path() + "/a.jpg"));
}
