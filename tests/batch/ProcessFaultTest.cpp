// Each case breaks a processing run on purpose and checks that every original
// is either untouched or correctly replaced, and that the log says what failed.
#include "batch/ProcessFiles.h"

#include "batch/BatchFixture.h"

#include <QFile>
#include <functional>

using namespace dovi;
using namespace dovi::test;

namespace {

struct LogOnlyWindow : batch::ProcessWindowPort {
    QStringList log;
    std::function<void(int)> onProgress;
    void open(const QString&, int) override {}
    void setCaption(const QString&) override {}
    void addLogLine(const QString& line) override { log << line; }
    void setProgressValue(int value) override {
        if (onProgress)
            onProgress(value);
    }
    void setCloseEnabled(bool) override {}
};

struct ProcessFaults : BatchFixture {
    LogOnlyWindow window;
    QString pics;

    void SetUp() override {
        BatchFixture::SetUp();
        pics = ws->currentFolder;
        ws->settings.confirmActions = 0;
    }
    QString pic(const QString& name) const { return pics + "/" + name; }
    batch::ProcessSummary run(const QStringList& names) {
        QStringList targets;
        for (const QString& n : names)
            targets << pic(n);
        return batch::processFiles(*ws, ui, window, targets);
    }
    QStringList log() const { return relativeLines(window.log, pics); }
};

} // namespace

TEST_F(ProcessFaults, AnUnwritableOutputFolderKeepsEveryOriginal) {
    writeImage(pic("a.bmp"), {200, 100}, imaging::Bmp);
    writeImage(pic("b.jpg"), {120, 100}, imaging::Jpeg);
    writeFile(dir.filePath("plain.file"), "a file where a folder should be");
    ws->settings.convertOnly = 1;
    ws->settings.deleteOriginal = 1;
    ws->settings.altSaveFolderOn = 1;
    // Root writes through permission bits; a folder inside a regular file
    // cannot be written by anyone.
    ws->settings.altSaveFolderPath = dir.filePath("plain.file/out");
    ws->hold.append(pic("a.bmp"));
    const auto before = snapshot(dir.path());

    const auto summary = run({"a.bmp", "b.jpg"});

    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(summary.failed, 2);
    ASSERT_EQ(window.log.size(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(window.log[i].contains("   ...   could not be saved as " +
                                           dir.filePath("plain.file/out/")))
            << window.log[i].toStdString();
        EXPECT_FALSE(window.log[i].endsWith("complete"));
    }
    EXPECT_EQ(window.log[2], "2 file(s) could not be processed");
}

TEST_F(ProcessFaults, AFullDiskLeavesEachOriginalWholeOrCorrectlyReplaced) {
    const QImage small = makeTestPattern(8, 8);
    writeImage(pic("big.bmp"), {300, 200}, imaging::Bmp); // about 180 kB
    writeImage(pic("small.bmp"), {8, 8}, imaging::Bmp);   // a few hundred bytes
    writeImage(pic("big2.tga"), {300, 200}, imaging::Tga);
    writeImage(pic("other.bmp"), {300, 200}, imaging::Bmp);
    const auto before = snapshot(pics);
    ws->settings.convertOnly = 1;
    for (const bool alternate : {false, true}) {
        SCOPED_TRACE(alternate ? "alternate format, delete original" : "in place");
        ws->settings.altSaveFormatOn = alternate;
        ws->settings.altSaveFormat = 3; // PCX
        ws->settings.deleteOriginal = alternate;
        window = {};
        batch::ProcessSummary summary;
        {
            FileSizeLimit disk(16 * 1024);
            summary = run({"big.bmp", "small.bmp", "big2.tga"});
        }
        EXPECT_EQ(summary.failed, 2);
        const auto after = snapshot(pics);
        EXPECT_EQ(after.value("big.bmp"), before.value("big.bmp"));
        EXPECT_EQ(after.value("big2.tga"), before.value("big2.tga"));
        EXPECT_EQ(after.value("other.bmp"), before.value("other.bmp"));
        EXPECT_FALSE(after.contains("big.pcx"));
        EXPECT_FALSE(after.contains("big2.pcx"));
        const QString smallOut = alternate ? "small.pcx" : "small.bmp";
        EXPECT_TRUE(samePixels(small, imaging::decodeFile(pic(smallOut)).image.pixels));
        EXPECT_EQ(after.contains("small.bmp"), !alternate)
            << "deleted only once its output is safe";
        // No half-written file is left behind under any name.
        EXPECT_EQ(after.size(), 4);
        EXPECT_EQ(log().filter("could not be saved as").size(), 2);
        EXPECT_EQ(log().filter("complete").size(), 1);
    }
}

TEST_F(ProcessFaults, ASourceThatVanishesOrChangesMidRunIsTakenAsItIsThen) {
    for (int i = 1; i <= 6; ++i)
        writeImage(pic(QString("f%1.bmp").arg(i)), {200, 100}, imaging::Bmp);
    const QImage replacement = makeTestPattern(90, 30);
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 2; // TGA
    // Work on later files may already be under way when the first is done.
    window.onProgress = [&](int done) {
        if (done != 1)
            return;
        QFile::remove(pic("f3.bmp"));
        writeImage(pic("f5.bmp"), {90, 30}, imaging::Bmp);
    };
    const auto summary = run({"f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp", "f6.bmp"});

    EXPECT_EQ(summary.failed, 1);
    ASSERT_EQ(window.log.size(), 7);
    EXPECT_TRUE(log()[2].startsWith("<dir>/f3.bmp   ...   could not be read"));
    EXPECT_FALSE(QFile::exists(pic("f3.tga"))) << "a vanished file has no output";
    EXPECT_FALSE(QFile::exists(pic("f3.bmp")));
    EXPECT_EQ(log()[4], "<dir>/f5.bmp   ...   resample not required");
    EXPECT_TRUE(samePixels(replacement, imaging::decodeFile(pic("f5.tga")).image.pixels))
        << "the output is made from the file as it is when its turn comes";
    EXPECT_EQ(imaging::decodeFile(pic("f6.tga")).image.pixels.size(), QSize(100, 50));
}

TEST_F(ProcessFaults, AReadOnlySourceIsReplacedOrDeletedOnlyOnceItsOutputIsSafe) {
    const QImage pattern = makeTestPattern(60, 40);
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    writeImage(pic("a.bmp"), {60, 40}, imaging::Bmp);
    writeImage(pic("b.bmp"), {60, 40}, imaging::Bmp);
    writeFile(dir.filePath("plain.file"), "x");
    for (const char* name : {"a.bmp", "b.bmp"})
        QFile::setPermissions(pic(name), readOnly);
    ws->settings.convertOnly = 1;
    ws->settings.deleteOriginal = 1;
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 2; // TGA

    run({"a.bmp"});
    EXPECT_FALSE(QFile::exists(pic("a.bmp")));
    EXPECT_TRUE(samePixels(pattern, imaging::decodeFile(pic("a.tga")).image.pixels));

    const QByteArray bBefore = checksum(pic("b.bmp"));
    ws->settings.altSaveFolderOn = 1;
    ws->settings.altSaveFolderPath = dir.filePath("plain.file/out");
    window = {};
    run({"b.bmp"});
    EXPECT_EQ(checksum(pic("b.bmp")), bBefore);

    // In place, the read-only file is replaced whole.
    ws->settings.altSaveFolderOn = 0;
    ws->settings.altSaveFormatOn = 0;
    window = {};
    run({"b.bmp"});
    EXPECT_EQ(log(), QStringList{"<dir>/b.bmp   ...   complete"});
    EXPECT_TRUE(samePixels(pattern, imaging::decodeFile(pic("b.bmp")).image.pixels));
}
