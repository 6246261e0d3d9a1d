#include "imaging/ImagingEngine.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Tone.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <future>

using namespace dovi::imaging;

namespace {

QString writeTestFile(const QTemporaryDir& dir, const QString& name, FormatCode format,
                      QSize size = {64, 48}) {
    Image image;
    image.pixels = dovi::test::makeTestPattern(size.width(), size.height());
    const QString path = dir.filePath(name);
    EXPECT_TRUE(saveImageFile(image, path, format, {}));
    return path;
}

} // namespace

TEST(ImagingEngine, LoadReportsTheFileAndAFailedLoadLeavesItEmpty) {
    QTemporaryDir dir;
    ImagingEngine engine;
    const struct {
        const char* name;
        FormatCode format;
        int bpp;
    } cases[] = {{"a.bmp", Bmp, 24}, {"a.tga", Tga, 24}, {"a.pcx", Pcx, 24}, {"a.jpg", Jpeg, 24}};
    for (const auto& c : cases) {
        const QString path = writeTestFile(dir, c.name, c.format);
        ASSERT_TRUE(engine.load(path)) << c.name;
        EXPECT_EQ(engine.imageFileType(), c.format);
        EXPECT_EQ(engine.imageWidth(), 64);
        EXPECT_EQ(engine.imageHeight(), 48);
        EXPECT_EQ(engine.bitsPerPixel(), c.bpp);
        EXPECT_EQ(engine.fileSize(), QFile(path).size());
        EXPECT_EQ(engine.fileName(), path);
    }
    dovi::test::writeFile(dir.filePath("text.jpg"), "just words");
    EXPECT_FALSE(engine.load(dir.filePath("text.jpg")));
    EXPECT_EQ(engine.imageFileType(), 0);
    EXPECT_FALSE(engine.isLoaded());
    EXPECT_TRUE(engine.fileName().isEmpty());
    EXPECT_FALSE(engine.load(dir.filePath("missing.bmp")));
    EXPECT_FALSE(engine.negate()) << "processing with nothing loaded changes nothing";
}

TEST(ImagingEngine, UndoRevertsExactlyTheLatestProcessingStep) {
    QTemporaryDir dir;
    ImagingEngine engine;
    ASSERT_TRUE(engine.load(writeTestFile(dir, "a.bmp", Bmp)));
    const QImage original = engine.pixels();
    ASSERT_TRUE(engine.mirror());
    const QImage mirrored = engine.pixels();
    ASSERT_TRUE(engine.brightness(40));
    EXPECT_TRUE(dovi::test::samePixels(ops::brightness(mirrored, 40), engine.pixels()));
    ASSERT_TRUE(engine.undo());
    EXPECT_TRUE(dovi::test::samePixels(mirrored, engine.pixels()));
    EXPECT_FALSE(engine.undo()) << "one undo copy only";
    EXPECT_FALSE(engine.crop(500, 500, 10, 10)) << "a crop outside the picture does nothing";
    EXPECT_TRUE(dovi::test::samePixels(mirrored, engine.pixels()));
    ASSERT_TRUE(engine.crop(0, 0, 10, 8));
    EXPECT_EQ(engine.imageWidth(), 10);
    ASSERT_TRUE(engine.undo());
    EXPECT_TRUE(dovi::test::samePixels(ops::mirror(original), engine.pixels()));
}

TEST(ImagingEngine, BoxDecodeKeepsTheFilesFactsAndColoursAreCounted) {
    QTemporaryDir dir;
    const QString path = writeTestFile(dir, "big.jpg", Jpeg, {1600, 1200});
    ImagingEngine engine;
    ASSERT_TRUE(engine.load(path, DecodeRequest{QSize(200, 150)}));
    EXPECT_LT(engine.pixels().width(), 1600) << "the decoder may shrink for a box";
    EXPECT_GE(engine.pixels().width(), 200);
    EXPECT_EQ(engine.imageWidth(), 1600);
    EXPECT_EQ(engine.imageHeight(), 1200);

    Image flat;
    flat.pixels = QImage(10, 10, QImage::Format_RGB32);
    flat.pixels.fill(qRgb(1, 2, 3));
    flat.pixels.setPixel(0, 0, qRgb(9, 9, 9));
    engine.setImage(flat);
    EXPECT_EQ(engine.uniqueColours(), 2);
    engine.negate();
    EXPECT_EQ(engine.uniqueColours(), 2);
}

TEST(ImagingEngine, SaveReplacesAFileOnlyWithACompleteNewOne) {
    QTemporaryDir dir;
    const QString path = writeTestFile(dir, "a.bmp", Bmp);
    ImagingEngine engine;
    ASSERT_TRUE(engine.load(path));
    engine.flip();
    ASSERT_TRUE(engine.save(path, Tga));
    ImagingEngine reread;
    ASSERT_TRUE(reread.load(path));
    EXPECT_EQ(reread.imageFileType(), Tga);
    EXPECT_TRUE(dovi::test::samePixels(engine.pixels(), reread.pixels()));

    const QByteArray before = dovi::test::readFile(path);
    EXPECT_FALSE(engine.save(path + "/cannot/be/here.bmp", Bmp));
    EXPECT_FALSE(engine.lastError().isEmpty());
    EXPECT_EQ(dovi::test::readFile(path), before);
}

// Engines share no state: several loading and processing at once give what
// each gives alone.
TEST(ImagingEngine, InstancesWorkInParallel) {
    QTemporaryDir dir;
    const QString files[] = {writeTestFile(dir, "a.bmp", Bmp), writeTestFile(dir, "a.tga", Tga),
                             writeTestFile(dir, "a.pcx", Pcx), writeTestFile(dir, "a.jpg", Jpeg)};
    const auto work = [](const QString& path) {
        ImagingEngine engine;
        const bool ok = engine.load(path) && engine.sharpen(5) && engine.resample(97, 61);
        return ok ? engine.pixels() : QImage();
    };
    std::vector<std::future<QImage>> running;
    for (int round = 0; round < 3; ++round)
        for (const QString& path : files)
            running.push_back(std::async(std::launch::async, work, path));
    for (std::size_t i = 0; i < running.size(); ++i) {
        const QImage alone = work(files[i % 4]);
        ASSERT_FALSE(alone.isNull()) << i;
        EXPECT_TRUE(dovi::test::samePixels(alone, running[i].get())) << i;
    }
}
