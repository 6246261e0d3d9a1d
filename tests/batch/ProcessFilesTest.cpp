#include "batch/ProcessFiles.h"
#include "batch/ProcessOptions.h"
#include "batch/ProcessRun.h"

#include "ProcessTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <functional>

using namespace dovi;
using namespace dovi::test;

namespace {

struct ProcessFiles : PicturesFixture {
    ScriptedWindow window;

    void SetUp() override {
        PicturesFixture::SetUp();
        ws->settings.confirmActions = 0;
    }
    batch::ProcessSummary run(const QStringList& names) {
        return batch::processFiles(*ws, ui, window, paths(names));
    }
    QStringList log() const { return relativeLines(window.log, pics); }
};

imaging::DecodeResult decoded(const QString& path) {
    return imaging::decodeFile(path);
}

} // namespace

TEST_F(ProcessFiles, AsksTheQuestionOfItsModeAndStopsOnNo) {
    struct Case {
        int convertOnly;
        Answer answer;
        QString title, text;
    };
    const Case cases[] = {
        {1, Answer::No, "Convert Files", "Convert files ?"},
        {0, Answer::No, "Process Files", "Process files at 640 x 480 ?"},
        {0, Answer::Yes, "Process Files", "Process files at 640 x 480 ?"},
    };
    writeImage(pic("a.bmp"), {800, 600}, imaging::Bmp);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto before = snapshot(pics);
        ws->settings.confirmActions = 1;
        ws->settings.convertOnly = c.convertOnly;
        ws->settings.processWidth = 640;
        ws->settings.processHeight = 480;
        ui.prompts.clear();
        ui.answers = {c.answer};
        window = {};
        run({"a.bmp"});
        EXPECT_EQ(ui.prompts, Prompts({question(c.title, c.text)}));
        EXPECT_EQ(ws->lastAnswer, c.answer);
        if (c.answer == Answer::No) {
            EXPECT_TRUE(window.events.isEmpty()) << "no window for a No";
            EXPECT_EQ(snapshot(pics), before);
        } else {
            EXPECT_EQ(log(), QStringList{"<dir>/a.bmp   ...   complete"});
        }
    }
    ui.prompts.clear();
    ws->settings.confirmActions = 0;
    window = {};
    run({"a.bmp"});
    EXPECT_TRUE(ui.prompts.isEmpty()) << "no question with confirmations off";
    EXPECT_EQ(window.count, 1);
}

// Each file gets a line saying what happened to it; lines other than
// "complete" go to the history too.
TEST_F(ProcessFiles, RunsInTheWindowLogsEachFileAndTidiesUpAtTheEnd) {
    const QStringList files = mixedFolder(pics, "d.jpg");
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 3; // PCX
    ws->hold.append(pic("a.bmp"));
    ws->hold.bypass = true;
    bool filesReread = false;
    QObject::connect(ws.get(), &Workspace::filesChanged, [&] { filesReread = true; });
    bool closeOffDuringRun = false;
    window.onProgress = [&](int) { closeOffDuringRun = !window.closeEnabled; };

    const auto summary = batch::processFiles(*ws, ui, window, files);

    EXPECT_EQ(window.events.first(), "open Processing 6 files. ESCAPE to abort");
    EXPECT_EQ(window.count, 6);
    EXPECT_EQ(window.progress, 6);
    EXPECT_TRUE(closeOffDuringRun);
    const QStringList expected = {
        "<dir>/a.bmp   ...   complete",
        "<dir>/notes.txt   ...   not a supported image type",
        "<dir>/b.tga   ...   resample not required",
        "<dir>/d.jpg   ...   complete",
        "<dir>/broken.jpg   ...   could not be read: ",
        "<dir>/c.pcx   ...   complete",
        "1 file(s) could not be processed",
    };
    const QStringList got = log();
    ASSERT_EQ(got.size(), expected.size()) << got.join("\n").toStdString();
    for (int i = 0; i < got.size(); ++i)
        EXPECT_TRUE(got[i].startsWith(expected[i])) << got[i].toStdString();
    EXPECT_EQ(window.events.mid(window.events.size() - 2),
              QStringList({"caption Work Complete - 1 file(s) failed", "close on"}));
    EXPECT_EQ(relativeLines(historyLines(), pics),
              QStringList({"Processing <dir>/notes.txt   ...   not a supported image type",
                           "Processing <dir>/b.tga   ...   resample not required",
                           "Processing " + got[4]}));
    // A file saved only for the alternate format is written all the same;
    // c.pcx is rewritten in place.
    const QSize sizes[] = {{100, 50}, {50, 50}, {100, 50}, {100, 100}};
    int n = 0;
    for (const char* name : {"a.pcx", "b.pcx", "c.pcx", "d.pcx"}) {
        const auto saved = decoded(pic(name));
        EXPECT_EQ(saved.image.pixels.size(), sizes[n++]) << name;
        EXPECT_EQ(saved.image.format, imaging::Pcx) << name;
    }
    EXPECT_FALSE(QFile::exists(pic("notes.pcx")));
    EXPECT_FALSE(QFile::exists(pic("broken.pcx")));
    EXPECT_EQ(summary.failed, 1);
    EXPECT_TRUE(filesReread);
    EXPECT_TRUE(ws->files.contains("a.pcx"));
    EXPECT_EQ(ws->hold.count(), 1) << "the hold list is cleared only with Delete Original";
    EXPECT_FALSE(ui.waitCursor);
    EXPECT_EQ(ui.progressCaptions.last(), "Dovi - Idle");

    ws->settings.historyLimit = 0;
    ws->history.clear();
    window = {};
    run({"notes.txt"});
    EXPECT_TRUE(historyLines().isEmpty());
    EXPECT_EQ(window.log.size(), 1);
}

TEST_F(ProcessFiles, DeleteOriginalRemovesOnlyADifferentSafelyWrittenFile) {
    struct Case {
        const char* what;
        bool altFormat, altFolder;
        QString output; // relative to the temporary folder
        bool sourceDeleted;
    };
    const Case cases[] = {
        {"same output", false, false, "pics/a.jpg", false},
        {"alternate format", true, false, "pics/a.bmp", true},
        {"alternate folder", false, true, "out/a.jpg", true},
        {"both", true, true, "out/a.bmp", true},
    };
    const QString out = folder("out");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(pics).removeRecursively();
        QDir(out).removeRecursively();
        QDir().mkpath(pics);
        QDir().mkpath(out);
        writeImage(pic("a.jpg"), {300, 150}, imaging::Jpeg);
        ws->settings.convertOnly = 1;
        ws->settings.deleteOriginal = 1;
        ws->settings.altSaveFormatOn = c.altFormat;
        ws->settings.altSaveFormat = 1;
        ws->settings.altSaveFolderOn = c.altFolder;
        ws->settings.altSaveFolderPath = out + "/";
        ws->hold.append(pic("a.jpg"));
        window = {};
        run({"a.jpg"});
        EXPECT_EQ(log(), QStringList{"<dir>/a.jpg   ...   complete"});
        EXPECT_TRUE(decoded(dir.filePath(c.output)).ok());
        EXPECT_EQ(QFile::exists(pic("a.jpg")), !c.sourceDeleted);
        EXPECT_TRUE(ws->hold.isEmpty()) << "Delete Original empties the hold list";
    }
}

TEST_F(ProcessFiles, EscapeStopsTheRunAfterTheFileInProgress) {
    QStringList names;
    for (int i = 1; i <= 10; ++i) {
        names << QString("f%1.bmp").arg(i);
        writeImage(pic(names.last()), {200, 100}, imaging::Bmp);
    }
    const auto before = snapshot(pics);
    ws->settings.deleteOriginal = 1;
    ws->hold.append(pic("f1.bmp"));
    bool filesReread = false;
    QObject::connect(ws.get(), &Workspace::filesChanged, [&] { filesReread = true; });
    // Escape during the fourth file is seen once it is finished.
    window.onProgress = [&](int done) {
        if (done == 4)
            ws->processAbort = true;
    };
    const auto summary = run(names);

    EXPECT_TRUE(summary.aborted);
    EXPECT_EQ(window.caption, "ABORT after processing 4 files...");
    EXPECT_EQ(window.log.size(), 6);
    EXPECT_EQ(window.log.mid(4), QStringList({" ", "ABORT!"}));
    EXPECT_EQ(window.events.last(), "close on");
    const auto after = snapshot(pics);
    for (int i = 1; i <= 10; ++i) {
        const QString name = names[i - 1];
        if (i <= 4)
            EXPECT_NE(after.value(name), before.value(name)) << name.toStdString();
        else
            EXPECT_EQ(after.value(name), before.value(name)) << name.toStdString();
    }
    EXPECT_FALSE(filesReread);
    EXPECT_EQ(ws->hold.count(), 1) << "an aborted run leaves the hold list alone";
    EXPECT_FALSE(ui.idleLightBusy);
}

// The window's run and the command line's run are the same core: for the
// same files and settings they write the same files and the same log lines.
TEST_F(ProcessFiles, WindowAndCommandLineWriteTheSameFilesAndLines) {
    const QString tool = QCoreApplication::applicationDirPath() + "/dovi-batch";
    if (!QFileInfo(tool).isExecutable())
        GTEST_SKIP() << "dovi-batch is not built beside the tests: " << tool.toStdString();

    struct Case {
        const char* what;
        QStringList arguments; // the command line's options
        std::function<void(Settings&, const QString& out)> settings;
    };
    const Case cases[] = {
        {"convert to BMP",
         {"--to", "bmp"},
         [](Settings& s, const QString&) {
             s.convertOnly = 1;
             s.altSaveFormatOn = 1;
             s.altSaveFormat = 1;
         }},
        {"fit, JPEG, folder, delete",
         {"--fit", "100x80", "--to", "jpg", "--out", "<out>", "--delete-original", "--lum", "20",
          "--chrom", "30"},
         [](Settings& s, const QString& out) {
             s.processWidth = 100;
             s.processHeight = 80;
             s.altSaveFormatOn = 1;
             s.altSaveFormat = 0;
             s.altSaveFolderOn = 1;
             s.altSaveFolderPath = out;
             s.deleteOriginal = 1;
             s.jpegLuminance = 20;
             s.jpegChrominance = 30;
         }},
        {"fit up and down in place",
         {"--fit", "100x100", "--up"},
         [](Settings& s, const QString&) {
             s.processWidth = 100;
             s.processHeight = 100;
             s.resampleUpDown = 1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir windowRun, toolRun;
        for (QTemporaryDir* d : {&windowRun, &toolRun}) {
            QDir().mkpath(d->filePath("in"));
            QDir().mkpath(d->filePath("out"));
        }
        const QStringList windowFiles = mixedFolder(windowRun.filePath("in"), "d.jpg");
        const QStringList toolFiles = mixedFolder(toolRun.filePath("in"), "d.jpg");

        ws->settings = Settings{};
        ws->settings.confirmActions = 0;
        c.settings(ws->settings, windowRun.filePath("out"));
        window = {};
        batch::processFiles(*ws, ui, window, windowFiles);

        QStringList arguments{"convert"};
        for (const QString& a : c.arguments)
            arguments << (a == "<out>" ? toolRun.filePath("out") : a);
        QProcess process;
        process.start(tool, arguments + toolFiles);
        ASSERT_TRUE(process.waitForFinished(120000));
        const QStringList toolLog =
            QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);

        // The window adds its count of failures at the end; the command line
        // says it on stderr.
        ASSERT_FALSE(window.log.isEmpty());
        EXPECT_EQ(window.log.last(), "1 file(s) could not be processed");
        EXPECT_EQ(relativeLines(window.log.mid(0, window.log.size() - 1), windowRun.path()),
                  relativeLines(toolLog, toolRun.path()));
        EXPECT_EQ(snapshot(windowRun.path()), snapshot(toolRun.path()));
        EXPECT_EQ(process.exitCode(), 1);
    }
}

namespace {

batch::ProcessOptions convertToJpeg() {
    batch::ProcessOptions o;
    o.box = {100, 100};
    o.altSaveFormatOn = true;
    o.altSaveFormat = 0;
    return o;
}

} // namespace

// Converting a.bmp to JPEG makes a.jpg, a later entry of the list, and a.bmp
// comes again at the end; q.bmp and q.tga, and p.bmp of two folders, come to
// one output name. A parallel run must still match a one-by-one run.
TEST(ProcessRun, ParallelRunWritesAndLogsExactlyWhatAOneByOneRunDoes) {
    const auto filesIn = [](const QString& root) {
        for (const char* sub : {"/one", "/two", "/out"})
            QDir().mkpath(root + sub);
        QStringList files = mixedFolder(root, "a.jpg") << root + "/a.bmp";
        writeImage(root + "/q.bmp", {80, 60}, imaging::Bmp);
        writeImage(root + "/q.tga", {70, 50}, imaging::Tga);
        writeImage(root + "/one/p.bmp", {90, 40}, imaging::Bmp);
        writeImage(root + "/two/p.bmp", {40, 90}, imaging::Bmp);
        files.insert(2, root + "/q.bmp");
        return files << root + "/q.tga" << root + "/one/p.bmp" << root + "/two/p.bmp";
    };
    for (const bool intoFolder : {false, true}) {
        for (const int abortAfter : {-1, 3, 8}) {
            SCOPED_TRACE(::testing::Message()
                         << "into a folder " << intoFolder << ", abort after " << abortAfter);
            QTemporaryDir one, many;
            const auto optionsFor = [&](const QString& root) {
                batch::ProcessOptions o = convertToJpeg();
                o.altSaveFolderOn = intoFolder;
                o.altSaveFolderPath = root + "/out/";
                o.deleteOriginal = intoFolder;
                return o;
            };
            RecordingObserver seq(abortAfter), par(abortAfter);
            const batch::ProcessSummary s1 =
                batch::runProcess(filesIn(one.path()), optionsFor(one.path()), seq, 1);
            const batch::ProcessSummary s2 =
                batch::runProcess(filesIn(many.path()), optionsFor(many.path()), par, 4);
            EXPECT_EQ(relativeLines(seq.log, one.path()), relativeLines(par.log, many.path()));
            EXPECT_EQ(relativeLines(seq.history, one.path()),
                      relativeLines(par.history, many.path()));
            EXPECT_EQ(snapshot(one.path()), snapshot(many.path()));
            EXPECT_EQ(s1.finished, s2.finished);
            EXPECT_EQ(s1.failed, s2.failed);
            EXPECT_EQ(s1.aborted, abortAfter >= 0);
            if (abortAfter < 0) {
                EXPECT_EQ(seq.log.filter("   ...   not saved as ").size(), 3)
                    << seq.log.join('\n').toStdString();
            }
        }
    }
}
