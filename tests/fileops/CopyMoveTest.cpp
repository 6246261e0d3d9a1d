#include "fileops/CopyMove.h"
#include "platform/FileCopy.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using namespace dovi::test;

namespace {

struct CopyMoveFixture : WorkspaceFixture {
    QString src, dst;
    std::unique_ptr<QTemporaryDir> far = otherFileSystemDir(dir.path());
    void SetUp() override {
        WorkspaceFixture::SetUp();
        src = folder("src");
        dst = folder("dst");
        makeFiles(src, {"a.jpg", "b.bmp", "c.tga"});
    }
    void TearDown() override {
        QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    }
    void run(bool move, const QString& to) {
        if (!to.isNull())
            chooser.willChoose(to);
        move ? fileops::moveFiles(*ws, ui, chooser) : fileops::copyFiles(*ws, ui, chooser);
    }
    void holdInSrc(const QStringList& names) {
        ws->hold.clear();
        for (const QString& n : names)
            ws->hold.append(src + "/" + n);
    }
};

} // namespace

TEST_F(CopyMoveFixture, AsksOnceLogsEachFileAndAsksBeforeReplacing) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move);
        const QString to = folder(move ? "dst-move" : "dst-copy");
        makeFiles(to, {"b.bmp"}, 100);
        QFile::setPermissions(to + "/b.bmp", QFileDevice::ReadOwner);
        show(src, {"a.jpg", "b.bmp"});
        const auto before = snapshot(src);
        ui = {};
        ws->history.clear();
        ui.answers = {Answer::Yes, Answer::Yes};
        run(move, to);
        EXPECT_EQ(ui.prompts, Prompts({question(move ? "Move Files" : "Copy Files",
                                                QString(move ? "Move " : "Copy ") +
                                                    "2 file(s) to " + to + " ?"),
                                       question("File Exists", "Overwrite " + to + "/b.bmp?")}));
        EXPECT_EQ(historyLines().value(1),
                  src + "/b.bmp " + (move ? "moved" : "copied") + " to " + to + "/b.bmp");
        EXPECT_EQ(snapshot(to), (QMap<QString, QByteArray>{{"a.jpg", before["a.jpg"]},
                                                           {"b.bmp", before["b.bmp"]}}))
            << "the read-only target was replaced after Yes";
        EXPECT_EQ(QFileInfo::exists(src + "/a.jpg"), !move);
        makeFiles(src, {"a.jpg", "b.bmp"});
    }
}

// Five held files; two cannot go (one has vanished, one is declined) and stay
// held. When every move fails, every file stays held.
TEST_F(CopyMoveFixture, AMoveDropsFromTheHoldListOnlyTheFilesThatWent) {
    makeFiles(src, {"d.jpg", "e.jpg"});
    makeFiles(dst, {"e.jpg"}, 10);
    holdInSrc({"a.jpg", "b.bmp", "c.tga", "d.jpg", "e.jpg"});
    show(folder("elsewhere"));
    QFile::remove(src + "/c.tga");
    ws->settings.confirmActions = 0;
    ui.answers = {Answer::No};
    run(true, dst);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({src + "/c.tga", src + "/e.jpg"}));
    run(true, src);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({src + "/c.tga", src + "/e.jpg"}));
}

TEST_F(CopyMoveFixture, AMoveAcrossFileSystemsFlushesTheCopyBeforeTheSourceGoes) {
    if (!far)
        GTEST_SKIP() << "no second file system to move across";
    const int syncsBefore = platform::fileSyncCount();
    ws->settings.confirmActions = 0;
    show(src, {"a.jpg", "b.bmp", "c.tga"});
    const auto before = snapshot(src);
    run(true, far->path());
    EXPECT_EQ(snapshot(far->path()), before);
    EXPECT_TRUE(snapshot(src).isEmpty());
    EXPECT_GE(platform::fileSyncCount() - syncsBefore, 6) << "each file and its folder entry";
}

// Each case breaks a copy or move on purpose. Afterwards every byte is where it
// was, except for the transfers that succeeded, and each failure is counted.
TEST_F(CopyMoveFixture, FailuresLoseNoByteAndAreReportedOnce) {
    enum Fault { ReadOnlyFolder, FolderOfTheSameName, OntoItselfThroughALink };
    const struct {
        Fault fault;
        int failed;
        QStringList moved; // sources that reach the target
    } cases[] = {{ReadOnlyFolder, 2, {}},
                 {FolderOfTheSameName, 1, {"b.bmp"}},
                 {OntoItselfThroughALink, 2, {}}};
    for (const auto& c : cases) {
        for (const bool move : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.fault << (move ? " move" : " copy"));
            QDir(dir.path()).removeRecursively();
            QDir().mkpath(dst);
            makeFiles(folder("src"), {"a.jpg", "b.bmp"});
            holdInSrc({"a.jpg", "b.bmp"});
            show(dst);
            ws->settings.confirmActions = 0;
            ui = {};
            QString to = dst;
            if (c.fault == ReadOnlyFolder && runningAsRoot()) // root writes through the bits
                writeFile(to = dst + "/plain.file", "not a folder");
            else if (c.fault == ReadOnlyFolder)
                QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            else if (c.fault == FolderOfTheSameName)
                makeFiles(folder("dst/a.jpg/inner"), {"x.jpg"});
            else
                QFile::link(src, to = dir.filePath("alias"));
            const auto before = snapshot(dir.path());
            run(move, to);
            auto expected = before;
            const QString toRelative = QDir(dir.path()).relativeFilePath(to);
            for (const QString& n : c.moved) {
                expected[toRelative + "/" + n] = before.value("src/" + n);
                if (move)
                    expected.remove("src/" + n);
            }
            EXPECT_EQ(snapshot(dir.path()), expected);
            EXPECT_EQ(ui.prompts,
                      Prompts({errorReport(QString::number(c.failed) + " error(s) occurred." +
                                           kReasonsInHistory)}));
            TearDown();
        }
    }
}
