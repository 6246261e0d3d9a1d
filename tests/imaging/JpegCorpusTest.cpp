#include "JpegTestFiles.h"
#include "imaging/codecs/JpegCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <cctype>

namespace jpeg = dovi::imaging::jpeg;
namespace files = dovi::test::jpegfiles;

namespace {

QString pillowDir() {
    return dovi::test::corpusDir() + QStringLiteral("/jpeg/pillow");
}

dovi::imaging::DecodeResult decodeFile(const QString& name, QSize box = {}) {
    const QByteArray data = dovi::test::readFile(pillowDir() + QLatin1Char('/') + name);
    EXPECT_FALSE(data.isEmpty()) << name.toStdString();
    return jpeg::decode(files::bytes(data), {box});
}

} // namespace

// Every file decodes except ultrahdr.jpg, which ends right after its scan
// header: nothing of the picture arrived. truncated_jpeg.jpg lost only its
// tail and decodes; truncated_exif_dpi.jpg has a cut-short EXIF block, which
// is ignored.
TEST(JpegCorpus, EveryUsableFileDecodes) {
    DOVI_REQUIRE_CORPUS();
    const QSet<QString> unusable = {QStringLiteral("ultrahdr.jpg")};
    const QStringList names = QDir(pillowDir()).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const auto full = decodeFile(name);
        const auto small = decodeFile(name, QSize(32, 32));
        if (unusable.contains(name)) {
            EXPECT_FALSE(full.ok()) << name.toStdString();
            EXPECT_FALSE(full.error.isEmpty()) << name.toStdString();
            continue;
        }
        ASSERT_TRUE(full.ok()) << name.toStdString() << ": " << full.error.toStdString();
        ASSERT_TRUE(small.ok()) << name.toStdString() << ": " << small.error.toStdString();
        EXPECT_EQ(full.image.pixels.size(), QSize(full.fullWidth, full.fullHeight))
            << name.toStdString();
        EXPECT_EQ(small.fullWidth, full.fullWidth) << name.toStdString();
        EXPECT_EQ(small.fullHeight, full.fullHeight) << name.toStdString();
        EXPECT_LE(small.image.pixels.width(), full.image.pixels.width());
        EXPECT_TRUE(small.image.pixels.width() >= std::min(32, full.fullWidth) &&
                    small.image.pixels.height() >= std::min(32, full.fullHeight))
            << name.toStdString();
    }
}

struct CorpusFacts {
    const char* name;
    int width; // upright
    int height;
    int bitsPerPixel;
    qsizetype iccBytes;
};

class JpegCorpusFacts : public ::testing::TestWithParam<CorpusFacts> {};

// Sizes, depth and profile lengths as another JPEG reader reports them.
TEST_P(JpegCorpusFacts, MatchWhatTheFileHolds) {
    DOVI_REQUIRE_CORPUS();
    const CorpusFacts& f = GetParam();
    const auto r = decodeFile(QString::fromLatin1(f.name));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.fullWidth, f.width);
    EXPECT_EQ(r.fullHeight, f.height);
    EXPECT_EQ(r.image.bitsPerPixel, f.bitsPerPixel);
    EXPECT_EQ(r.image.iccProfile.size(), f.iccBytes);
    EXPECT_EQ(r.image.format, dovi::imaging::Jpeg);
}

INSTANTIATE_TEST_SUITE_P(
    Pillow, JpegCorpusFacts,
    ::testing::Values(CorpusFacts{"hopper_gray.jpg", 128, 128, 8, 0},
                      CorpusFacts{"app13-multiple.jpg", 256, 160, 24, 0}, // progressive
                      CorpusFacts{"icc_profile_big.jpg", 425, 250, 24, 399788},
                      CorpusFacts{"flower2.jpg", 300, 225, 24, 3144},
                      CorpusFacts{"pil_sample_cmyk.jpg", 100, 100, 24, 0},
                      CorpusFacts{"orientation_rectangle.jpg", 1, 2, 24, 0}, // stored 2 x 1
                      CorpusFacts{"hopper_bad_exif.jpg", 500, 500, 8, 0},
                      CorpusFacts{"truncated_jpeg.jpg", 100, 100, 24, 0},
                      CorpusFacts{"junk_jpeg_header.jpg", 1024, 768, 24, 0}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(JpegCorpus, OrientationSetDecodesAlikeToTheUprightHopper) {
    DOVI_REQUIRE_CORPUS();
    const auto upright = decodeFile(QStringLiteral("hopper.jpg"));
    ASSERT_TRUE(upright.ok());
    for (int orientation = 2; orientation <= 8; ++orientation) {
        const QString name = QStringLiteral("hopper_orientation_%1.jpg").arg(orientation);
        const auto turned = decodeFile(name);
        ASSERT_TRUE(turned.ok()) << name.toStdString();
        // Re-encoded copies differ a little; a wrong turn scores about 9 dB.
        EXPECT_GE(files::psnr(upright.image.pixels, turned.image.pixels), 28.0)
            << name.toStdString();
    }
}

TEST(JpegCorpus, AdobeCmykSampleLooksLikeItsRgbTwin) {
    DOVI_REQUIRE_CORPUS();
    const auto cmyk = decodeFile(QStringLiteral("pil_sample_cmyk.jpg"));
    const auto rgb = decodeFile(QStringLiteral("pil_sample_rgb.jpg"));
    ASSERT_TRUE(cmyk.ok());
    ASSERT_TRUE(rgb.ok());
    EXPECT_GE(files::psnr(rgb.image.pixels, cmyk.image.pixels), 28.0);
}
