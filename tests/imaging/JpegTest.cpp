// The JPEG reader on files built in code (every coding feature, colour
// space, EXIF orientation and fit box) and the writer's choices.
#include "JpegTestFiles.h"
#include "imaging/codecs/jpeg/JpegExif.h"
#include "support/ImagingSupport.h"

#include <QTransform>
#include <limits>

using namespace dovi::imaging;
namespace files = dovi::test::jpegfiles;

namespace dovi::test {

namespace {

// The stored picture whose display under the EXIF orientation is upright.
// Orientation o says where the stored rows and columns belong: 2 mirrors,
// 3 turns half round, 4 flips, 5 transposes, 6 needs a quarter turn clockwise
// to view, 7 transverses, 8 a quarter turn anticlockwise.
QImage storedFor(const QImage& upright, int orientation) {
    const bool mirror[] = {false, false, true, true, false, true, false, true, false};
    const bool flip[] = {false, false, false, true, true, false, false, false, false};
    const int turn[] = {0, 0, 0, 0, 0, 90, -90, -90, 90};
    return upright.transformed(QTransform().rotate(turn[orientation]))
        .mirrored(mirror[orientation], flip[orientation]);
}

QByteArray fileWithOrientation(const QImage& upright, int orientation, bool bigEndian,
                               bool subsample = false) {
    files::Options options;
    options.app1 = files::exifWithOrientation(orientation, bigEndian);
    options.subsample = subsample;
    return files::write(storedFor(upright, orientation), options);
}

Image colourImage(const QImage& pixels, int bitsPerPixel = 24) {
    Image img;
    img.pixels = pixels;
    img.format = Bmp;
    img.bitsPerPixel = bitsPerPixel;
    return img;
}

QByteArray save(const Image& image, EncodeOptions options = {}) {
    QByteArray out;
    QString error;
    EXPECT_TRUE(jpeg::encode(image, options, out, &error)) << error.toStdString();
    return out;
}

// A smooth picture: JPEG's loss on it is small, so a round trip must come
// back close however the size meets the block grid.
QImage smooth(int width, int height) {
    return paint(width, height, [=](int x, int y) {
        return qRgb((x * 255) / std::max(1, width - 1), (y * 255) / std::max(1, height - 1),
                    ((x + y) * 127) / std::max(1, width + height - 2) + 64);
    });
}

QImage greyRamp(int width, int height) {
    return paint(width, height, [=](int x, int y) {
        const int v = (x * 255 / (width - 1) + y * 255 / (height - 1)) / 2;
        return qRgb(v, v, v);
    });
}

QByteArray patched(QByteArray data, int at, const QByteArray& bytes) {
    return data.replace(at, bytes.size(), bytes);
}

} // namespace

// Progression, restarts and arithmetic coding only change how the same
// quantised coefficients are coded, so each variant must decode to exactly
// the pixels of the plain baseline file.
TEST(JpegDecode, EveryCodingDecodesExactlyLikeBaseline) {
    const struct {
        const char* name;
        bool progressive, arithmetic;
        unsigned restartInterval;
        bool subsample;
    } cases[] = {
        {"progressive", true, false, 0, true},
        {"progressive 4:4:4", true, false, 0, false},
        {"restart every MCU", false, false, 1, true},
        {"restart every few MCUs", false, false, 5, false},
        {"progressive with restarts", true, false, 3, true},
        {"arithmetic", false, true, 0, true},
        {"arithmetic progressive", true, true, 2, false},
    };
    const QImage picture = makeTestPattern(123, 77);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files::Options baseline;
        baseline.subsample = c.subsample;
        files::Options variant = baseline;
        variant.progressive = c.progressive;
        variant.arithmetic = c.arithmetic;
        variant.restartInterval = c.restartInterval;
        const auto expected = decode(kJpeg, files::write(picture, baseline));
        const auto result = decode(kJpeg, files::write(picture, variant));
        ASSERT_TRUE(expected.ok()) << expected.error.toStdString();
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_TRUE(samePixels(expected.image.pixels, result.image.pixels));
        EXPECT_GE(psnr(picture, result.image.pixels),
                  18.0); // sharp 4-pixel checks, 4:2:0
    }
}

TEST(JpegDecode, GreyAndRgbCodedFilesDecode) {
    files::Options options;
    options.fileSpace = JCS_GRAYSCALE;
    const QImage ramp = paint(40, 30, [](int x, int) { return qRgb(x * 6, x * 6, x * 6); });
    const auto grey = decode(kJpeg, files::write(ramp, options));
    ASSERT_TRUE(grey.ok()) << grey.error.toStdString();
    EXPECT_EQ(grey.image.bitsPerPixel, 8);
    EXPECT_EQ(grey.image.pixels.format(), QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb p = grey.image.pixels.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qAlpha(p) == 255);
        }
    }
    EXPECT_LE(maxChannelDifference(ramp, grey.image.pixels), 3);

    options.fileSpace = JCS_RGB; // stored without colour transform (Adobe transform 0)
    const QImage picture = files::quadrants(48, 32);
    const auto rgb = decode(kJpeg, files::write(picture, options));
    ASSERT_TRUE(rgb.ok()) << rgb.error.toStdString();
    EXPECT_EQ(rgb.image.bitsPerPixel, 24);
    EXPECT_LE(maxChannelDifference(picture, rgb.image.pixels), 6);
}

// Patches of known inks, 16 pixels each, and the RGB a careful converter
// gives them: red = (255 - c)(255 - k) / 255, and so on. With Adobe's marker
// the inks are stored inverted, as Photoshop does.
TEST(JpegDecode, CmykFilesDecodeToTheExpectedColours) {
    const struct {
        std::uint8_t ink[4];
        QRgb rgb;
    } patches[] = {
        {{0, 0, 0, 0}, qRgb(255, 255, 255)},    {{255, 0, 0, 0}, qRgb(0, 255, 255)},
        {{0, 255, 0, 0}, qRgb(255, 0, 255)},    {{0, 0, 255, 0}, qRgb(255, 255, 0)},
        {{0, 0, 0, 255}, qRgb(0, 0, 0)},        {{0, 0, 0, 128}, qRgb(127, 127, 127)},
        {{128, 64, 0, 64}, qRgb(95, 143, 191)}, {{20, 200, 120, 30}, qRgb(207, 49, 119)},
    };
    const int count = int(std::size(patches)), width = 16 * count, height = 16;
    const struct {
        const char* name;
        J_COLOR_SPACE fileSpace;
        bool adobe;
    } kinds[] = {{"Adobe YCCK", JCS_YCCK, true},
                 {"Adobe CMYK", JCS_CMYK, true},
                 {"plain CMYK", JCS_CMYK, false}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::vector<std::uint8_t> samples;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (const std::uint8_t v : patches[x / 16].ink)
                    samples.push_back(kind.adobe ? std::uint8_t(255 - v) : v);
        const auto result =
            decode(kJpeg, files::writeCmyk(samples, width, height, kind.fileSpace, kind.adobe));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.bitsPerPixel, 24);
        for (int i = 0; i < count; ++i) {
            const QImage want = paint(1, 1, [&](int, int) { return patches[i].rgb; });
            EXPECT_LE(maxChannelDifference(want, result.image.pixels.copy(16 * i + 8, 8, 1, 1)), 3)
                << "patch " << i;
        }
    }
}

// Every orientation, in both byte orders, decodes upright, full size and
// DCT-scaled.
TEST(JpegOrientation, DecodesUpright) {
    const QImage upright = files::quadrants(64, 40);
    const QImage big = files::quadrants(256, 128);
    const QImage bigScaled = big.scaled(64, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(testing::Message() << orientation << (bigEndian ? " Motorola" : " Intel"));
            const QByteArray file = fileWithOrientation(upright, orientation, bigEndian);
            const auto result = decode(kJpeg, file);
            ASSERT_TRUE(result.ok()) << result.error.toStdString();
            EXPECT_EQ(QSize(result.fullWidth, result.fullHeight), QSize(64, 40));
            EXPECT_LE(maxChannelDifference(upright, result.image.pixels), 8);
            EXPECT_EQ(jpeg::exif::orientation(bytesOf(result.image.exif)), orientation);
            EXPECT_EQ(jpeg::uprightSize(bytesOf(file)), QSize(64, 40));

            const auto scaled = decode(
                kJpeg, fileWithOrientation(big, orientation, bigEndian, true), QSize(60, 30));
            ASSERT_TRUE(scaled.ok()) << scaled.error.toStdString();
            EXPECT_EQ(scaled.image.pixels.size(), QSize(64, 32)); // a quarter
            EXPECT_EQ(QSize(scaled.fullWidth, scaled.fullHeight), QSize(256, 128));
            // Away from the quadrant edges the colours must match.
            for (const QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 24), QPoint(56, 24)})
                EXPECT_LE(maxChannelDifference(bigScaled.copy(QRect(p, QSize(1, 1))),
                                               scaled.image.pixels.copy(QRect(p, QSize(1, 1)))),
                          12)
                    << p.x() << "," << p.y();
        }
    }
}

TEST(JpegDecode, DecodesNoLargerThanNeededToCoverTheBox) {
    const struct {
        int storedWidth, storedHeight, orientation;
        QSize box, decoded; // decoded: upright
    } cases[] = {
        {200, 120, 1, QSize(25, 15), QSize(25, 15)},
        {200, 120, 1, QSize(26, 15), QSize(50, 30)},
        {200, 120, 1, QSize(25, 16), QSize(50, 30)},
        {200, 120, 1, QSize(100, 60), QSize(100, 60)},
        {200, 120, 1, QSize(100, 61), QSize(200, 120)},
        {200, 120, 1, QSize(1000, 1000), QSize(200, 120)},
        {200, 120, 1, QSize(1, 1), QSize(25, 15)},
        {201, 121, 1, QSize(26, 16), QSize(26, 16)}, // 1/8 rounds up
        {200, 120, 1, QSize(), QSize(200, 120)},
        {200, 120, 1, QSize(0, 50), QSize(200, 120)},
        {200, 120, 6, QSize(15, 25), QSize(15, 25)},
        {200, 120, 6, QSize(25, 15), QSize(30, 50)},
        {200, 120, 8, QSize(60, 100), QSize(60, 100)},
        {200, 120, 5, QSize(61, 100), QSize(120, 200)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.storedWidth << "x" << c.storedHeight << " o" << c.orientation << " box "
                     << c.box.width() << "x" << c.box.height());
        files::Options options;
        options.subsample = true;
        options.app1 = files::exifWithOrientation(c.orientation, false);
        const auto result = decode(
            kJpeg, files::write(makeTestPattern(c.storedWidth, c.storedHeight), options), c.box);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.pixels.size(), c.decoded);
        const bool swaps = c.orientation >= 5;
        EXPECT_EQ(result.fullWidth, swaps ? c.storedHeight : c.storedWidth);
        EXPECT_EQ(result.fullHeight, swaps ? c.storedWidth : c.storedHeight);
    }
}

// Payloads a careless or hostile writer could leave: each must read as
// upright, a file carrying it must still decode, and a rewrite for saving
// leaves it as it was apart from fields it can read.
TEST(JpegExif, BadPayloadsAreIgnored) {
    const QByteArray good = files::exifWithOrientation(6, false);
    const struct {
        const char* name;
        QByteArray payload;
    } cases[] = {
        {"signature only", QByteArray("Exif\0\0", 6)},
        {"cut in TIFF header", good.left(10)},
        {"unknown byte order", patched(good, 6, "XX")},
        {"wrong magic", patched(good, 8, QByteArray("\x2b\x00", 2))},
        {"IFD past end", patched(good, 10, QByteArray("\xff\xff\x00\x00", 4))},
        {"IFD offset huge", patched(good, 10, QByteArray("\xff\xff\xff\xff", 4))},
        {"IFD inside header", patched(good, 10, QByteArray("\x04\x00\x00\x00", 4))},
        {"count beyond data", patched(good, 14, QByteArray("\xff\xff", 2)).left(30)},
        {"orientation zero", patched(good, 36, QByteArray("\x00\x00", 2))},
        {"orientation nine", patched(good, 36, QByteArray("\x09\x00", 2))},
        {"orientation as text", patched(good, 30, QByteArray("\x02\x00", 2))},
        {"orientation count zero", patched(good, 32, QByteArray(4, '\0'))},
        {"cut inside entry", good.left(34)},
        {"not EXIF at all", QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 34)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(jpeg::exif::orientation(bytesOf(c.payload)), 1);
        files::Options options;
        options.app1 = c.payload;
        const auto result = decode(kJpeg, files::write(files::quadrants(32, 16), options));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.pixels.size(), QSize(32, 16));
        EXPECT_EQ(jpeg::exif::forUprightSave(c.payload).size(), c.payload.size());
    }
    for (const bool bigEndian : {false, true}) {
        const QByteArray payload = files::exifWithOrientation(7, bigEndian);
        const QByteArray upright = jpeg::exif::forUprightSave(payload);
        EXPECT_EQ(jpeg::exif::orientation(bytesOf(payload)), 7);
        EXPECT_EQ(jpeg::exif::orientation(bytesOf(upright)), 1);
        EXPECT_EQ(upright.size(), payload.size());
    }
}

TEST(JpegSave, FinestFactorsComeBackClose) {
    for (const QSize size :
         {QSize(1, 1), QSize(7, 3), QSize(17, 13), QSize(64, 48), QSize(333, 111)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QImage source = smooth(size.width(), size.height());
        const QByteArray file = save(colourImage(source));
        ASSERT_TRUE(jpeg::sniff(bytesOf(file)));
        const auto result = decode(kJpeg, file);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.format, Jpeg);
        EXPECT_EQ(result.image.bitsPerPixel, 24);
        EXPECT_EQ(result.image.fileSize, file.size());
        EXPECT_EQ(result.image.pixels.format(), QImage::Format_RGB32);
        EXPECT_GE(psnr(source, result.image.pixels), 40.0);
        EXPECT_LE(maxChannelDifference(source, result.image.pixels), 12);
    }
}

// A grey source is written as one component and stays grey; the same pixels
// from a colour source stay a colour file; a "grey" depth with coloured pixels
// (a paletted source whose palette holds colours) is written in colour.
TEST(JpegSave, ComponentsFollowTheSourceDepthAndPixels) {
    const QImage ramp = greyRamp(90, 70);
    const QByteArray greyFile = save(colourImage(ramp, 8));
    const auto grey = decode(kJpeg, greyFile);
    ASSERT_TRUE(grey.ok()) << grey.error.toStdString();
    EXPECT_EQ(grey.image.bitsPerPixel, 8);
    EXPECT_LE(maxChannelDifference(ramp, grey.image.pixels), 3);
    const QByteArray colourFile = save(colourImage(ramp));
    const auto colour = decode(kJpeg, colourFile);
    ASSERT_TRUE(colour.ok());
    EXPECT_EQ(colour.image.bitsPerPixel, 24);
    EXPECT_LT(greyFile.size(), colourFile.size());

    const Image coloured = colourImage(makeTestPattern(40, 40), 8);
    const auto result = decode(kJpeg, save(coloured));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.image.bitsPerPixel, 24);
    EXPECT_GE(psnr(coloured.pixels, result.image.pixels), 28.0);
}

TEST(JpegSave, AlphaIsFlattenedOntoWhite) {
    // Three 16-pixel bands: opaque blue, half-transparent red, fully
    // transparent (with a junk colour underneath).
    const QImage source = paint(
        48, 16,
        [](int x, int) {
            return x < 16   ? qRgba(0, 0, 255, 255)
                   : x < 32 ? qRgba(255, 0, 0, 128)
                            : qRgba(0, 255, 0, 0);
        },
        true);
    const auto result = decode(kJpeg, save(colourImage(source)));
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.image.pixels.hasAlphaChannel());
    const QImage want = paint(48, 16, [](int x, int) {
        return x < 16 ? qRgb(0, 0, 255) : x < 32 ? qRgb(255, 127, 127) : qRgb(255, 255, 255);
    });
    for (const int x : {4, 24, 44})
        EXPECT_LE(maxChannelDifference(want.copy(x, 8, 1, 1), result.image.pixels.copy(x, 8, 1, 1)),
                  6)
            << "x=" << x;
}

TEST(JpegSave, FileShrinksAsEitherFactorGrowsAndFactorsAreClamped) {
    const Image img = colourImage(makeTestPattern(160, 120));
    qsizetype lastLuminance = std::numeric_limits<qsizetype>::max();
    qsizetype lastChrominance = lastLuminance;
    for (const int factor : {1, 33, 65, 97, 129, 161, 193}) {
        const qsizetype byLuminance = save(img, {factor, 1}).size();
        const qsizetype byChrominance = save(img, {1, factor}).size();
        EXPECT_LT(byLuminance, lastLuminance) << "luminance factor " << factor;
        EXPECT_LT(byChrominance, lastChrominance) << "chrominance factor " << factor;
        lastLuminance = byLuminance;
        lastChrominance = byChrominance;
    }
    // Neighbouring factors never grow the file either.
    for (int factor = 1; factor < 255; factor += 11) {
        EXPECT_LE(save(img, {factor + 11, 50}).size(), save(img, {factor, 50}).size()) << factor;
        EXPECT_LE(save(img, {50, factor + 11}).size(), save(img, {50, factor}).size()) << factor;
    }
    const Image flat = colourImage(smooth(64, 64));
    EXPECT_EQ(save(flat, {0, -5}), save(flat, {1, 1}));
    EXPECT_EQ(save(flat, {300, 1000}), save(flat, {255, 255}));
}

TEST(JpegSave, ExifAndProfileAreKeptWithOrientationReset) {
    QByteArray icc(400, '\0');
    icc.replace(16, 4, "RGB ");
    icc.replace(36, 4, "acsp");
    for (int i = 128; i < icc.size(); ++i)
        icc[i] = char(i * 7);
    files::Options options;
    options.app1 = files::exifWithOrientation(6, true);
    options.icc = icc;
    const auto loaded = decode(kJpeg, files::write(files::quadrants(64, 32), options));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.image.exif, options.app1);
    EXPECT_EQ(loaded.image.iccProfile, icc);
    EXPECT_EQ(loaded.image.pixels.size(), QSize(32, 64)); // turned upright

    const auto again = decode(kJpeg, save(loaded.image));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.image.iccProfile, icc);
    EXPECT_EQ(jpeg::exif::orientation(bytesOf(again.image.exif)), 1);
    EXPECT_EQ(again.image.pixels.size(), QSize(32, 64)); // not turned a second time
    EXPECT_LE(maxChannelDifference(loaded.image.pixels, again.image.pixels), 8);
    // Only the orientation value and the thumbnail link changed.
    QByteArray expected = options.app1;
    expected[6 + 8 + 2 + 12 + 8 + 1] = 1;
    expected.replace(6 + 8 + 2 + 24, 4, QByteArray(4, '\0'));
    EXPECT_EQ(again.image.exif, expected);
}

// A profile kept from a CMYK source (whose pixels are now RGB), or a grey
// profile on a colour file, does not describe what is written.
TEST(JpegSave, ProfilesThatDoNotDescribeTheFileAreDropped) {
    QByteArray cmykProfile(200, '\0');
    cmykProfile.replace(16, 4, "CMYK");
    QByteArray greyProfile(200, '\0');
    greyProfile.replace(16, 4, "GRAY");
    const struct {
        QByteArray profile;
        int bits;
        QByteArray kept;
    } cases[] = {{cmykProfile, 24, {}}, {greyProfile, 24, {}}, {greyProfile, 8, greyProfile}};
    for (const auto& c : cases) {
        Image img = colourImage(c.bits == 8 ? greyRamp(32, 32) : smooth(32, 32), c.bits);
        img.iccProfile = c.profile;
        const auto result = decode(kJpeg, save(img));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.image.bitsPerPixel, c.bits);
        EXPECT_EQ(result.image.iccProfile, c.kept);
    }
}

} // namespace dovi::test
