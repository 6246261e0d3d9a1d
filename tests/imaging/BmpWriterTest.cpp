#include "imaging/codecs/BmpCodec.h"

#include "support/TestSupport.h"

// What the writer chooses for each kind of picture, and that the choice reads
// back pixel for pixel.
using namespace dovi::imaging;

namespace {

DecodeResult decodeBytes(const QByteArray& bytes) {
    return bmp::decode(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())));
}

// A picture using exactly n distinct opaque colours, spread in a pattern.
QImage withColours(int n, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = (x * 7 + y * 3) % n;
            img.setPixel(x, y, qRgb(i & 0xff, (i * 37) & 0xff, i >> 8));
        }
    return img;
}

QImage premultiplied() {
    QImage img = dovi::test::makeTestPattern(9, 5, true);
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

struct RoundTrip {
    const char* name;
    QImage pixels;
    bool sourceHadPalette;
    int bitsPerPixel;     // what the writer must choose
    int headerAndPalette; // bytes before the pixel data
};

} // namespace

TEST(BmpWriter, ChoosesTheSmallestExactLayoutAndReadsBack) {
    QImage opaqueAlpha =
        dovi::test::makeTestPattern(10, 4, false).convertToFormat(QImage::Format_ARGB32);
    const RoundTrip cases[] = {
        {"opaque colour picture: 24-bit", dovi::test::makeTestPattern(37, 19), false, 24, 54},
        {"translucent pixels: 32-bit BGRA, V5 header", dovi::test::makeTestPattern(21, 9, true),
         false, 32, 138},
        {"alpha channel fully opaque: 24-bit", opaqueAlpha, false, 24, 54},
        {"premultiplied input is stored unpremultiplied", premultiplied(), false, 32, 138},
        {"paletted source, 2 colours: 1-bit", withColours(2, 11, 5), true, 1, 54 + 8},
        {"paletted source, 16 colours: 4-bit", withColours(16, 11, 5), true, 4, 54 + 64},
        {"paletted source, 17 colours: 8-bit", withColours(17, 13, 6), true, 8, 54 + 68},
        {"paletted source, 256 colours: 8-bit", withColours(256, 64, 9), true, 8, 54 + 1024},
        {"paletted source, 257 colours: 24-bit", withColours(257, 64, 9), true, 24, 54},
        {"few colours but no palette in the source: 24-bit", withColours(2, 5, 5), false, 24, 54},
        {"indexed input format", withColours(5, 6, 3).convertToFormat(QImage::Format_Indexed8),
         false, 24, 54},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        Image img;
        img.pixels = c.pixels;
        img.sourceHadPalette = c.sourceHadPalette;
        QByteArray file;
        QString error;
        ASSERT_TRUE(bmp::encode(img, file, &error)) << error.toStdString();
        const qint64 stride = (qint64{c.pixels.width()} * c.bitsPerPixel + 31) / 32 * 4;
        EXPECT_EQ(file.size(), c.headerAndPalette + stride * c.pixels.height());
        const DecodeResult back = decodeBytes(file);
        ASSERT_TRUE(back.ok()) << back.error.toStdString();
        EXPECT_EQ(back.image.bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(back.image.pixels.hasAlphaChannel(), c.bitsPerPixel == 32);
        EXPECT_TRUE(dovi::test::samePixels(c.pixels.convertToFormat(QImage::Format_ARGB32),
                                           back.image.pixels));
    }
}

TEST(BmpWriter, EveryRowPaddingReadsBack) {
    for (int width = 1; width <= 9; ++width) {
        for (const bool palette : {false, true}) {
            SCOPED_TRACE(width * 10 + palette);
            Image img;
            img.pixels = palette ? withColours(std::min(width, 3), width, 3)
                                 : dovi::test::makeTestPattern(width, 3);
            img.sourceHadPalette = palette;
            QByteArray file;
            ASSERT_TRUE(bmp::encode(img, file));
            const DecodeResult back = decodeBytes(file);
            ASSERT_TRUE(back.ok()) << back.error.toStdString();
            EXPECT_TRUE(dovi::test::samePixels(img.pixels, back.image.pixels));
        }
    }
}

TEST(BmpWriter, RefusesANullImage) {
    QByteArray file;
    QString error;
    EXPECT_FALSE(bmp::encode(Image{}, file, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(bmp::encode(Image{}, file)); // no error text wanted
}
