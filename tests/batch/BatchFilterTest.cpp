#include "batch/BatchFilter.h"

#include "WorkspaceFixture.h"
#include "imaging/ImagingEngine.h"

#include <sys/stat.h>

using namespace dovi;
using namespace dovi::test;

namespace {

struct BatchFilters : PicturesFixture {
    // The counts filtered, unsupported, failed.
    std::tuple<int, int, int> run(const QString& filter, const QStringList& names) {
        const auto s = batch::applyBatchFilter(*ws, ui, filter, paths(names));
        return {s.filtered, s.unsupported, s.failed};
    }
};

} // namespace

// Every filter, in every lossless format, writes exactly what the engine's
// own operation makes of the file, in the file's own format.
TEST_F(BatchFilters, EachFilterSavesTheEnginesResultInPlace) {
    ws->settings.confirmActions = 0;
    ASSERT_EQ(batch::batchFilters().size(), 6);
    for (const batch::BatchFilter& filter : batch::batchFilters()) {
        for (const auto& [name, format] :
             {std::pair{QString("p.bmp"), imaging::Bmp}, std::pair{QString("p.tga"), imaging::Tga},
              std::pair{QString("p.pcx"), imaging::Pcx}}) {
            SCOPED_TRACE((filter.name + " " + name).toStdString());
            writeImage(pic(name), {37, 23}, format);
            imaging::ImagingEngine expected;
            ASSERT_TRUE(expected.load(pic(name)));
            ASSERT_TRUE((expected.*(filter.apply))());
            ws->history.clear();

            EXPECT_EQ(run(filter.name, {name}), std::tuple(1, 0, 0));
            const auto saved = imaging::decodeFile(pic(name));
            EXPECT_EQ(saved.image.format, format);
            EXPECT_TRUE(samePixels(expected.pixels(), saved.image.pixels));
            EXPECT_EQ(historyLines(), QStringList{pic(name) + filter.historySuffix});
        }
    }
    EXPECT_TRUE(ui.prompts.isEmpty()) << "no question with confirmations off";
}

TEST_F(BatchFilters, AsksFirstAndNoOrAnUnknownNameChangesNothing) {
    for (const char* n : {"a.jpg", "b.jpg"})
        writeImage(pic(n), {40, 30}, imaging::Jpeg);
    ui.answers = {Answer::Yes, Answer::No};
    run("autocontrast", {"a.jpg", "b.jpg"});
    EXPECT_EQ(historyLines(),
              QStringList({pic("a.jpg") + " - Auto Contrast", pic("b.jpg") + " - Auto Contrast"}));
    EXPECT_EQ(imaging::decodeFile(pic("a.jpg")).image.format, imaging::Jpeg);
    EXPECT_EQ(ui.progressMaximum, 2);
    const auto after = snapshot(pics);
    run("negate", {"a.jpg"});
    run("buttonize", {"a.jpg"});
    EXPECT_EQ(
        ui.prompts,
        Prompts({question("Batch Process 2 files", "Apply AutoContrast to the selected file(s) ?"),
                 question("Batch Process 1 files", "Apply Negate to the selected file(s) ?")}));
    EXPECT_EQ(ws->lastAnswer, Answer::No);
    EXPECT_EQ(snapshot(pics), after);
    EXPECT_EQ(historyLines().size(), 2);
}

// A supported file that cannot be read or written is an error, not a skip:
// it keeps its bytes, gets no history line, and is named in the report.
TEST_F(BatchFilters, FailedLoadsAndSavesAreReportedAndLeaveTheFile) {
    ws->settings.confirmActions = 0;
    writeImage(pic("good.bmp"), {20, 20}, imaging::Bmp);
    writeImage(pic("big.bmp"), {300, 200}, imaging::Bmp);
    writeFile(pic("broken.bmp"), readFile(pic("big.bmp")).left(60));
    writeFile(pic("notes.txt"), "text");
    QFile::setPermissions(pic("big.bmp"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto expected = snapshot(pics);
    {
        FileSizeLimit disk(8 * 1024);
        EXPECT_EQ(run("negate", {"broken.bmp", "big.bmp", "good.bmp", "notes.txt", "gone.bmp"}),
                  std::tuple(1, 1, 3));
    }
    auto after = snapshot(pics);
    EXPECT_NE(after.take("good.bmp"), expected.take("good.bmp"));
    EXPECT_EQ(after, expected) << "no temporary file left behind";
    EXPECT_FALSE(QFile::permissions(pic("big.bmp")) & QFileDevice::WriteOwner)
        << "a failed save changes no mode";
    EXPECT_EQ(historyLines(), QStringList{pic("good.bmp") + " - Negate"});
    EXPECT_EQ(ui.prompts,
              Prompts({errorReport(QStringList({"1 unsupported file was skipped",
                                                "3 files could not be filtered and were left "
                                                "as they were:",
                                                pic("broken.bmp"), pic("big.bmp"), pic("gone.bmp")})
                                       .join('\n'))}));
    ui.prompts.clear();
    ws->history.clear();
    ws->settings.historyLimit = 0;
    run("flip", {"good.bmp", "notes.txt", "notes.txt"});
    EXPECT_EQ(ui.prompts, Prompts({errorReport("2 unsupported files were skipped")}));
    EXPECT_TRUE(historyLines().isEmpty()) << "history off: no line";
}

// Files a filter must leave alone: a FIFO (read, it would wait for ever) and
// a picture read only in part.
TEST_F(BatchFilters, NonRegularAndPartlyReadFilesAreLeftAlone) {
    ws->settings.confirmActions = 0;
    writeImage(pic("cut.jpg"), {64, 64}, imaging::Jpeg);
    writeFile(pic("cut.jpg"), readFile(pic("cut.jpg")).left(readFile(pic("cut.jpg")).size() / 2));
    writeImage(pic("good.tga"), {20, 20}, imaging::Tga);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pic("pipe.bmp")).constData(), 0644), 0);
    const QByteArray cutBefore = checksum(pic("cut.jpg"));
    // Read, the FIFO would wait for ever: a fault here hangs until the time limit.
    EXPECT_EQ(run("negate", {"pipe.bmp", "cut.jpg", "good.tga"}), std::tuple(1, 1, 1))
        << "the FIFO skipped, the cut JPEG not written over itself";
    EXPECT_EQ(checksum(pic("cut.jpg")), cutBefore);
    EXPECT_EQ(historyLines(), QStringList{pic("good.tga") + " - Negate"});
}
