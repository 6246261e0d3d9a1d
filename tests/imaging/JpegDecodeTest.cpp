#include "JpegTestFiles.h"
#include "imaging/codecs/JpegCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace jpeg = dovi::imaging::jpeg;
namespace files = dovi::test::jpegfiles;

namespace {

// Progression, restarts and arithmetic coding only change how the same
// quantised coefficients are coded, so each variant must decode to exactly
// the pixels of the plain baseline file.
struct CodingCase {
    const char* name;
    bool progressive;
    bool arithmetic;
    unsigned restartInterval;
    bool subsample;
};

} // namespace

class JpegCoding : public ::testing::TestWithParam<CodingCase> {};

TEST_P(JpegCoding, DecodesExactlyLikeBaseline) {
    const CodingCase& c = GetParam();
    const QImage picture = dovi::test::makeTestPattern(123, 77);
    files::Options baseline;
    baseline.subsample = c.subsample;
    files::Options variant = baseline;
    variant.progressive = c.progressive;
    variant.arithmetic = c.arithmetic;
    variant.restartInterval = c.restartInterval;

    const auto expected = jpeg::decode(files::bytes(files::write(picture, baseline)));
    const auto result = jpeg::decode(files::bytes(files::write(picture, variant)));
    ASSERT_TRUE(expected.ok()) << expected.error.toStdString();
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_TRUE(dovi::test::samePixels(expected.image.pixels, result.image.pixels));
    EXPECT_GE(files::psnr(picture, result.image.pixels), 18.0); // sharp 4-pixel checks, 4:2:0
}

INSTANTIATE_TEST_SUITE_P(
    Variants, JpegCoding,
    ::testing::Values(CodingCase{"Progressive", true, false, 0, true},
                      CodingCase{"Progressive444", true, false, 0, false},
                      CodingCase{"RestartEveryMcu", false, false, 1, true},
                      CodingCase{"RestartEveryFewMcus", false, false, 5, false},
                      CodingCase{"ProgressiveWithRestarts", true, false, 3, true},
                      CodingCase{"Arithmetic", false, true, 0, true},
                      CodingCase{"ArithmeticProgressive", true, true, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegDecode, GreyFileGivesGreyRgb32AtEightBits) {
    files::Options options;
    options.fileSpace = JCS_GRAYSCALE;
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(x * 6, x * 6, x * 6));
    const auto result = jpeg::decode(files::bytes(files::write(picture, options)));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.bitsPerPixel, 8);
    EXPECT_EQ(result.image.pixels.format(), QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb p = result.image.pixels.pixel(x, y);
            ASSERT_EQ(qRed(p), qGreen(p));
            ASSERT_EQ(qGreen(p), qBlue(p));
            ASSERT_EQ(qAlpha(p), 255);
        }
    }
    EXPECT_LE(dovi::test::maxChannelDifference(picture, result.image.pixels), 3);
}

TEST(JpegDecode, RgbCodedFileDecodes) {
    files::Options options;
    options.fileSpace = JCS_RGB; // stored without colour transform (Adobe transform 0)
    const QImage picture = files::quadrants(48, 32);
    const auto result = jpeg::decode(files::bytes(files::write(picture, options)));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.bitsPerPixel, 24);
    EXPECT_LE(dovi::test::maxChannelDifference(picture, result.image.pixels), 6);
}

// Patches of known inks, 16 pixels each, and the RGB a careful converter
// gives them: red = (255 - c)(255 - k) / 255, and so on.
struct InkPatch {
    std::uint8_t c, m, y, k;
    QRgb rgb;
};

const InkPatch kInks[] = {
    {0, 0, 0, 0, qRgb(255, 255, 255)},    {255, 0, 0, 0, qRgb(0, 255, 255)},
    {0, 255, 0, 0, qRgb(255, 0, 255)},    {0, 0, 255, 0, qRgb(255, 255, 0)},
    {0, 0, 0, 255, qRgb(0, 0, 0)},        {0, 0, 0, 128, qRgb(127, 127, 127)},
    {128, 64, 0, 64, qRgb(95, 143, 191)}, {20, 200, 120, 30, qRgb(207, 49, 119)},
};

struct CmykCase {
    const char* name;
    J_COLOR_SPACE fileSpace;
    bool adobe; // with Adobe's marker, inks are stored inverted as Photoshop does
};

class JpegCmyk : public ::testing::TestWithParam<CmykCase> {};

TEST_P(JpegCmyk, DecodesToTheExpectedColours) {
    const CmykCase& c = GetParam();
    const int patches = int(std::size(kInks));
    const int width = 16 * patches, height = 16;
    std::vector<std::uint8_t> samples(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const InkPatch& ink = kInks[x / 16];
            std::uint8_t* p = &samples[(std::size_t(y) * width + x) * 4];
            const std::uint8_t v[4] = {ink.c, ink.m, ink.y, ink.k};
            for (int i = 0; i < 4; ++i)
                p[i] = c.adobe ? std::uint8_t(255 - v[i]) : v[i];
        }
    }
    const auto result =
        jpeg::decode(files::bytes(files::writeCmyk(samples, width, height, c.fileSpace, c.adobe)));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.bitsPerPixel, 24);
    for (int i = 0; i < patches; ++i) {
        const QRgb got = result.image.pixels.pixel(16 * i + 8, 8);
        EXPECT_NEAR(qRed(got), qRed(kInks[i].rgb), 3) << "patch " << i;
        EXPECT_NEAR(qGreen(got), qGreen(kInks[i].rgb), 3) << "patch " << i;
        EXPECT_NEAR(qBlue(got), qBlue(kInks[i].rgb), 3) << "patch " << i;
        EXPECT_EQ(qAlpha(got), 255);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, JpegCmyk,
                         ::testing::Values(CmykCase{"AdobeYcck", JCS_YCCK, true},
                                           CmykCase{"AdobeCmyk", JCS_CMYK, true},
                                           CmykCase{"PlainCmyk", JCS_CMYK, false}),
                         [](const auto& info) { return std::string(info.param.name); });
