// The BMP, TGA and PCX writers: the depth each chooses for a kind of
// picture, that the file reads back pixel for pixel through our readers, and
// that Pillow and GraphicsMagick read the same pictures.
#include "support/ImagingSupport.h"

#include <QTemporaryDir>

using namespace dovi::imaging;

namespace dovi::test {

namespace {

// A picture using exactly n distinct opaque colours, spread in a pattern.
QImage withColours(int n, int width, int height) {
    return paint(width, height, [n](int x, int y) {
        const int i = (x * 7 + y * 3) % n;
        return qRgb(i & 0xff, (i * 37) & 0xff, i >> 8);
    });
}

struct WriteCase {
    std::string name;
    QImage pixels;
    bool sourceHadPalette;
    int bits[3]; // chosen by the BMP, TGA and PCX writers
    int bmpHead; // bytes before the BMP pixel data: headers and colour table
};

const Codec* const kLossless[] = {&kBmp, &kTga, &kPcx};

// The cases, with pictures of every width from 1 to maxWidth added.
std::vector<WriteCase> writeCases(int maxWidth) {
    QImage grey(17, 9, QImage::Format_Grayscale8); // 153 grey levels
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar(x * 15 + y);
    const QImage argb = makeTestPattern(10, 4).convertToFormat(QImage::Format_ARGB32);
    const QImage premultiplied =
        makeTestPattern(9, 5, true).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage indexed = withColours(5, 6, 3).convertToFormat(QImage::Format_Indexed8);
    // clang-format off
    std::vector<WriteCase> cases = {
        {"opaque colour picture", makeTestPattern(37, 19), false, {24, 24, 24}, 54},
        {"translucent pixels: V5 header", makeTestPattern(21, 9, true), false, {32, 32, 24}, 138},
        {"alpha channel fully opaque", argb, false, {24, 24, 24}, 54},
        {"premultiplied input is stored unpremultiplied", premultiplied, false, {32, 32, 24}, 138},
        {"paletted source, 2 colours", withColours(2, 11, 5), true, {1, 8, 8}, 54 + 8},
        {"paletted source, 5 colours", withColours(5, 37, 41), true, {4, 8, 8}, 54 + 20},
        {"paletted source, 16 colours", withColours(16, 11, 5), true, {4, 8, 8}, 54 + 64},
        {"paletted source, 17 colours", withColours(17, 13, 6), true, {8, 8, 8}, 54 + 68},
        {"paletted, 256 colours, odd width", withColours(256, 123, 9), true, {8, 8, 8}, 54 + 1024},
        {"paletted source, now 257 colours", withColours(257, 64, 9), true, {24, 24, 24}, 54},
        {"grey input layout", grey, true, {8, 8, 8}, 54 + 153 * 4},
        {"few colours, not from a paletted file", withColours(2, 5, 5), false, {24, 24, 24}, 54},
        {"indexed input format", indexed, false, {24, 24, 24}, 54},
    };
    // clang-format on
    // Every row length against the row padding (PCX lines hold an even
    // number of bytes), paletted and not.
    for (int width = 1; width <= maxWidth; ++width) {
        cases.push_back(
            {"width " + std::to_string(width), makeTestPattern(width, 3), false, {24, 24, 24}, 54});
        const int colours = std::min(width, 3);
        cases.push_back({"paletted, width " + std::to_string(width),
                         withColours(colours, width, 3),
                         true,
                         {colours <= 2 ? 1 : 4, 8, 8},
                         54 + 4 * colours});
    }
    return cases;
}

// What a written file must show: the picture, without alpha unless the
// writer kept it.
QImage expectedAfter(const QImage& source, int bits) {
    return bits == 32 ? source.convertToFormat(QImage::Format_ARGB32) : colourOnly(source);
}

Image imageOf(const QImage& pixels, bool sourceHadPalette) {
    Image img;
    img.pixels = pixels;
    img.sourceHadPalette = sourceHadPalette;
    return img;
}

} // namespace

TEST(Writers, ChooseTheSmallestExactLayoutAndReadBack) {
    for (const WriteCase& c : writeCases(9)) {
        for (int i = 0; i < 3; ++i) {
            const Codec& codec = *kLossless[i];
            SCOPED_TRACE(std::string(codec.name) + ": " + c.name);
            QByteArray file;
            QString error;
            ASSERT_TRUE(encode(codec, imageOf(c.pixels, c.sourceHadPalette), file, &error))
                << error.toStdString();
            if (&codec == &kBmp) {
                const qint64 stride = (qint64{c.pixels.width()} * c.bits[i] + 31) / 32 * 4;
                EXPECT_EQ(file.size(), c.bmpHead + stride * c.pixels.height());
            } else if (&codec == &kPcx) {
                const int bpl = uchar(file[66]) | uchar(file[67]) << 8;
                EXPECT_TRUE(bpl % 2 == 0 && bpl >= c.pixels.width()) << bpl;
            }
            const DecodeResult back = decode(codec, file);
            ASSERT_TRUE(back.ok()) << back.error.toStdString();
            EXPECT_EQ(back.image.bitsPerPixel, c.bits[i]);
            EXPECT_EQ(back.image.pixels.hasAlphaChannel(), c.bits[i] == 32);
            EXPECT_TRUE(samePixels(expectedAfter(c.pixels, c.bits[i]), back.image.pixels));
        }
    }
}

// What we write must open the same in other programs. Pillow as packaged here
// misreads 24-bit PCX files of odd width (its own included), so those are
// left to GraphicsMagick.
TEST(Writers, OtherProgramsReadOurFilesIdentically) {
    const bool pillow = !pythonWithPillow().isEmpty();
    QTemporaryDir dir;
    // GraphicsMagick counts as installed when it converts a BMP that Qt wrote: a
    // stand-in of the same name that cannot is no reader to compare with.
    const QImage probe = makeTestPattern(5, 3);
    const QString probeFile = dir.filePath(QStringLiteral("probe.bmp"));
    const QString png = dir.filePath(QStringLiteral("gm.png"));
    ASSERT_TRUE(probe.save(probeFile));
    const auto gm = [&](const QString& file) {
        QFile::remove(png);
        return QProcess::execute(QStringLiteral("gm"), {QStringLiteral("convert"), file, png}) == 0;
    };
    const bool magick = !QStandardPaths::findExecutable(QStringLiteral("gm")).isEmpty() &&
                        gm(probeFile) && samePixels(probe, QImage(png));
    if (!pillow && !magick)
        GTEST_SKIP() << "neither Pillow nor GraphicsMagick is installed and working";
    QStringList pillowFiles;
    QList<QImage> pillowExpected;
    int written = 0;
    for (const WriteCase& c : writeCases(3)) {
        for (int i = 0; i < 3; ++i) {
            const Codec& codec = *kLossless[i];
            SCOPED_TRACE(std::string(codec.name) + ": " + c.name);
            QByteArray out;
            ASSERT_TRUE(encode(codec, imageOf(c.pixels, c.sourceHadPalette), out));
            const QString path =
                dir.filePath(QStringLiteral("%1.%2").arg(++written).arg(codec.name));
            ASSERT_TRUE(writeFile(path, out));
            const QImage expected = expectedAfter(c.pixels, c.bits[i]);
            if (magick) {
                ASSERT_TRUE(gm(path));
                EXPECT_TRUE(samePixels(expected, QImage(png))) << "GraphicsMagick";
            }
            if (pillow && !(&codec == &kPcx && c.bits[i] != 8 && c.pixels.width() % 2)) {
                pillowFiles << path;
                pillowExpected << expected;
            }
        }
    }
    if (!pillow)
        return;
    const QList<QImage> decoded = pillowDecode(pillowFiles, dir.path());
    ASSERT_EQ(decoded.size(), pillowFiles.size());
    for (int i = 0; i < decoded.size(); ++i)
        EXPECT_TRUE(samePixels(pillowExpected[i], decoded[i]))
            << "Pillow: " << pillowFiles[i].toStdString();
}

} // namespace dovi::test
