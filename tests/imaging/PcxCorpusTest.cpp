// PCX files written by other programs: the public suites against published
// reference pictures or Pillow's reading, files Pillow writes at test time,
// and the damaged files kept from fuzzing.
#include "imaging/TgaPcxTestTools.h"
#include "imaging/codecs/PcxCodec.h"

#include <QTemporaryDir>

using namespace dovi::imaging;
using namespace dovi::test;
using namespace dovi::test::tgapcx;

namespace {

DecodeResult decodeFile(const QString& path) {
    return pcx::decode(bytesOf(readFile(path)));
}

QString referenceFor(const QString& file) {
    const QString rel = QDir(corpusDir()).relativeFilePath(file);
    return corpusDir() + QStringLiteral("/upstream_ref/") + rel + QStringLiteral(".png");
}

} // namespace

TEST(PcxCorpus, SuiteFilesMatchReferencesOrPillow) {
    DOVI_REQUIRE_CORPUS();
    if (pythonWithPillow().isEmpty())
        GTEST_SKIP() << "Pillow not available";
    const QStringList files = corpusFiles(QStringLiteral("pcx"), QStringLiteral(".pcx"));
    QTemporaryDir scratch;
    const QList<QImage> pillow = pillowDecode(files, scratch.path());
    ASSERT_EQ(pillow.size(), files.size());
    int compared = 0;
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].toStdString());
        const DecodeResult r = decodeFile(files[i]);
        QImage expected(referenceFor(files[i]));
        if (expected.isNull())
            expected = pillow[i];
        if (expected.isNull()) {
            // Both files Pillow refuses are damaged: a scan line shorter than
            // the width, and an unknown encoding.
            EXPECT_FALSE(r.ok());
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.format, Pcx);
        if (files[i].endsWith(QStringLiteral("p_4_planes.pcx"))) {
            // Planes 0 and 1 set: index 3, red in this file's header palette.
            // Pillow as packaged here steps between planes by the width, not
            // the bytes per line, and reads black.
            EXPECT_EQ(r.image.pixels.pixel(0, 0), qRgb(255, 0, 0));
            ++compared;
            continue;
        }
        EXPECT_TRUE(samePixels(expected, r.image.pixels));
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

TEST(PcxCorpus, DamagedFilesFailOrDecodeWithoutCrashing) {
    QDirIterator kept(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/pcx"),
                      QDir::Files);
    while (kept.hasNext()) {
        const QString file = kept.next();
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r = decodeFile(file);
        if (r.ok()) {
            EXPECT_EQ(r.image.pixels.size(), QSize(r.fullWidth, r.fullHeight));
        } else {
            EXPECT_FALSE(r.error.isEmpty());
        }
    }
}

// Pictures as Pillow writes them: 1-bit, grey, 256 colours at odd widths,
// 24-bit at odd and tiny sizes. Each must read as the picture Pillow was given
// (kept as PNG beside it): Pillow's own reader gets odd-width 24-bit files
// wrong, so it is no reference here.
TEST(PcxCorpus, PillowWrittenFilesReadAsTheirSource) {
    if (pythonWithPillow().isEmpty())
        GTEST_SKIP() << "Pillow not available";
    QTemporaryDir dir;
    const QString script = QStringLiteral(R"(
from PIL import Image
def pattern(w, h):
    im = Image.new('RGB', (w, h))
    im.putdata([((x * 37 + y * 11) % 256, (x * 5 + y * 41) % 256, (x * y) % 256)
                for y in range(h) for x in range(w)])
    return im
flat = Image.new('RGB', (45, 17), (200, 240, 25))
flat.paste((255, 50, 255), (0, 5, 45, 9))
cases = {'bits_37x41': pattern(37, 41).convert('1'), 'grey_101x33': pattern(101, 33).convert('L'),
         'pal256_123x67': pattern(123, 67).quantize(256), 'pal5_7x3': pattern(7, 3).quantize(5),
         'rgb24_131x67': pattern(131, 67), 'rgb24_3x2': pattern(3, 2), 'rgb24_flat': flat}
for name, im in cases.items():
    im.save(name + '.pcx')
    im.convert('RGB').save(name + '.png')
)");
    ASSERT_TRUE(runPython(script, dir.path()));
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.pcx")}, QDir::Files);
    ASSERT_EQ(files.size(), 7);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const DecodeResult r = decodeFile(dir.filePath(file));
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        const QImage source(
            dir.filePath(QString(file).replace(QStringLiteral(".pcx"), QStringLiteral(".png"))));
        EXPECT_TRUE(samePixels(source, r.image.pixels));
    }
}
