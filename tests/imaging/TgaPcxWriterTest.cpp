// The TGA and PCX writers: what they write reads back pixel for pixel through
// our readers, and Pillow and GraphicsMagick read the same pictures.
#include "imaging/TgaPcxTestTools.h"
#include "imaging/codecs/PcxCodec.h"
#include "imaging/codecs/TgaCodec.h"

#include <QTemporaryDir>

using namespace dovi::imaging;
using namespace dovi::test;
using namespace dovi::test::tgapcx;

namespace {

struct Codec {
    const char* name;
    bool (*encode)(const Image&, QByteArray&, QString*);
    DecodeResult (*decode)(Bytes, const DecodeRequest&);
    bool keepsAlpha;
    int mappedBits, rgbBits, alphaBits; // bits per pixel written for each kind
};

const Codec kCodecs[] = {
    {"tga", tga::encode, tga::decode, true, 8, 24, 32},
    {"pcx", pcx::encode, pcx::decode, false, 8, 24, 24},
};

// A picture of few colours, as a paletted file would give.
QImage fewColours(int w, int h, int colours) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x / 3 + y * 7) % colours;
            img.setPixel(x, y, qRgb(i * 255 / colours, 255 - i, (i * 97) % 256));
        }
    return img;
}

struct Case {
    const char* name;
    QImage pixels;
    bool sourceHadPalette;
    enum Kind { Mapped, Rgb, Alpha } written;
};

QList<Case> cases() {
    QImage opaqueArgb = makeTestPattern(40, 20, false).convertToFormat(QImage::Format_ARGB32);
    QImage grey(17, 9, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar(x * 15 + y);
    return {
        {"1x1", makeTestPattern(1, 1), false, Case::Rgb},
        {"3x2", makeTestPattern(3, 2), false, Case::Rgb},
        {"131x67 odd width", makeTestPattern(131, 67), false, Case::Rgb},
        {"alpha", makeTestPattern(64, 33, true), false, Case::Alpha},
        {"ARGB32 but opaque", opaqueArgb, false, Case::Rgb},
        {"paletted, 256 colours, odd width", fewColours(123, 67, 256), true, Case::Mapped},
        {"paletted, 5 colours", fewColours(37, 41, 5), true, Case::Mapped},
        {"paletted source, now 300 colours", fewColours(50, 50, 300), true, Case::Rgb},
        {"few colours, not from a paletted file", fewColours(20, 10, 4), false, Case::Rgb},
        {"grey input layout", grey, true, Case::Mapped},
    };
}

QImage expectedAfter(const Codec& codec, const QImage& source) {
    return codec.keepsAlpha ? source : colourOnly(source);
}

} // namespace

TEST(TgaPcxWriter, RoundTripsArePixelExact) {
    for (const Codec& codec : kCodecs) {
        for (const Case& c : cases()) {
            SCOPED_TRACE(std::string(codec.name) + ": " + c.name);
            Image image;
            image.pixels = c.pixels;
            image.sourceHadPalette = c.sourceHadPalette;
            QByteArray out;
            QString error;
            ASSERT_TRUE(codec.encode(image, out, &error)) << error.toStdString();
            const DecodeResult r = codec.decode(bytesOf(out), {});
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            const int bits[] = {codec.mappedBits, codec.rgbBits, codec.alphaBits};
            EXPECT_EQ(r.image.bitsPerPixel, bits[c.written]);
            EXPECT_EQ(r.image.pixels.hasAlphaChannel(),
                      c.written == Case::Alpha && codec.keepsAlpha);
            EXPECT_TRUE(samePixels(expectedAfter(codec, c.pixels), r.image.pixels));
        }
    }
}

TEST(TgaPcxWriter, PcxLinesHaveAnEvenByteCount) {
    for (const int w : {1, 2, 123, 131}) {
        Image image;
        image.pixels = makeTestPattern(w, 3);
        QByteArray out;
        ASSERT_TRUE(pcx::encode(image, out));
        const int bpl = uchar(out[66]) | uchar(out[67]) << 8;
        EXPECT_EQ(bpl % 2, 0) << w;
        EXPECT_GE(bpl, w);
    }
}

TEST(TgaPcxWriter, NothingToWriteIsAnError) {
    for (const Codec& codec : kCodecs) {
        QByteArray out;
        QString error;
        EXPECT_FALSE(codec.encode(Image{}, out, &error)) << codec.name;
        EXPECT_FALSE(error.isEmpty());
    }
}

// What we write must open the same in other programs. Pillow as packaged here
// misreads 24-bit PCX files of odd width (its own included), so those are
// left to GraphicsMagick.
TEST(TgaPcxWriter, PillowAndGraphicsMagickReadOurFilesIdentically) {
    const bool pillow = !pythonWithPillow().isEmpty();
    const bool gm = haveGm();
    if (!pillow && !gm)
        GTEST_SKIP() << "neither Pillow nor GraphicsMagick available";
    QTemporaryDir dir;
    QStringList pillowFiles;
    QList<QImage> pillowExpected;
    for (const Codec& codec : kCodecs) {
        for (const Case& c : cases()) {
            SCOPED_TRACE(std::string(codec.name) + ": " + c.name);
            Image image;
            image.pixels = c.pixels;
            image.sourceHadPalette = c.sourceHadPalette;
            QByteArray out;
            ASSERT_TRUE(codec.encode(image, out, nullptr));
            const QString path =
                dir.filePath(QStringLiteral("%1.%2").arg(pillowFiles.size() + 100).arg(codec.name));
            ASSERT_TRUE(writeFile(path, out));
            const QImage expected = expectedAfter(codec, c.pixels);
            if (gm) {
                const QImage got = gmDecode(path, dir.path());
                ASSERT_FALSE(got.isNull()) << "gm could not read it";
                EXPECT_TRUE(samePixels(expected, got)) << "GraphicsMagick";
            }
            const bool oddPcx = qstrcmp(codec.name, "pcx") == 0 && c.written != Case::Mapped &&
                                c.pixels.width() % 2;
            if (pillow && !oddPcx) {
                pillowFiles << path;
                pillowExpected << expected;
            }
        }
    }
    if (!pillow)
        GTEST_SKIP() << "Pillow not available; GraphicsMagick checked";
    const QList<QImage> decoded = pillowDecode(pillowFiles, dir.path());
    ASSERT_EQ(decoded.size(), pillowFiles.size());
    for (int i = 0; i < decoded.size(); ++i)
        EXPECT_TRUE(samePixels(pillowExpected[i], decoded[i]))
            << "Pillow: " << pillowFiles[i].toStdString();
    if (!gm)
        GTEST_SKIP() << "GraphicsMagick not available; Pillow checked";
}
