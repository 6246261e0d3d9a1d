#include "imaging/ImagingEngine.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Tone.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace dovi::imaging;
using dovi::test::samePixels;

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

// Each format loads with its facts, found by content whatever the name says;
// a failed load leaves the engine empty.
TEST(ImagingEngine, LoadReportsTheFileAndAFailedLoadLeavesItEmpty) {
    QTemporaryDir dir;
    ImagingEngine engine;
    for (const auto& [name, format] :
         {std::pair{"a.bmp", Bmp}, std::pair{"a.tga", Tga}, std::pair{"a.pcx", Pcx},
          std::pair{"a.jpg", Jpeg}, std::pair{"tga-named.pcx", Tga}}) {
        const QString path = writeTestFile(dir, name, format);
        ASSERT_TRUE(engine.load(path)) << name;
        EXPECT_EQ(std::tuple(engine.imageFileType(), engine.imageWidth(), engine.imageHeight(),
                             engine.bitsPerPixel(), engine.fileSize(), engine.fileName()),
                  std::tuple(int(format), 64, 48, 24, QFile(path).size(), path));
    }
    // A box lets the decoder shrink, but the facts stay the file's.
    ASSERT_TRUE(engine.load(writeTestFile(dir, "big.jpg", Jpeg, {1600, 1200}),
                            DecodeRequest{QSize(200, 150)}));
    EXPECT_TRUE(engine.pixels().width() < 1600 && engine.pixels().width() >= 200);
    EXPECT_EQ(QSize(engine.imageWidth(), engine.imageHeight()), QSize(1600, 1200));
    dovi::test::writeFile(dir.filePath("text.jpg"), "just words");
    EXPECT_FALSE(engine.load(dir.filePath("text.jpg")));
    EXPECT_TRUE(engine.imageFileType() == 0 && !engine.isLoaded() && engine.fileName().isEmpty());
    EXPECT_FALSE(engine.load(dir.filePath("missing.bmp")));
    EXPECT_FALSE(engine.lastError().isEmpty());
    EXPECT_FALSE(engine.negate()) << "processing with nothing loaded changes nothing";
    EXPECT_FALSE(engine.save(dir.filePath("nothing.bmp"), Bmp));
    EXPECT_FALSE(QFile::exists(dir.filePath("nothing.bmp")));
}

TEST(ImagingEngine, UndoRevertsExactlyTheLatestProcessingStep) {
    QTemporaryDir dir;
    ImagingEngine engine;
    ASSERT_TRUE(engine.load(writeTestFile(dir, "a.bmp", Bmp)));
    const QImage original = engine.pixels();
    ASSERT_TRUE(engine.mirror());
    const QImage mirrored = engine.pixels();
    ASSERT_TRUE(engine.brightness(40));
    EXPECT_TRUE(samePixels(ops::brightness(mirrored, 40), engine.pixels()));
    // Steps that cannot apply leave both the picture and the undo copy alone.
    EXPECT_FALSE(engine.crop(500, 500, 10, 10));
    EXPECT_FALSE(engine.resample(0, 10));
    EXPECT_TRUE(samePixels(ops::brightness(mirrored, 40), engine.pixels()));
    ASSERT_TRUE(engine.undo());
    EXPECT_TRUE(samePixels(mirrored, engine.pixels()));
    EXPECT_FALSE(engine.undo()) << "one undo copy only";
    ASSERT_TRUE(engine.crop(0, 0, 10, 8));
    EXPECT_EQ(engine.imageWidth(), 10);
    ASSERT_TRUE(engine.undo());
    EXPECT_TRUE(samePixels(ops::mirror(original), engine.pixels()));
}

TEST(ImagingEngine, SaveReplacesAFileOnlyWithACompleteNewOne) {
    QTemporaryDir dir;
    const QString path = writeTestFile(dir, "a.bmp", Bmp);
    ImagingEngine engine;
    ASSERT_TRUE(engine.load(path));
    engine.flip();
    ASSERT_TRUE(engine.save(path, Tga));
    EXPECT_TRUE(engine.lastError().isEmpty());
    ImagingEngine reread;
    ASSERT_TRUE(reread.load(path) && reread.imageFileType() == Tga);
    EXPECT_TRUE(samePixels(engine.pixels(), reread.pixels()));

    const QByteArray before = dovi::test::readFile(path);
    EXPECT_FALSE(engine.save(path + "/cannot/be/here.bmp", Bmp));
    EXPECT_FALSE(engine.lastError().isEmpty());
    EXPECT_FALSE(engine.save(path, None)) << "no format to write";
    EXPECT_EQ(dovi::test::readFile(path), before);
}

// A dialog's slider undoes the previous trial before each new amount: undo
// hands back the very buffer it kept, not a copy.
TEST(ImagingEngine, UndoSwapsBuffersWithoutCopying) {
    const QImage original = dovi::test::makeTestPattern(64, 40);
    Image image;
    image.pixels = original.copy();
    ImagingEngine engine;
    engine.setImage(image);
    const uchar* opened = engine.pixels().constBits();
    for (const int amount : {40, -20, 70}) {
        ASSERT_TRUE(engine.blend(amount));
        ASSERT_TRUE(engine.undo());
        EXPECT_EQ(engine.pixels().constBits(), opened) << "undo copied the picture";
    }
    EXPECT_TRUE(samePixels(original, engine.pixels()));
    EXPECT_FALSE(engine.canUndo());
}
