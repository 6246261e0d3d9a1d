#include "JpegTestFiles.h"
#include "imaging/codecs/JpegCodec.h"
#include "imaging/codecs/JpegExif.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace jpeg = dovi::imaging::jpeg;
namespace files = dovi::test::jpegfiles;
using dovi::imaging::Image;

namespace {

Image colourImage(const QImage& pixels) {
    Image img;
    img.pixels = pixels;
    img.format = dovi::imaging::Bmp;
    img.bitsPerPixel = 24;
    return img;
}

QByteArray save(const Image& image, jpeg::SaveOptions options = {}) {
    QByteArray out;
    QString error;
    EXPECT_TRUE(jpeg::encode(image, options, out, &error)) << error.toStdString();
    return out;
}

// A smooth picture: JPEG's loss on it is small, so a round trip must come
// back close however the size meets the block grid.
QImage smooth(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y,
                         qRgb((x * 255) / std::max(1, width - 1),
                              (y * 255) / std::max(1, height - 1),
                              ((x + y) * 127) / std::max(1, width + height - 2) + 64));
    }
    return img;
}

QImage greyRamp(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = (x * 255 / (width - 1) + y * 255 / (height - 1)) / 2;
            img.setPixel(x, y, qRgb(v, v, v));
        }
    }
    return img;
}

} // namespace

struct RoundTripCase {
    int width;
    int height;
};

class JpegRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(JpegRoundTrip, FinestFactorsComeBackClose) {
    const auto [width, height] = GetParam();
    const QImage source = smooth(width, height);
    const QByteArray file = save(colourImage(source));
    ASSERT_TRUE(jpeg::sniff(files::bytes(file)));
    const auto result = jpeg::decode(files::bytes(file));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.format, dovi::imaging::Jpeg);
    EXPECT_EQ(result.image.bitsPerPixel, 24);
    EXPECT_EQ(result.image.fileSize, file.size());
    EXPECT_EQ(result.image.pixels.format(), QImage::Format_RGB32);
    EXPECT_GE(files::psnr(source, result.image.pixels), 40.0);
    EXPECT_LE(dovi::test::maxChannelDifference(source, result.image.pixels), 12);
}

INSTANTIATE_TEST_SUITE_P(Sizes, JpegRoundTrip,
                         ::testing::Values(RoundTripCase{1, 1}, RoundTripCase{7, 3},
                                           RoundTripCase{17, 13}, RoundTripCase{64, 48},
                                           RoundTripCase{333, 111}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

TEST(JpegSave, GreySourceIsWrittenAsOneComponentAndStaysGrey) {
    Image grey = colourImage(greyRamp(90, 70));
    grey.bitsPerPixel = 8;
    const QByteArray file = save(grey);
    const auto result = jpeg::decode(files::bytes(file));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.bitsPerPixel, 8);
    EXPECT_LE(dovi::test::maxChannelDifference(grey.pixels, result.image.pixels), 3);

    // The same pixels from a colour source stay a colour file.
    const auto colour = jpeg::decode(files::bytes(save(colourImage(greyRamp(90, 70)))));
    ASSERT_TRUE(colour.ok());
    EXPECT_EQ(colour.image.bitsPerPixel, 24);
    EXPECT_LT(file.size(), save(colourImage(greyRamp(90, 70))).size());
}

TEST(JpegSave, GreyDepthWithColouredPixelsIsWrittenInColour) {
    Image img = colourImage(dovi::test::makeTestPattern(40, 40));
    img.bitsPerPixel = 8; // e.g. a paletted source whose palette holds colours
    const auto result = jpeg::decode(files::bytes(save(img)));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.image.bitsPerPixel, 24);
    EXPECT_GE(files::psnr(img.pixels, result.image.pixels), 28.0);
}

TEST(JpegSave, AlphaIsFlattenedOntoWhite) {
    // Three 16-pixel bands: opaque blue, half-transparent red, fully
    // transparent (with a junk colour underneath).
    QImage source(48, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 48; ++x)
            source.setPixel(x, y,
                            x < 16   ? qRgba(0, 0, 255, 255)
                            : x < 32 ? qRgba(255, 0, 0, 128)
                                     : qRgba(0, 255, 0, 0));
    }
    const auto result = jpeg::decode(files::bytes(save(colourImage(source))));
    ASSERT_TRUE(result.ok());
    const QImage& out = result.image.pixels;
    EXPECT_FALSE(out.hasAlphaChannel());
    struct Expect {
        int x;
        QRgb colour;
    };
    for (const Expect e : {Expect{4, qRgb(0, 0, 255)}, Expect{24, qRgb(255, 127, 127)},
                           Expect{44, qRgb(255, 255, 255)}}) {
        const QRgb got = out.pixel(e.x, 8);
        EXPECT_NEAR(qRed(got), qRed(e.colour), 6) << "x=" << e.x;
        EXPECT_NEAR(qGreen(got), qGreen(e.colour), 6) << "x=" << e.x;
        EXPECT_NEAR(qBlue(got), qBlue(e.colour), 6) << "x=" << e.x;
    }
}

TEST(JpegSave, FileShrinksAsEitherFactorGrows) {
    const Image img = colourImage(dovi::test::makeTestPattern(160, 120));
    const int steps[] = {1, 33, 65, 97, 129, 161, 193};
    qsizetype lastLuminance = std::numeric_limits<qsizetype>::max();
    qsizetype lastChrominance = lastLuminance;
    for (const int factor : steps) {
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
}

TEST(JpegSave, FactorsOutsideTheRangeAreClamped) {
    const Image img = colourImage(smooth(64, 64));
    EXPECT_EQ(save(img, {0, -5}), save(img, {1, 1}));
    EXPECT_EQ(save(img, {300, 1000}), save(img, {255, 255}));
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
    const QByteArray original = files::write(files::quadrants(64, 32), options);

    const auto loaded = jpeg::decode(files::bytes(original));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.image.exif, options.app1);
    EXPECT_EQ(loaded.image.iccProfile, icc);
    EXPECT_EQ(loaded.image.pixels.size(), QSize(32, 64)); // turned upright

    const auto again = jpeg::decode(files::bytes(save(loaded.image)));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.image.iccProfile, icc);
    EXPECT_EQ(jpeg::exif::orientation(files::bytes(again.image.exif)), 1);
    EXPECT_EQ(again.image.pixels.size(), QSize(32, 64)); // not turned a second time
    EXPECT_LE(dovi::test::maxChannelDifference(loaded.image.pixels, again.image.pixels), 8);
    // Only the orientation value and the thumbnail link changed.
    QByteArray expected = options.app1;
    expected[6 + 8 + 2 + 12 + 8 + 1] = 1;
    expected.replace(6 + 8 + 2 + 24, 4, QByteArray(4, '\0'));
    EXPECT_EQ(again.image.exif, expected);
}

TEST(JpegSave, ProfilesThatDoNotDescribeTheFileAreDropped) {
    QByteArray cmykProfile(200, '\0');
    cmykProfile.replace(16, 4, "CMYK");
    QByteArray greyProfile(200, '\0');
    greyProfile.replace(16, 4, "GRAY");

    Image colour = colourImage(smooth(32, 32));
    colour.iccProfile = cmykProfile; // kept from a CMYK source, whose pixels are now RGB
    auto result = jpeg::decode(files::bytes(save(colour)));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.image.iccProfile.isEmpty());

    colour.iccProfile = greyProfile;
    result = jpeg::decode(files::bytes(save(colour)));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.image.iccProfile.isEmpty());

    Image grey = colourImage(greyRamp(32, 32));
    grey.bitsPerPixel = 8;
    grey.iccProfile = greyProfile;
    result = jpeg::decode(files::bytes(save(grey)));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.image.bitsPerPixel, 8);
    EXPECT_EQ(result.image.iccProfile, greyProfile);
}

TEST(JpegSave, NullImageIsRefused) {
    QByteArray out("stale");
    QString error;
    EXPECT_FALSE(jpeg::encode(Image{}, {}, out, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(out.isEmpty());
}
