#include "JpegTestFiles.h"
#include "imaging/codecs/JpegCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <random>
#include <stdexcept>

namespace jpeg = dovi::imaging::jpeg;
namespace files = dovi::test::jpegfiles;
using dovi::imaging::DecodeResult;

namespace {

// What every decode must give, whatever the input: a picture of a sane size,
// or a failure that says why.
void expectSound(const DecodeResult& r, const std::string& what) {
    if (r.ok()) {
        EXPECT_TRUE(r.error.isEmpty()) << what;
        EXPECT_EQ(r.image.pixels.format(), QImage::Format_RGB32) << what;
        EXPECT_TRUE(dovi::imaging::dimensionsAllowed(r.fullWidth, r.fullHeight)) << what;
    } else {
        EXPECT_FALSE(r.error.isEmpty()) << what;
    }
}

QByteArray sampleFile(bool progressive) {
    files::Options options;
    options.progressive = progressive;
    options.subsample = true;
    options.app1 = files::exifWithOrientation(6, false);
    return files::write(dovi::test::makeTestPattern(96, 64), options);
}

} // namespace

TEST(JpegSniff, WantsStartOfImageAndAMarker) {
    EXPECT_TRUE(jpeg::sniff(files::bytes(QByteArray("\xff\xd8\xff\xe0", 4))));
    EXPECT_FALSE(jpeg::sniff(files::bytes(QByteArray("\xff\xd8", 2))));
    EXPECT_FALSE(jpeg::sniff(files::bytes(QByteArray("\xff\xd8\x00", 3))));
    EXPECT_FALSE(jpeg::sniff(files::bytes(QByteArray("BM\x00\x00", 4))));
    EXPECT_FALSE(jpeg::sniff({}));
}

TEST(JpegDamage, NotAJpegFails) {
    for (const QByteArray& data : {QByteArray(), QByteArray("\xff"), QByteArray("BM6\0\0\0", 6),
                                   QByteArray("\xff\xd8\xff\xd9", 4)}) {
        const auto r = jpeg::decode(files::bytes(data));
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(jpeg::uprightSize(files::bytes(data)).isEmpty());
    }
}

class JpegTruncation : public ::testing::TestWithParam<bool> {};

TEST_P(JpegTruncation, EveryCutFailsOrKeepsWhatArrived) {
    const QByteArray file = sampleFile(GetParam());
    const qsizetype dataStart = files::segmentEnd(file, 0xDA);
    ASSERT_GT(dataStart, 0);
    for (qsizetype cut = 0; cut < file.size(); cut += (cut < dataStart + 64 ? 1 : 7)) {
        const auto r = jpeg::decode(files::bytes(file.left(cut)));
        expectSound(r, "cut at " + std::to_string(cut));
        if (cut <= dataStart) {
            EXPECT_FALSE(r.ok()) << "nothing of the picture arrived, cut at " << cut;
        } else if (r.ok()) {
            EXPECT_EQ(r.image.pixels.size(), QSize(64, 96)) << cut; // still turned upright
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BaselineAndProgressive, JpegTruncation, ::testing::Bool());

// Cut files decode exactly as libjpeg itself fills them, though Dovi stops
// decoding once only filler is left.
TEST_P(JpegTruncation, CutFileMatchesWhatTheLibraryMakesOfIt) {
    files::Options options;
    options.progressive = GetParam();
    options.subsample = true;
    // Narrow pictures put many rows of blocks in the decoder's read-ahead.
    for (const int width : {8, 72}) {
        const QByteArray file = files::write(dovi::test::makeTestPattern(width, 400), options);
        const qsizetype dataStart = files::segmentEnd(file, 0xDA);
        for (int percent = 5; percent < 100; percent += 9) {
            const QByteArray cut = file.left(dataStart + (file.size() - dataStart) * percent / 100);
            const auto r = jpeg::decode(files::bytes(cut));
            if (!r.ok()) {
                // A cut inside a later scan's header is fatal to libjpeg too.
                EXPECT_THROW(files::plainDecode(cut), std::runtime_error) << percent << "%";
                continue;
            }
            EXPECT_TRUE(dovi::test::samePixels(files::plainDecode(cut), r.image.pixels))
                << width << " wide, " << percent << "%";
        }
    }
}

TEST(JpegDamage, BaselineCutKeepsTheTopAndGreysTheRest) {
    const QByteArray file = files::write(dovi::test::makeTestPattern(64, 128));
    const auto full = jpeg::decode(files::bytes(file));
    ASSERT_TRUE(full.ok());
    const qsizetype dataStart = files::segmentEnd(file, 0xDA);
    const auto cut =
        jpeg::decode(files::bytes(file.left(dataStart + (file.size() - dataStart) / 2)));
    ASSERT_TRUE(cut.ok()) << cut.error.toStdString();
    EXPECT_TRUE(dovi::test::samePixels(full.image.pixels.copy(0, 0, 64, 16),
                                       cut.image.pixels.copy(0, 0, 64, 16)));
    EXPECT_EQ(cut.image.pixels.pixel(40, 127), qRgb(128, 128, 128));
}

TEST(JpegDamage, FileEndingRightAfterScanHeaderFails) {
    const QByteArray file = sampleFile(false);
    const auto r = jpeg::decode(files::bytes(file.left(files::segmentEnd(file, 0xDA))));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, QStringLiteral("Premature end of JPEG file"));
}

TEST(JpegDamage, RandomByteFlipsNeverBreakTheDecoder) {
    std::mt19937 random(1234);
    for (const bool progressive : {false, true}) {
        const QByteArray file = sampleFile(progressive);
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = file;
            const int flips = 1 + int(random() % 8);
            for (int i = 0; i < flips; ++i)
                damaged[qsizetype(random() % std::uint32_t(damaged.size()))] = char(random());
            const std::string what = "round " + std::to_string(round);
            expectSound(jpeg::decode(files::bytes(damaged)), what);
            expectSound(jpeg::decode(files::bytes(damaged), {QSize(20, 20)}), what);
        }
    }
}

TEST(JpegDamage, DeclaredSizesBeyondTheCapsAreRefusedBeforeDecoding) {
    const QByteArray file = files::write(dovi::test::makeTestPattern(32, 32));
    for (const QSize size : {QSize(32767, 32767), QSize(40000, 10), QSize(12000, 12000)}) {
        const auto r =
            jpeg::decode(files::bytes(files::withFrameSize(file, size.width(), size.height())));
        EXPECT_FALSE(r.ok()) << size.width() << "x" << size.height();
        EXPECT_FALSE(r.error.isEmpty());
    }
    const auto empty = jpeg::decode(files::bytes(files::withFrameSize(file, 0, 32)));
    EXPECT_FALSE(empty.ok());
}

TEST(JpegDamage, ProgressiveFileNeedingTooMuchMemoryIsRefused) {
    // 96 million pixels at 4:4:4 need about 550 MiB of coefficients.
    files::Options options;
    options.progressive = true;
    const QByteArray file = files::write(dovi::test::makeTestPattern(32, 32), options);
    const auto r = jpeg::decode(files::bytes(files::withFrameSize(file, 32000, 3000)));
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(JpegDamage, AbsurdNumberOfScansIsRefused) {
    files::Options options;
    options.progressive = true;
    options.scans = files::manyScans(2); // 1 + 3 * 63 * 3 = 568 scans
    const QByteArray file = files::write(dovi::test::makeTestPattern(32, 32), options);
    const auto r = jpeg::decode(files::bytes(file));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("scans"))) << r.error.toStdString();

    options.scans = files::manyScans(0); // 190 scans: odd but within bounds for a small picture
    const auto fine =
        jpeg::decode(files::bytes(files::write(dovi::test::makeTestPattern(32, 32), options)));
    EXPECT_TRUE(fine.ok()) << fine.error.toStdString();
}

// Inputs that once broke the decoder (or kept it busy for seconds) stay in
// the repository and are replayed.
TEST(JpegRegressions, EveryKeptInputDecodesSoundly) {
    const QDir dir(QStringLiteral(DOVI_SOURCE_DIR "/tests/imaging/data/regressions/jpeg"));
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QByteArray data = dovi::test::readFile(dir.filePath(name));
        const std::string what = name.toStdString();
        const auto full = jpeg::decode(files::bytes(data));
        expectSound(full, what);
        expectSound(jpeg::decode(files::bytes(data), {QSize(64, 64)}), what);
        if (full.ok()) {
            QByteArray again;
            ASSERT_TRUE(jpeg::encode(full.image, {}, again)) << what;
            expectSound(jpeg::decode(files::bytes(again)), what);
        }
    }
}
