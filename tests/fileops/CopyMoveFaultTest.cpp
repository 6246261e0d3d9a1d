// Each case breaks a copy or move on purpose and checks that every byte of
// every source and of every file that was already at the destination is
// still there afterwards, that the history says what failed, and that the
// failures are reported once.
#include "fileops/CopyMove.h"

#include "fileops/FileOpsFixture.h"

#include <QFileInfo>

using namespace dovi;
using dovi::test::FileOpsFixture;
using dovi::test::snapshot;

namespace {

struct FaultFixture : FileOpsFixture {
    QString src, dst;
    void SetUp() override {
        FileOpsFixture::SetUp();
        src = folder("src");
        dst = folder("dst");
        ws->settings.confirmActions = 0;
    }
    // Everything under the temporary folder: sources and targets alike.
    QMap<QString, QByteArray> everything() const { return snapshot(dir.path()); }

    void expectErrorsReported(int count) {
        ASSERT_FALSE(ui.prompts.isEmpty());
        const auto& last = ui.prompts.last();
        EXPECT_EQ(last.title, "Errors");
        EXPECT_EQ(last.text, QString::number(count) + " error(s) occurred.");
        EXPECT_EQ(last.icon, MessageIcon::Information);
        EXPECT_EQ(last.buttons, MessageButtons::Ok);
    }
};

} // namespace

TEST_F(FaultFixture, AnUnwritableDestinationLosesNothingForCopyOrMove) {
    makeFiles(src, {"a.jpg", "b.jpg"});
    // Root writes through permission bits, so a "folder" that is a regular
    // file stands in for a read-only one there.
    QString target = dst;
    if (dovi::test::runningAsRoot()) {
        target = dst + "/plain.file";
        ASSERT_TRUE(dovi::test::writeFile(target, "not a folder"));
    } else {
        QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const auto before = everything();
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move);
        show(src, {"a.jpg", "b.jpg"});
        ws->history.clear();
        ui.prompts.clear();
        chooser.willChoose(target);
        move ? fileops::moveFiles(*ws, ui, chooser) : fileops::copyFiles(*ws, ui, chooser);
        EXPECT_EQ(everything(), before);
        ASSERT_EQ(history().size(), 2);
        const QString verb = move ? " NOT moved to " : " NOT copied to ";
        EXPECT_TRUE(history()[0].startsWith(src + "/a.jpg" + verb + target + "/a.jpg - "))
            << history()[0].toStdString();
        expectErrorsReported(2);
    }
    QFile::setPermissions(dst,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(FaultFixture, ATargetThatIsAFolderStaysAFolderWithItsContents) {
    makeFiles(src, {"a.jpg", "b.jpg"});
    QDir().mkpath(dst + "/a.jpg/inner");
    makeFiles(dst + "/a.jpg/inner", {"x.jpg"});
    const auto before = everything();
    show(src, {"a.jpg", "b.jpg"});
    chooser.willChoose(dst);
    fileops::moveFiles(*ws, ui, chooser);

    ASSERT_EQ(ui.prompts.size(), 1) << "a folder is never offered for overwriting";
    EXPECT_TRUE(QFileInfo(dst + "/a.jpg").isDir());
    const QMap<QString, QByteArray> inside = {{"inner/x.jpg", before["dst/a.jpg/inner/x.jpg"]}};
    EXPECT_EQ(snapshot(dst + "/a.jpg"), inside);
    EXPECT_EQ(snapshot(src).keys(), QStringList({"a.jpg"})) << "the blocked file stays; b moved";
    EXPECT_EQ(snapshot(src)["a.jpg"], before["src/a.jpg"]);
    EXPECT_EQ(snapshot(dst)["b.jpg"], before["src/b.jpg"]);
    EXPECT_EQ(history()[0], src + "/a.jpg NOT moved to " + dst + "/a.jpg - Is a directory");
    EXPECT_EQ(history()[1], src + "/b.jpg moved to " + dst + "/b.jpg");
    expectErrorsReported(1);
}

TEST_F(FaultFixture, ASourceDeletedAfterListingIsReportedAndTheRestIsCopied) {
    makeFiles(src, {"a.jpg", "b.jpg", "c.jpg"});
    makeFiles(dst, {"b.jpg"}, 77);
    show(src, {"a.jpg", "b.jpg", "c.jpg"});
    QFile::remove(src + "/b.jpg");
    const auto before = everything();
    chooser.willChoose(dst);
    fileops::copyFiles(*ws, ui, chooser);
    ASSERT_EQ(ui.prompts.size(), 1) << "no overwrite question for a source that has gone";

    EXPECT_EQ(snapshot(dst)["b.jpg"], before["dst/b.jpg"]) << "the old target is untouched";
    EXPECT_EQ(snapshot(dst)["a.jpg"], before["src/a.jpg"]);
    EXPECT_EQ(snapshot(dst)["c.jpg"], before["src/c.jpg"]);
    EXPECT_EQ(history()[1],
              src + "/b.jpg NOT copied to " + dst + "/b.jpg - No such file or directory");
    expectErrorsReported(1);
}

TEST_F(FaultFixture, AFullDiskKeepsTheOldTargetAndTheSource) {
    makeFiles(src, {"small.jpg"}, 64 << 10);
    makeFiles(src, {"large.jpg"}, 512 << 10);
    makeFiles(dst, {"small.jpg", "large.jpg"}, 1000);
    auto shm = dovi::test::otherFileSystemDir(dir.path());
    if (shm)
        makeFiles(shm->path(), {"far.jpg"}, 512 << 10);
    const auto before = everything();
    const auto farBefore = shm ? snapshot(shm->path()) : QMap<QString, QByteArray>();

    ws->hold.append(src + "/small.jpg");
    ws->hold.append(src + "/large.jpg");
    if (shm)
        ws->hold.append(shm->path() + "/far.jpg");
    ws->hold.bypass = false;
    show(src);
    chooser.willChoose(dst);
    ui.answers = {Answer::Yes, Answer::Yes};
    {
        dovi::test::FileSizeLimit full(256 << 10);
        fileops::moveFiles(*ws, ui, chooser);
    }
    const auto after = snapshot(dst);
    EXPECT_EQ(after["small.jpg"], before["src/small.jpg"]) << "a rename needs no space";
    EXPECT_EQ(after["large.jpg"], before["src/large.jpg"]);
    if (shm) {
        EXPECT_EQ(snapshot(shm->path()), farBefore) << "the copy across failed: the source stays";
        EXPECT_FALSE(QFileInfo::exists(dst + "/far.jpg"));
        EXPECT_TRUE(history()[2].startsWith(shm->path() + "/far.jpg NOT moved to " + dst +
                                            "/far.jpg - File too large"))
            << history()[2].toStdString();
        expectErrorsReported(1);
        EXPECT_TRUE(QDir(dst).entryList({".dovi-copy-*"}, QDir::Hidden | QDir::Files).isEmpty());
    }

    // Copies cannot rename: the large one fails and its old target stays whole.
    makeFiles(src, {"small.jpg"}, 64 << 10);
    makeFiles(src, {"large.jpg"}, 512 << 10);
    makeFiles(dst, {"small.jpg", "large.jpg"}, 1000);
    const auto again = everything();
    show(src, {"large.jpg", "small.jpg"});
    ws->history.clear();
    chooser.willChoose(dst);
    ui.answers = {Answer::Yes, Answer::Yes};
    {
        dovi::test::FileSizeLimit full(256 << 10);
        fileops::copyFiles(*ws, ui, chooser);
    }
    EXPECT_EQ(snapshot(dst)["large.jpg"], again["dst/large.jpg"]);
    EXPECT_EQ(snapshot(dst)["small.jpg"], again["src/small.jpg"]);
    EXPECT_EQ(snapshot(src)["large.jpg"], again["src/large.jpg"]);
    EXPECT_EQ(snapshot(src)["small.jpg"], again["src/small.jpg"]);
    EXPECT_EQ(history()[0],
              src + "/large.jpg NOT copied to " + dst + "/large.jpg - File too large");
    EXPECT_EQ(history()[1], src + "/small.jpg copied to " + dst + "/small.jpg");
    expectErrorsReported(1);
}

TEST_F(FaultFixture, AMoveOntoItselfIsSkippedWithoutAQuestion) {
    // Held files from src while dst is shown: the chooser compares only with
    // the shown folder, so src itself (or a link to it) gets through.
    makeFiles(src, {"a.jpg", "b.jpg"});
    ::symlink(QFile::encodeName(src).constData(),
              QFile::encodeName(dir.filePath("alias")).constData());
    const auto before = everything();
    for (const QString& destination : {src, dir.filePath("alias")}) {
        SCOPED_TRACE(destination.toStdString());
        ws->hold.clear();
        ws->hold.append(src + "/a.jpg");
        ws->hold.append(src + "/b.jpg");
        show(dst);
        ws->history.clear();
        ui.prompts.clear();
        chooser.willChoose(destination);
        fileops::moveFiles(*ws, ui, chooser);

        EXPECT_EQ(everything(), before);
        EXPECT_EQ(history(), QStringList({src + "/a.jpg NOT moved to " + destination +
                                              "/a.jpg - the target is the source file itself",
                                          src + "/b.jpg NOT moved to " + destination +
                                              "/b.jpg - the target is the source file itself"}));
        ASSERT_EQ(ui.prompts.size(), 1) << "no overwrite question, only the error count";
        expectErrorsReported(2);
    }
}
