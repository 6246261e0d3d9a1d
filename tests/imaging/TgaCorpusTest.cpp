// TGA files written by other programs: the public suites against their
// published reference pictures or Pillow's reading, files Pillow writes at
// test time, and the damaged files kept from fuzzing.
#include "imaging/TgaPcxTestTools.h"
#include "imaging/codecs/TgaCodec.h"

#include <QTemporaryDir>

using namespace dovi::imaging;
using namespace dovi::test;
using namespace dovi::test::tgapcx;

namespace {

DecodeResult decodeFile(const QString& path) {
    return tga::decode(bytesOf(readFile(path)));
}

QString referenceFor(const QString& file) {
    const QString rel = QDir(corpusDir()).relativeFilePath(file);
    return corpusDir() + QStringLiteral("/upstream_ref/") + rel + QStringLiteral(".png");
}

bool allAlphaZero(const QImage& image) {
    const QImage a = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (qAlpha(a.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

TEST(TgaCorpus, FilesWithReferencesDecodeToThem) {
    DOVI_REQUIRE_CORPUS();
    int compared = 0;
    for (const QString& file : corpusFiles(QStringLiteral("tga"), QStringLiteral(".tga"))) {
        const QImage reference(referenceFor(file));
        if (reference.isNull())
            continue;
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r = decodeFile(file);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.format, Tga);
        EXPECT_EQ(r.fullWidth, reference.width());
        // A reference whose alpha is zero everywhere kept a channel the writer
        // never filled; we show such a picture opaque, so only colours compare.
        if (allAlphaZero(reference)) {
            EXPECT_FALSE(r.image.pixels.hasAlphaChannel());
            EXPECT_TRUE(samePixels(colourOnly(reference), r.image.pixels));
        } else {
            EXPECT_TRUE(samePixels(reference, r.image.pixels));
        }
        ++compared;
    }
    EXPECT_GE(compared, 38);
}

// Files without a published reference are compared with Pillow's reading.
// Known differences: Pillow widens 5-bit channels by truncating where we
// round (as the published references do), so those files may differ by one;
// and Pillow shows every 32-bit alpha channel, while we show the picture
// opaque when the file says its alpha is not meaningful.
TEST(TgaCorpus, FilesWithoutReferencesMatchPillow) {
    DOVI_REQUIRE_CORPUS();
    if (pythonWithPillow().isEmpty())
        GTEST_SKIP() << "Pillow not available";
    QStringList files;
    for (const QString& file : corpusFiles(QStringLiteral("tga"), QStringLiteral(".tga")))
        if (!QFileInfo::exists(referenceFor(file)) &&
            !file.contains(QStringLiteral("/regression/")))
            files << file;
    QTemporaryDir scratch;
    const QList<QImage> pillow = pillowDecode(files, scratch.path());
    ASSERT_EQ(pillow.size(), files.size());
    int compared = 0;
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].toStdString());
        const QByteArray data = readFile(files[i]);
        const DecodeResult r = tga::decode(bytesOf(data));
        if (pillow[i].isNull()) {
            // Pillow refuses these; we decode the rows that are there.
            EXPECT_TRUE(r.ok() || files[i].contains(QStringLiteral("p_8.tga")))
                << r.error.toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        const bool fiveBit = data[16] == 16 || data[16] == 15 || data[7] == 16 || data[7] == 15;
        const QImage expected =
            r.image.pixels.hasAlphaChannel() ? pillow[i] : colourOnly(pillow[i]);
        EXPECT_LE(maxChannelDifference(expected, r.image.pixels), fiveBit ? 1 : 0);
        ++compared;
    }
    EXPECT_GE(compared, 13);
}

TEST(TgaCorpus, DamagedFilesFailOrDecodeWithoutCrashing) {
    QStringList files;
    QDirIterator kept(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/tga"),
                      QDir::Files);
    while (kept.hasNext())
        files << kept.next();
    if (!corpusDir().isEmpty())
        files += corpusFiles(QStringLiteral("tga/image-rs/regression"), QString());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r = decodeFile(file);
        if (r.ok()) {
            EXPECT_EQ(r.image.pixels.size(), QSize(r.fullWidth, r.fullHeight));
        } else {
            EXPECT_FALSE(r.error.isEmpty());
        }
    }
}

// Pictures as Pillow writes them (raw and RLE, both origins, thin strips,
// grey, grey + alpha, palette, RGBA) must read as the picture Pillow was given,
// kept as PNG beside each file.
TEST(TgaCorpus, PillowWrittenFilesReadAsTheirSource) {
    if (pythonWithPillow().isEmpty())
        GTEST_SKIP() << "Pillow not available";
    QTemporaryDir dir;
    const QString script = QStringLiteral(R"(
from PIL import Image
def pattern(w, h, mode):
    im = Image.new('RGBA', (w, h))
    im.putdata([((x * 37 + y * 11) % 256, (x * 5 + y * 41) % 256, (x * y) % 256,
                 (x * 9 + y * 3) % 256) for y in range(h) for x in range(w)])
    if mode == 'P':
        return im.convert('RGB').quantize(200)
    return im.convert(mode)
flat = Image.new('RGB', (97, 61), (40, 90, 200))
flat.paste((250, 250, 10), (30, 10, 80, 40))
cases = [('rgb_50x1_rle', 50, 1, 'RGB', True, -1), ('rgb_1x50', 1, 50, 'RGB', False, -1),
         ('grey_rle_tl', 128, 128, 'L', True, 1), ('grey_raw_bl', 33, 17, 'L', False, -1),
         ('la_rle_tl', 31, 7, 'LA', True, 1), ('p_rle_bl', 45, 13, 'P', True, -1),
         ('p_raw_tl', 45, 13, 'P', False, 1), ('rgba_rle_bl', 29, 23, 'RGBA', True, -1),
         ('rgb_raw_tl', 64, 3, 'RGB', False, 1)]
for name, w, h, mode, rle, orientation in cases:
    im = pattern(w, h, mode)
    im.save(name + '.tga', rle=rle, orientation=orientation)
    im.convert('RGBA' if 'A' in mode else 'RGB').save(name + '.png')
flat.save('flat_rle.tga', rle=True)
flat.save('flat_rle.png')
)");
    ASSERT_TRUE(runPython(script, dir.path()));
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.tga")}, QDir::Files);
    ASSERT_EQ(files.size(), 10);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r = decodeFile(dir.filePath(file));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        const QImage source(
            dir.filePath(QString(file).replace(QStringLiteral(".tga"), QStringLiteral(".png"))));
        EXPECT_TRUE(samePixels(source, r.image.pixels));
    }
}
