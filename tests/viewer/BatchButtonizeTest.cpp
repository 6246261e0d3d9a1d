// Batch Buttonize: pictures keep their format, nothing is lost when a write fails.
#include "viewer/BatchButtonize.h"

#include "imaging/ImagingEngine.h"

#include "WorkspaceFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace dovi::viewer {
namespace {

using test::samePixels;

struct BatchButtonizeTest : test::PicturesFixture {
    QString image(const QString& name, imaging::FormatCode format) {
        test::writeImage(pic(name), {60, 40}, format);
        return pic(name);
    }
    // What one picture looks like buttonized with the given settings.
    QImage expected(const QString& path, const ButtonizeSettings& s) {
        imaging::ImagingEngine engine;
        EXPECT_TRUE(engine.load(path));
        engine.buttonize(s.style, s.width, s.intensity);
        return engine.pixels();
    }
};

TEST_F(BatchButtonizeTest, PicturesKeepTheirFormatAndOtherFilesStayAsTheyWere) {
    const QString pcx = image("a.pcx", imaging::Pcx);
    const QString bmp = image("b.bmp", imaging::Bmp);
    const QString tga = image("c.tga", imaging::Tga);
    const QStringList texts = make({"notes.txt", "fake.jpg"});
    const ButtonizeSettings settings{0, 12, 70};
    const QImage wantPcx = expected(pcx, settings), wantBmp = expected(bmp, settings);
    const auto before = test::snapshot(pics);

    ui.answers = {Answer::Yes};
    // bmp listed twice: buttonized once.
    const ButtonizeSummary s =
        buttonizeFiles(*ws, ui, {pcx, texts[0], bmp, tga, texts[1], bmp}, settings, 2);
    EXPECT_EQ(ui.prompts,
              test::Prompts({test::question("Batch Process 6 files",
                                            "Apply Buttonize to the selected file(s) ?")}));
    EXPECT_EQ(std::tuple(s.buttonized, s.unsupported, s.failed), std::tuple(3, 2, 0));
    const imaging::DecodeResult backPcx = imaging::decodeFile(pcx);
    EXPECT_EQ(backPcx.image.format, imaging::Pcx);
    EXPECT_TRUE(samePixels(wantPcx, backPcx.image.pixels));
    EXPECT_TRUE(samePixels(wantBmp, imaging::decodeFile(bmp).image.pixels)) << "buttonized once";
    const auto after = test::snapshot(pics);
    for (const char* untouched : {"notes.txt", "fake.jpg"})
        EXPECT_EQ(after.value(untouched), before.value(untouched));
    EXPECT_EQ(after.size(), before.size()); // no temporary left behind
}

TEST_F(BatchButtonizeTest, NoProcessesNothing) {
    const QString bmp = image("b.bmp", imaging::Bmp);
    const auto before = test::snapshot(pics);
    ui.answers = {Answer::No};
    EXPECT_TRUE(buttonizeFiles(*ws, ui, {bmp}, {}).declined);
    EXPECT_EQ(test::snapshot(pics), before);
}

TEST_F(BatchButtonizeTest, AFailedWriteOrADamagedPictureLeavesTheFileWhole) {
    ws->settings.confirmActions = 0;
    const QString bmp = image("big.bmp", imaging::Bmp);
    const QString jpg = image("d.jpg", imaging::Jpeg);
    // A JPEG cut short decodes only in part: it must not replace itself.
    QByteArray bytes = test::readFile(jpg);
    bytes.truncate(bytes.size() / 2);
    ASSERT_TRUE(test::writeFile(jpg, bytes));
    const auto before = test::snapshot(pics);
    ButtonizeSummary s;
    {
        test::FileSizeLimit full(2000); // the 60 x 40 BMP needs 7 kB
        s = buttonizeFiles(*ws, ui, {bmp, jpg}, {}, 2);
    }
    EXPECT_EQ(std::pair(s.asked, s.failed), std::pair(false, 2)); // confirm off asks nothing
    EXPECT_EQ(test::snapshot(pics), before);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_TRUE(ui.prompts.first().text.startsWith("2 files could not be buttonized"));
}

} // namespace
} // namespace dovi::viewer
