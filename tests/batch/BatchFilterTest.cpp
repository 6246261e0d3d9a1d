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
}

TEST_F(BatchFilters, AsksFirstAndNoOrAnUnknownNameChangesNothing) {
    for (const char* n : {"a.jpg", "b.jpg"})
        writeImage(pic(n), {40, 30}, imaging::Jpeg);
    const auto before = snapshot(pics);
    ui.answers = {Answer::No, Answer::Yes};
    run("negate", {"a.jpg", "b.jpg"});
    run("buttonize", {"a.jpg"});
    EXPECT_EQ(snapshot(pics), before);
    run("autocontrast", {"a.jpg"});
    EXPECT_NE(snapshot(pics), before);
    EXPECT_EQ(ui.prompts,
              Prompts({question("Batch Process 2 files", "Apply Negate to the selected file(s) ?"),
                       question("Batch Process 1 files",
                                "Apply AutoContrast to the selected file(s) ?")}));
}

// A supported file that cannot be read or written, or is read only in part,
// is an error, not a skip: it keeps its bytes, gets no history line, and is
// named in the report. A FIFO is skipped unread (read, it would wait for ever:
// a fault here hangs until the time limit).
TEST_F(BatchFilters, FailedLoadsAndSavesAreReportedAndLeaveTheFile) {
    ws->settings.confirmActions = 0;
    writeImage(pic("good.bmp"), {20, 20}, imaging::Bmp);
    writeImage(pic("big.bmp"), {300, 200}, imaging::Bmp);
    writeFile(pic("broken.bmp"), readFile(pic("big.bmp")).left(60));
    writeImage(pic("cut.jpg"), {64, 64}, imaging::Jpeg);
    writeFile(pic("cut.jpg"), readFile(pic("cut.jpg")).left(readFile(pic("cut.jpg")).size() / 2));
    writeFile(pic("notes.txt"), "text");
    QFile::setPermissions(pic("big.bmp"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto expected = snapshot(pics); // before the FIFO: reading it would wait
    ASSERT_EQ(::mkfifo(QFile::encodeName(pic("pipe.bmp")).constData(), 0644), 0);
    {
        FileSizeLimit disk(8 * 1024);
        EXPECT_EQ(run("negate", {"broken.bmp", "big.bmp", "pipe.bmp", "good.bmp", "cut.jpg",
                                 "notes.txt", "gone.bmp"}),
                  std::tuple(1, 2, 4));
    }
    ASSERT_TRUE(QFile::remove(pic("pipe.bmp")));
    auto after = snapshot(pics);
    EXPECT_NE(after.take("good.bmp"), expected.take("good.bmp"));
    EXPECT_EQ(after, expected) << "no temporary file left behind";
    EXPECT_FALSE(QFile::permissions(pic("big.bmp")) & QFileDevice::WriteOwner)
        << "a failed save changes no mode";
    EXPECT_EQ(historyLines(), QStringList{pic("good.bmp") + " - Negate"});
    EXPECT_EQ(ui.prompts,
              Prompts({errorReport(
                  QStringList({"2 unsupported files were skipped",
                               "4 files could not be filtered and were left "
                               "as they were:",
                               pic("broken.bmp"), pic("big.bmp"), pic("cut.jpg"), pic("gone.bmp")})
                      .join('\n'))}));
    ui.prompts.clear();
    run("flip", {"good.bmp", "notes.txt"});
    EXPECT_EQ(ui.prompts, Prompts({errorReport("1 unsupported file was skipped")}));
}
