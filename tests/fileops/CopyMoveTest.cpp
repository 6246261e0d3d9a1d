#include "fileops/CopyMove.h"
#include "platform/FileCopy.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

#include <optional>

using namespace dovi;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;

namespace {

const QString kTitle = QStringLiteral("Dovi v1.0.0");

struct CopyMoveFixture : WorkspaceFixture {
    QString src, dst;
    std::unique_ptr<QTemporaryDir> far = dovi::test::otherFileSystemDir(dir.path());
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
    void run(bool move) {
        move ? fileops::moveFiles(*ws, ui, chooser) : fileops::copyFiles(*ws, ui, chooser);
    }
    // Every file under the temporary folders, by absolute path.
    QMap<QString, QByteArray> everything() const {
        QMap<QString, QByteArray> out;
        for (const QString& root : {dir.path(), far ? far->path() : QString()}) {
            const auto files = root.isEmpty() ? QMap<QString, QByteArray>() : snapshot(root);
            for (auto it = files.begin(); it != files.end(); ++it)
                out.insert(root + "/" + it.key(), it.value());
        }
        return out;
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
        chooser.willChoose(to);
        ui = {};
        ws->history.clear();
        ui.answers = {Answer::Yes, Answer::Yes};

        run(move);

        EXPECT_EQ(ui.prompts,
                  test::Prompts({test::question(move ? "Move Files" : "Copy Files",
                                                QString(move ? "Move " : "Copy ") +
                                                    "2 file(s) to " + to + " ?"),
                                 test::question("File Exists", "Overwrite " + to + "/b.bmp?")}));
        EXPECT_EQ(
            ui.captions,
            QStringList({kTitle + (move ? " - Moving File(s)" : " - Copying File(s)"), kTitle}));
        EXPECT_EQ(ui.highestProgress(), 2);
        EXPECT_EQ(ui.eventsProcessed, 2);
        EXPECT_FALSE(ui.idleLightBusy);
        EXPECT_EQ(historyLines(), QStringList({src + "/a.jpg " + verb + " to " + to + "/a.jpg",
                                               src + "/b.bmp " + verb + " to " + to + "/b.bmp"}));
        EXPECT_EQ(snapshot(to), (QMap<QString, QByteArray>{{"a.jpg", before["a.jpg"]},
                                                           {"b.bmp", before["b.bmp"]}}))
            << "the read-only target was replaced after Yes";
        EXPECT_EQ(QFileInfo::exists(src + "/a.jpg"), !move);
        EXPECT_EQ(ws->selected, move ? QStringList() : QStringList({"a.jpg", "b.bmp"}))
            << "moved files are no longer selected";
        if (move)
            makeFiles(src, {"a.jpg", "b.bmp"});
    }
    // Cancelled chooser, then No: nothing happens, not even a busy state.
    ui = {};
    fileops::copyFiles(*ws, ui, chooser);
    chooser.willChoose(dst);
    run(true);
    EXPECT_TRUE(ui.captions.isEmpty());
    EXPECT_TRUE(ui.progressCaptions.isEmpty());
    EXPECT_TRUE(snapshot(dst).isEmpty());
    EXPECT_EQ(ws->lastAnswer, Answer::No);
}

TEST_F(CopyMoveFixture, AMoveDropsFromTheHoldListOnlyTheFilesThatWent) {
    // Five held files; two cannot go (one has vanished, one is declined).
    makeFiles(src, {"d.jpg", "e.jpg"});
    makeFiles(dst, {"e.jpg"}, 10);
    for (const char* n : {"a.jpg", "b.bmp", "c.tga", "d.jpg", "e.jpg"})
        ws->hold.append(src + "/" + n);
    show(folder("elsewhere"));
    QFile::remove(src + "/c.tga");
    ws->settings.confirmActions = 0;
    chooser.willChoose(dst);
    ui.answers = {Answer::No};
    run(true);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({src + "/c.tga", src + "/e.jpg"}));
    EXPECT_EQ(ws->hold.chosenIndex(), 0);
    // Every move fails: every file stays held.
    const QStringList held = ws->hold.fullPaths();
    chooser.willChoose(src);
    ui.answers = {};
    run(true);
    EXPECT_EQ(ws->hold.fullPaths(), held);
    EXPECT_EQ(heldPanelText(*ws), "Held : 2");
    EXPECT_EQ(ui.prompts.last().text, "2 error(s) occurred." + QString(kReasonsInHistory));
}

TEST_F(CopyMoveFixture, AMoveAcrossFileSystemsFlushesTheCopyBeforeTheSourceGoes) {
    if (!far)
        GTEST_SKIP() << "no second file system to move across";
    const int syncsBefore = platform::fileSyncCount();
    ws->settings.confirmActions = 0;
    show(src, {"a.jpg", "b.bmp", "c.tga"});
    const auto before = snapshot(src);
    chooser.willChoose(far->path());
    run(true);
    EXPECT_EQ(snapshot(far->path()), before);
    EXPECT_TRUE(snapshot(src).isEmpty());
    EXPECT_GE(platform::fileSyncCount() - syncsBefore, 6) << "each file and its folder entry";
    // A rename on one file system needs no flush.
    const QString back = far->path() + "/back";
    QDir().mkpath(back);
    const int syncsAfter = platform::fileSyncCount();
    show(far->path(), {"a.jpg"});
    chooser.willChoose(back);
    run(true);
    EXPECT_TRUE(QFileInfo::exists(back + "/a.jpg"));
    EXPECT_EQ(platform::fileSyncCount(), syncsAfter);
}

// Each case breaks a copy or move on purpose. Afterwards every byte is where it
// was, except for the transfers that succeeded; the history says what failed.
struct Fault {
    const char* name;
    void (*arrange)(CopyMoveFixture&, QString& to);
    QStringList failed; // sources logged " NOT ", as "<src>/name"
    QStringList moved;  // sources that reach the target
};

const Fault kFaults[] = {
    {"ReadOnlyFolder",
     [](CopyMoveFixture& f, QString& to) {
         to = f.dst;
         if (dovi::test::runningAsRoot()) { // root writes through permission bits
             to = f.dst + "/plain.file";
             dovi::test::writeFile(to, "not a folder");
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
    {"SourceGoneAfterListing",
     [](CopyMoveFixture& f, QString& to) {
         QFile::remove(f.src + "/a.jpg");
         to = f.dst;
     },
     {"a.jpg"},
     {"b.bmp"}},
    {"OntoItselfThroughALink",
     [](CopyMoveFixture& f, QString& to) {
         to = f.dir.filePath("alias");
         ::symlink(QFile::encodeName(f.src).constData(), QFile::encodeName(to).constData());
     },
     {"a.jpg", "b.bmp"},
     {}},
};

TEST_F(CopyMoveFixture, FailuresLoseNoByteAndAreReportedOnce) {
    for (const Fault& fault : kFaults) {
        for (const bool move : {false, true}) {
            SCOPED_TRACE(std::string(fault.name) + (move ? " move" : " copy"));
            QDir(dir.path()).removeRecursively();
            QDir().mkpath(src);
            QDir().mkpath(dst);
            makeFiles(src, {"a.jpg", "b.bmp"});
            ws->hold.clear();
            for (const char* n : {"a.jpg", "b.bmp"})
                ws->hold.append(src + "/" + n);
            show(dst);
            ws->settings.confirmActions = 0;
            ui = {};
            ws->history.clear();
            QString to;
            fault.arrange(*this, to);
            const auto before = everything();
            chooser.willChoose(to);
            run(move);
            auto expected = before;
            for (const QString& n : fault.moved) {
                expected[to + "/" + n] = before.value(src + "/" + n);
                if (move)
                    expected.remove(src + "/" + n);
            }
            EXPECT_EQ(everything(), expected);
            QStringList failures;
            for (const QString& line : historyLines())
                if (line.contains(" NOT "))
                    failures << QFileInfo(line.section(" NOT ", 0, 0)).fileName();
            EXPECT_EQ(failures, fault.failed) << historyLines().join('\n').toStdString();
            EXPECT_EQ(
                ui.prompts,
                test::Prompts({test::errorReport(QString::number(fault.failed.size()) +
                                                 " error(s) occurred." + kReasonsInHistory)}));
            EXPECT_TRUE(
                QDir(dst).entryList({".dovi-copy-*"}, QDir::Hidden | QDir::Files).isEmpty());
            TearDown();
        }
    }
}
