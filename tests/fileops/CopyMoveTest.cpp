#include "fileops/CopyMove.h"
#include "platform/FileCopy.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using namespace dovi::test;

namespace {

const QString kTitle = QStringLiteral("Dovi v1.0.0");

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

TEST_F(CopyMoveFixture, AsksOnceShowsItsCaptionLogsEachFileAndAsksBeforeReplacing) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move);
        const QString verb = move ? "moved" : "copied";
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
        EXPECT_EQ(
            ui.captions,
            QStringList({kTitle + (move ? " - Moving File(s)" : " - Copying File(s)"), kTitle}));
        EXPECT_EQ(historyLines(), QStringList({src + "/a.jpg " + verb + " to " + to + "/a.jpg",
                                               src + "/b.bmp " + verb + " to " + to + "/b.bmp"}));
        EXPECT_EQ(snapshot(to), (QMap<QString, QByteArray>{{"a.jpg", before["a.jpg"]},
                                                           {"b.bmp", before["b.bmp"]}}))
            << "the read-only target was replaced after Yes";
        EXPECT_EQ(QFileInfo::exists(src + "/a.jpg"), !move);
        EXPECT_EQ(ws->selected, move ? QStringList() : QStringList({"a.jpg", "b.bmp"}))
            << "moved files are no longer selected";
        makeFiles(src, {"a.jpg", "b.bmp"});
    }
    // Cancelled chooser, then No: nothing happens, not even a busy state.
    ui = {};
    run(false, QString());
    run(true, dst);
    EXPECT_TRUE(ui.progressCaptions.isEmpty() && snapshot(dst).isEmpty());
    EXPECT_EQ(ws->lastAnswer, Answer::No);
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
    EXPECT_EQ(ws->hold.chosenIndex(), 0);
    run(true, src);
    EXPECT_EQ(ws->hold.fullPaths() + QStringList{heldPanelText(*ws)},
              QStringList({src + "/c.tga", src + "/e.jpg", "Held : 2"}));
    EXPECT_EQ(ui.prompts.last().text, "2 error(s) occurred." + QString(kReasonsInHistory));
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
    // A rename on one file system needs no flush.
    const int syncsAfter = platform::fileSyncCount();
    show(far->path(), {"a.jpg"});
    QDir().mkpath(far->path() + "/back");
    run(true, far->path() + "/back");
    EXPECT_TRUE(QFileInfo::exists(far->path() + "/back/a.jpg"));
    EXPECT_EQ(platform::fileSyncCount(), syncsAfter);
}

// Each case breaks a copy or move on purpose. Afterwards every byte is where it
// was, except for the transfers that succeeded; the history says what failed.
TEST_F(CopyMoveFixture, FailuresLoseNoByteAndAreReportedOnce) {
    const struct {
        const char* name;
        void (*arrange)(CopyMoveFixture&, QString& to);
        QStringList failed; // sources logged " NOT "
        QStringList moved;  // sources that reach the target
    } faults[] = {
        {"ReadOnlyFolder",
         [](CopyMoveFixture& f, QString& to) {
             to = f.dst;
             if (runningAsRoot()) { // root writes through permission bits
                 to = f.dst + "/plain.file";
                 writeFile(to, "not a folder");
             } else {
                 QFile::setPermissions(f.dst, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
             }
         },
         {"a.jpg", "b.bmp"},
         {}},
        {"FolderOfTheSameName",
         [](CopyMoveFixture& f, QString& to) {
             f.makeFiles(f.folder("dst/a.jpg/inner"), {"x.jpg"});
             to = f.dst;
         },
         {"a.jpg"},
         {"b.bmp"}},
        {"OntoItselfThroughALink",
         [](CopyMoveFixture& f, QString& to) {
             to = f.dir.filePath("alias");
             QFile::link(f.src, to);
         },
         {"a.jpg", "b.bmp"},
         {}},
    };
    for (const auto& fault : faults) {
        for (const bool move : {false, true}) {
            SCOPED_TRACE(std::string(fault.name) + (move ? " move" : " copy"));
            QDir(dir.path()).removeRecursively();
            QDir().mkpath(dst);
            QDir().mkpath(src);
            makeFiles(src, {"a.jpg", "b.bmp"});
            holdInSrc({"a.jpg", "b.bmp"});
            show(dst);
            ws->settings.confirmActions = 0;
            ui = {};
            ws->history.clear();
            QString to;
            fault.arrange(*this, to);
            const auto before = snapshot(dir.path());
            run(move, to);
            auto expected = before;
            const QString toRelative = QDir(dir.path()).relativeFilePath(to);
            for (const QString& n : fault.moved) {
                expected[toRelative + "/" + n] = before.value("src/" + n);
                if (move)
                    expected.remove("src/" + n);
            }
            EXPECT_EQ(snapshot(dir.path()), expected);
            QStringList failures;
            for (const QString& line : historyLines())
                if (line.contains(" NOT "))
                    failures << QFileInfo(line.section(" NOT ", 0, 0)).fileName();
            EXPECT_EQ(failures, fault.failed) << historyLines().join('\n').toStdString();
            EXPECT_EQ(ui.prompts,
                      Prompts({errorReport(QString::number(fault.failed.size()) +
                                           " error(s) occurred." + kReasonsInHistory)}));
            EXPECT_EQ(ws->hold.count(), move ? 2 - fault.moved.size() : 2);
            TearDown();
        }
    }
}
