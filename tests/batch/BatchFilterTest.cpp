#include "batch/BatchFilter.h"

#include "WorkspaceFixture.h"
#include "imaging/ImagingEngine.h"

#include <QFile>

#include <chrono>
#include <future>
#include <sys/stat.h>

using namespace dovi;
using namespace dovi::test;

namespace {

struct BatchFilters : PicturesFixture {
    void SetUp() override {
        PicturesFixture::SetUp();
        ws->settings.confirmActions = 0;
    }
    batch::BatchFilterSummary run(const QString& filter, const QStringList& names) {
        return batch::applyBatchFilter(*ws, ui, filter, paths(names));
    }
};

} // namespace

// Every filter, in every lossless format, writes exactly what the engine's
// own operation makes of the file, in the file's own format.
TEST_F(BatchFilters, EachFilterSavesTheEnginesResultInPlace) {
    const std::pair<const char*, imaging::FormatCode> formats[] = {
        {"bmp", imaging::Bmp}, {"tga", imaging::Tga}, {"pcx", imaging::Pcx}};
    ASSERT_EQ(batch::batchFilters().size(), 6);
    for (const batch::BatchFilter& filter : batch::batchFilters()) {
        for (const auto& [extension, format] : formats) {
            SCOPED_TRACE(filter.name.toStdString() + " " + extension);
            const QString name = QString("p.") + extension;
            writeImage(pic(name), {37, 23}, format);
            imaging::ImagingEngine expected;
            ASSERT_TRUE(expected.load(pic(name)));
            ASSERT_TRUE((expected.*(filter.apply))());
            ws->history.clear();

            const auto summary = run(filter.name, {name});

            EXPECT_EQ(summary.filtered, 1);
            const auto saved = imaging::decodeFile(pic(name));
            ASSERT_TRUE(saved.ok());
            EXPECT_EQ(saved.image.format, format);
            EXPECT_TRUE(samePixels(expected.pixels(), saved.image.pixels));
            EXPECT_EQ(historyLines(), QStringList{pic(name) + filter.historySuffix});
            EXPECT_TRUE(ui.prompts.isEmpty()) << "no question with confirmations off";
        }
    }
}

TEST_F(BatchFilters, ThreeJpegsWithTheQuestionAnsweredYes) {
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg"})
        writeImage(pic(n), {40, 30}, imaging::Jpeg);
    ws->settings.confirmActions = 1;
    ui.answers = {Answer::Yes};
    run("autocontrast", {"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(ui.prompts, Prompts({question("Batch Process 3 files",
                                            "Apply AutoContrast to the selected file(s) ?")}));
    EXPECT_EQ(historyLines(),
              QStringList({pic("a.jpg") + " - Auto Contrast", pic("b.jpg") + " - Auto Contrast",
                           pic("c.jpg") + " - Auto Contrast"}));
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg"})
        EXPECT_EQ(imaging::decodeFile(pic(n)).image.format, imaging::Jpeg) << n;
    const auto after = snapshot(pics);
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_FALSE(ui.waitCursor);

    ui.prompts.clear();
    ui.answers = {Answer::No};
    run("negate", {"a.jpg"});
    EXPECT_EQ(ws->lastAnswer, Answer::No);
    EXPECT_EQ(snapshot(pics), after);
    EXPECT_EQ(ui.prompts.size(), 1);
}

TEST_F(BatchFilters, UnsupportedFilesAreCountedAndReportedOnce) {
    struct Case {
        QStringList names;
        QString message; // empty: no box
    };
    writeImage(pic("a.bmp"), {20, 20}, imaging::Bmp);
    writeFile(pic("one.txt"), "text");
    writeFile(pic("two.txt"), "more text");
    const Case cases[] = {
        {{"a.bmp", "one.txt", "two.txt"}, "2 unsupported files were skipped"},
        {{"one.txt"}, "1 unsupported file was skipped"},
        {{"a.bmp"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.join(' ').toStdString());
        ui.prompts.clear();
        const QByteArray textBefore = readFile(pic("one.txt"));
        const auto summary = run("flip", c.names);
        EXPECT_EQ(readFile(pic("one.txt")), textBefore);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui.prompts.isEmpty());
            continue;
        }
        EXPECT_EQ(ui.prompts, Prompts({errorReport(c.message)}));
        EXPECT_EQ(summary.unsupported, c.names.size() - (c.names.contains("a.bmp") ? 1 : 0));
    }
}

TEST_F(BatchFilters, AnUnknownNameDoesNothingAndHistoryOffWritesNoLine) {
    writeImage(pic("a.bmp"), {20, 20}, imaging::Bmp);
    const auto before = snapshot(pics);
    ws->settings.confirmActions = 1;
    run("buttonize", {"a.bmp"});
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_TRUE(historyLines().isEmpty());

    ws->settings.confirmActions = 0;
    ws->settings.historyLimit = 0;
    EXPECT_EQ(run("negate", {"a.bmp"}).filtered, 1);
    EXPECT_NE(snapshot(pics), before);
    EXPECT_TRUE(historyLines().isEmpty()) << "history off: no line";
}

// A supported file that cannot be read or written is an error, not a skip:
// it keeps its bytes, gets no history line, and is named in the report.
TEST_F(BatchFilters, FailedLoadsAndSavesAreReportedAndLeaveTheFile) {
    writeImage(pic("good.bmp"), {20, 20}, imaging::Bmp);
    writeImage(pic("big.bmp"), {300, 200}, imaging::Bmp);
    writeFile(pic("broken.bmp"), readFile(pic("big.bmp")).left(60));
    writeFile(pic("notes.txt"), "text");
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(pic("big.bmp"), readOnly);
    const auto before = snapshot(pics);
    batch::BatchFilterSummary summary;
    {
        FileSizeLimit disk(8 * 1024);
        summary = run("negate", {"broken.bmp", "big.bmp", "good.bmp", "notes.txt", "gone.bmp"});
    }
    EXPECT_EQ(summary.filtered, 1);
    EXPECT_EQ(summary.unsupported, 1);
    EXPECT_EQ(summary.failed, 3);
    const auto after = snapshot(pics);
    for (const char* n : {"broken.bmp", "big.bmp", "notes.txt"})
        EXPECT_EQ(after.value(n), before.value(n)) << n;
    EXPECT_NE(after.value("good.bmp"), before.value("good.bmp"));
    EXPECT_FALSE(QFile::permissions(pic("big.bmp")) & QFileDevice::WriteOwner)
        << "a failed save changes no mode";
    EXPECT_EQ(after.size(), before.size()) << "no temporary file left behind";
    EXPECT_EQ(historyLines(), QStringList{pic("good.bmp") + " - Negate"});
    EXPECT_EQ(ui.prompts,
              Prompts({errorReport(QStringList({"1 unsupported file was skipped",
                                                "3 files could not be filtered and were left "
                                                "as they were:",
                                                pic("broken.bmp"), pic("big.bmp"), pic("gone.bmp")})
                                       .join('\n'))}));
}

// Files a filter must leave alone: a FIFO (read, it would wait for ever) and
// a picture read only in part.
TEST_F(BatchFilters, NonRegularAndPartlyReadFilesAreLeftAlone) {
    writeImage(pic("cut.jpg"), {64, 64}, imaging::Jpeg);
    writeFile(pic("cut.jpg"), readFile(pic("cut.jpg")).left(readFile(pic("cut.jpg")).size() / 2));
    writeImage(pic("good.tga"), {20, 20}, imaging::Tga);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pic("pipe.bmp")).constData(), 0644), 0);
    const QByteArray cutBefore = checksum(pic("cut.jpg"));

    auto filtering = std::async(std::launch::async, [&] {
        return run("negate", {"pipe.bmp", "cut.jpg", "good.tga"});
    });
    if (filtering.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Let the stuck read go, so the test fails instead of hanging.
        QFile writer(pic("pipe.bmp"));
        writer.open(QIODevice::WriteOnly);
        FAIL() << "the filter waited on the FIFO";
    }
    const auto summary = filtering.get();

    EXPECT_EQ(summary.filtered, 1);
    EXPECT_EQ(summary.unsupported, 1) << "the FIFO is skipped";
    EXPECT_EQ(summary.failed, 1) << "the cut JPEG is not written over itself";
    EXPECT_EQ(checksum(pic("cut.jpg")), cutBefore);
    EXPECT_EQ(historyLines(), QStringList{pic("good.tga") + " - Negate"});
}
