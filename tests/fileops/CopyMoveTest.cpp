#include "fileops/CopyMove.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

#include <optional>

using namespace dovi;
using dovi::test::checksum;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;

namespace {

const QString kTitle = QStringLiteral("Dovi v1.0.0");

struct CopyMoveFixture : WorkspaceFixture {
    QString src, dst;
    void SetUp() override {
        WorkspaceFixture::SetUp();
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
    EXPECT_EQ(ui.prompts,
              test::Prompts({test::question("Copy Files", "Copy 3 file(s) to " + dst + " ?")}));
    EXPECT_EQ(ui.captions, QStringList({kTitle + " - Copying File(s)", kTitle}));
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_EQ(ui.highestProgress(), 3);
    EXPECT_EQ(ui.eventsProcessed, 3);
    EXPECT_FALSE(ui.idleLightBusy);
    EXPECT_EQ(historyLines(), QStringList({src + "/a.jpg copied to " + dst + "/a.jpg",
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

    EXPECT_EQ(ui.prompts,
              test::Prompts({test::question("File Exists", "Overwrite " + dst + "/a.jpg?"),
                             test::question("File Exists", "Overwrite " + dst + "/b.bmp?")}))
        << "no first question with confirmations off";
    EXPECT_EQ(checksum(dst + "/a.jpg"), checksum(src + "/a.jpg"));
    EXPECT_EQ(checksum(dst + "/b.bmp"), oldB);
    EXPECT_EQ(historyLines(), QStringList({src + "/a.jpg copied to " + dst + "/a.jpg"}))
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
        EXPECT_EQ(historyLines().last(),
                  (bypass ? src : other) + "/" + moved + " moved to " + to + "/" + moved);
    }
    EXPECT_FALSE(QFileInfo::exists(other + "/h.jpg"));
    EXPECT_FALSE(QFileInfo::exists(src + "/a.jpg"));
    EXPECT_EQ(ws->files.names(), QStringList({"b.bmp", "c.tga"})) << "the list is read again";
}

TEST_F(CopyMoveFixture, TheDestinationBecomesTheWorkingFolderWhenAsked) {
    ws->settings.confirmActions = 0;
    ws->settings.historyLimit = 0;
    show(src, {"c.tga"});
    chooser.willChoose(dst, true);
    fileops::copyFiles(*ws, ui, chooser);
    EXPECT_EQ(ws->currentFolder, dst);
    EXPECT_EQ(ws->files.names(), QStringList({"c.tga"}));
    EXPECT_TRUE(historyLines().isEmpty()) << "history off: no lines";
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
    EXPECT_EQ(historyLines().size(), 3);
    EXPECT_TRUE(historyLines()[0].endsWith(" moved to " + shm->path() + "/a.jpg"));
}

// Each case breaks a copy or move on purpose. Afterwards every byte of every
// source and of every file already at the destination must be where it was,
// except for the transfers that succeeded; the history says what failed, and
// the failures are reported once, after any overwrite questions.
namespace {

struct CopyMoveFaults;
struct Fault {
    const char* name;
    bool move; // false: run as a copy and again as a move
    void (*arrange)(CopyMoveFaults&, bool move);
};

struct CopyMoveFaults : WorkspaceFixture, ::testing::WithParamInterface<Fault> {
    QString src, dst, to; // to: the destination chosen
    std::unique_ptr<QTemporaryDir> far = dovi::test::otherFileSystemDir(dir.path());
    QList<std::pair<QString, QString>> transfers; // files that do reach their target
    QStringList lines; // the history expected; a line ending in "*" is a prefix
    int questions = 0; // overwrite questions, all answered Yes
    bool fullDisk = false;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        src = folder("src");
        dst = folder("dst");
        ws->settings.confirmActions = 0;
    }
    void TearDown() override {
        QFile::setPermissions(dst, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    }
    QString expand(QString s) const {
        return s.replace("<src>", src)
            .replace("<dst>", dst)
            .replace("<to>", to)
            .replace("<far>", far ? far->path() : QString())
            .replace("<verb>", GetParam().move ? "moved" : "copied");
    }
    // Every file under the temporary folders, by absolute path.
    QMap<QString, QByteArray> everything() const {
        QMap<QString, QByteArray> out;
        for (const QString& root : {dir.path(), far ? far->path() : QString()}) {
            if (root.isEmpty())
                continue;
            const auto files = snapshot(root);
            for (auto it = files.begin(); it != files.end(); ++it)
                out.insert(root + "/" + it.key(), it.value());
        }
        return out;
    }
    void holdAndShowDst(const QStringList& paths) {
        for (const QString& p : paths)
            ws->hold.append(expand(p));
        show(dst);
    }
};

const Fault kFaults[] = {
    {"ToAReadOnlyFolder", false,
     [](CopyMoveFaults& f, bool) {
         f.makeFiles(f.src, {"a.jpg", "b.jpg"});
         // Root writes through permission bits, so a "folder" that is a regular
         // file stands in for a read-only one there.
         f.to = f.dst;
         if (dovi::test::runningAsRoot()) {
             f.to = f.dst + "/plain.file";
             ASSERT_TRUE(dovi::test::writeFile(f.to, "not a folder"));
         } else {
             QFile::setPermissions(f.dst, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
         }
         f.show(f.src, {"a.jpg", "b.jpg"});
         f.lines = {"<src>/a.jpg NOT <verb> to <to>/a.jpg - *",
                    "<src>/b.jpg NOT <verb> to <to>/b.jpg - *"};
     }},
    {"OntoAFolderOfTheSameName", false,
     [](CopyMoveFaults& f, bool) {
         f.makeFiles(f.src, {"a.jpg", "b.jpg"});
         f.makeFiles(f.folder("dst/a.jpg/inner"), {"x.jpg"});
         f.show(f.src, {"a.jpg", "b.jpg"});
         f.to = f.dst;
         f.transfers = {{"<src>/b.jpg", "<dst>/b.jpg"}};
         f.lines = {"<src>/a.jpg NOT <verb> to <dst>/a.jpg - Is a directory",
                    "<src>/b.jpg <verb> to <dst>/b.jpg"};
     }},
    {"ASourceDeletedAfterListing", false,
     [](CopyMoveFaults& f, bool) {
         f.makeFiles(f.src, {"a.jpg", "b.jpg", "c.jpg"});
         f.makeFiles(f.dst, {"b.jpg"}, 77); // no overwrite question for a source that has gone
         f.show(f.src, {"a.jpg", "b.jpg", "c.jpg"});
         QFile::remove(f.src + "/b.jpg");
         f.to = f.dst;
         f.transfers = {{"<src>/a.jpg", "<dst>/a.jpg"}, {"<src>/c.jpg", "<dst>/c.jpg"}};
         f.lines = {"<src>/a.jpg <verb> to <dst>/a.jpg",
                    "<src>/b.jpg NOT <verb> to <dst>/b.jpg - No such file or directory",
                    "<src>/c.jpg <verb> to <dst>/c.jpg"};
     }},
    {"ToAFullDisk", false,
     [](CopyMoveFaults& f, bool move) {
         f.makeFiles(f.src, {"small.jpg"}, 64 << 10);
         f.makeFiles(f.src, {"large.jpg"}, 512 << 10);
         f.makeFiles(f.dst, {"small.jpg", "large.jpg"}, 1000);
         if (f.far)
             f.makeFiles(f.far->path(), {"far.jpg"}, 512 << 10);
         f.holdAndShowDst({"<src>/small.jpg", "<src>/large.jpg"});
         if (f.far)
             f.ws->hold.append(f.far->path() + "/far.jpg");
         f.show(f.src);
         f.to = f.dst;
         f.questions = 2;
         f.fullDisk = true;
         // A move renames on one file system and needs no space; a copy cannot.
         f.transfers = {{"<src>/small.jpg", "<dst>/small.jpg"}};
         f.lines = {"<src>/small.jpg <verb> to <dst>/small.jpg"};
         if (move) {
             f.transfers.append(std::pair<QString, QString>("<src>/large.jpg", "<dst>/large.jpg"));
             f.lines << "<src>/large.jpg moved to <dst>/large.jpg";
         } else {
             f.lines << "<src>/large.jpg NOT copied to <dst>/large.jpg - File too large";
         }
         // Across file systems the copy fails: the source stays, the target is not made.
         if (f.far)
             f.lines << "<far>/far.jpg NOT <verb> to <dst>/far.jpg - File too large*";
     }},
    {"OntoItself", true,
     [](CopyMoveFaults& f, bool) {
         // Held files from src while dst is shown: the chooser compares only
         // with the shown folder, so src itself gets through.
         f.makeFiles(f.src, {"a.jpg", "b.jpg"});
         f.holdAndShowDst({"<src>/a.jpg", "<src>/b.jpg"});
         f.to = f.src;
         f.lines = {"<src>/a.jpg NOT moved to <to>/a.jpg - the target is the source file itself",
                    "<src>/b.jpg NOT moved to <to>/b.jpg - the target is the source file itself"};
     }},
    {"OntoItselfThroughALink", true,
     [](CopyMoveFaults& f, bool) {
         f.makeFiles(f.src, {"a.jpg", "b.jpg"});
         ::symlink(QFile::encodeName(f.src).constData(),
                   QFile::encodeName(f.dir.filePath("alias")).constData());
         f.holdAndShowDst({"<src>/a.jpg", "<src>/b.jpg"});
         f.to = f.dir.filePath("alias");
         f.lines = {"<src>/a.jpg NOT moved to <to>/a.jpg - the target is the source file itself",
                    "<src>/b.jpg NOT moved to <to>/b.jpg - the target is the source file itself"};
     }},
};

std::vector<Fault> allFaults() {
    std::vector<Fault> out;
    for (const Fault& f : kFaults) {
        if (!f.move)
            out.push_back(f);
        out.push_back({f.name, true, f.arrange});
    }
    return out;
}

} // namespace

TEST_P(CopyMoveFaults, LoseNoByteAndReportEachFailureOnce) {
    const Fault& fault = GetParam();
    fault.arrange(*this, fault.move);
    const auto before = everything();
    chooser.willChoose(to);
    ui.answers.assign(questions, Answer::Yes);
    {
        std::optional<dovi::test::FileSizeLimit> full;
        if (fullDisk)
            full.emplace(256 << 10);
        fault.move ? fileops::moveFiles(*ws, ui, chooser) : fileops::copyFiles(*ws, ui, chooser);
    }

    auto expected = before;
    for (const auto& [from, target] : transfers) {
        expected[expand(target)] = before.value(expand(from));
        if (fault.move)
            expected.remove(expand(from));
    }
    EXPECT_EQ(everything(), expected);
    ASSERT_EQ(historyLines().size(), lines.size()) << historyLines().join('\n').toStdString();
    int errors = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = expand(lines[i]);
        errors += line.contains(" NOT ");
        if (line.endsWith('*')) {
            EXPECT_TRUE(historyLines()[i].startsWith(line.chopped(1)))
                << historyLines()[i].toStdString();
        } else {
            EXPECT_EQ(historyLines()[i], line);
        }
    }
    ASSERT_EQ(ui.prompts.size(), questions + (errors ? 1 : 0));
    if (errors) {
        EXPECT_EQ(ui.prompts.last(),
                  test::errorReport(QString::number(errors) + " error(s) occurred."));
    }
    EXPECT_TRUE(QDir(dst).entryList({".dovi-copy-*"}, QDir::Hidden | QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Faults, CopyMoveFaults, ::testing::ValuesIn(allFaults()),
                         [](const auto& info) {
                             return (info.param.move ? "Move" : "Copy") +
                                    std::string(info.param.name);
                         });
