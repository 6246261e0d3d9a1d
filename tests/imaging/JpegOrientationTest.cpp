#include "JpegTestFiles.h"
#include "imaging/codecs/JpegCodec.h"
#include "imaging/codecs/JpegExif.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace jpeg = dovi::imaging::jpeg;
namespace files = dovi::test::jpegfiles;

namespace {

// The stored picture whose display under the EXIF orientation is `upright`.
// Orientation o says where the stored rows and columns belong: 2 mirrors,
// 3 turns half round, 4 flips, 5 transposes, 6 needs a quarter turn clockwise
// to view, 7 transverses, 8 a quarter turn anticlockwise.
QImage storedFor(const QImage& upright, int orientation) {
    const bool swaps = orientation >= 5;
    const int w = swaps ? upright.height() : upright.width(); // stored size
    const int h = swaps ? upright.width() : upright.height();
    QImage stored(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int vx = x, vy = y;
            switch (orientation) {
            case 2:
                vx = w - 1 - x;
                break;
            case 3:
                vx = w - 1 - x, vy = h - 1 - y;
                break;
            case 4:
                vy = h - 1 - y;
                break;
            case 5:
                vx = y, vy = x;
                break;
            case 6:
                vx = h - 1 - y, vy = x;
                break;
            case 7:
                vx = h - 1 - y, vy = w - 1 - x;
                break;
            case 8:
                vx = y, vy = w - 1 - x;
                break;
            default:
                break;
            }
            stored.setPixel(x, y, upright.pixel(vx, vy));
        }
    }
    return stored;
}

QByteArray fileWithOrientation(const QImage& upright, int orientation, bool bigEndian,
                               bool subsample = false) {
    files::Options options;
    options.app1 = files::exifWithOrientation(orientation, bigEndian);
    options.subsample = subsample;
    return files::write(storedFor(upright, orientation), options);
}

} // namespace

struct OrientationCase {
    int orientation;
    bool bigEndian;
};

class JpegOrientation : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(JpegOrientation, DecodesUpright) {
    const auto [orientation, bigEndian] = GetParam();
    const QImage upright = files::quadrants(64, 40);
    const QByteArray file = fileWithOrientation(upright, orientation, bigEndian);
    const auto result = jpeg::decode(files::bytes(file));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.fullWidth, 64);
    EXPECT_EQ(result.fullHeight, 40);
    EXPECT_LE(dovi::test::maxChannelDifference(upright, result.image.pixels), 8);
    EXPECT_EQ(jpeg::exif::orientation(files::bytes(result.image.exif)), orientation);
    EXPECT_EQ(jpeg::uprightSize(files::bytes(file)), QSize(64, 40));
}

TEST_P(JpegOrientation, ScaledDecodeIsUprightToo) {
    const auto [orientation, bigEndian] = GetParam();
    const QImage upright = files::quadrants(256, 128);
    const QByteArray file = fileWithOrientation(upright, orientation, bigEndian, true);
    const auto result = jpeg::decode(files::bytes(file), {QSize(60, 30)});
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.pixels.size(), QSize(64, 32)); // a quarter
    EXPECT_EQ(result.fullWidth, 256);
    EXPECT_EQ(result.fullHeight, 128);
    const QImage expected = upright.scaled(64, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Away from the quadrant edges the colours must match.
    for (const QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 24), QPoint(56, 24)}) {
        const QRgb want = expected.pixel(p), got = result.image.pixels.pixel(p);
        EXPECT_NEAR(qRed(got), qRed(want), 12) << p.x() << "," << p.y();
        EXPECT_NEAR(qGreen(got), qGreen(want), 12) << p.x() << "," << p.y();
        EXPECT_NEAR(qBlue(got), qBlue(want), 12) << p.x() << "," << p.y();
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, JpegOrientation,
                         ::testing::Values(OrientationCase{1, false}, OrientationCase{2, true},
                                           OrientationCase{3, false}, OrientationCase{4, true},
                                           OrientationCase{5, false}, OrientationCase{6, true},
                                           OrientationCase{7, false}, OrientationCase{8, true},
                                           OrientationCase{6, false}, OrientationCase{8, false},
                                           OrientationCase{3, true}, OrientationCase{5, true}),
                         [](const auto& info) {
                             return "Orientation" + std::to_string(info.param.orientation) +
                                    (info.param.bigEndian ? "Motorola" : "Intel");
                         });

struct BoxCase {
    int storedWidth;
    int storedHeight;
    int orientation;
    QSize box;
    QSize decoded; // upright
};

class JpegFitBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(JpegFitBox, DecodesNoLargerThanNeededToCoverTheBox) {
    const BoxCase c = GetParam();
    files::Options options;
    options.subsample = true;
    options.app1 = files::exifWithOrientation(c.orientation, false);
    const QByteArray file =
        files::write(dovi::test::makeTestPattern(c.storedWidth, c.storedHeight), options);
    const auto result = jpeg::decode(files::bytes(file), {c.box});
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.pixels.size(), c.decoded);
    const bool swaps = c.orientation >= 5;
    EXPECT_EQ(result.fullWidth, swaps ? c.storedHeight : c.storedWidth);
    EXPECT_EQ(result.fullHeight, swaps ? c.storedWidth : c.storedHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, JpegFitBox,
    ::testing::Values(BoxCase{200, 120, 1, QSize(25, 15), QSize(25, 15)},
                      BoxCase{200, 120, 1, QSize(26, 15), QSize(50, 30)},
                      BoxCase{200, 120, 1, QSize(25, 16), QSize(50, 30)},
                      BoxCase{200, 120, 1, QSize(100, 60), QSize(100, 60)},
                      BoxCase{200, 120, 1, QSize(100, 61), QSize(200, 120)},
                      BoxCase{200, 120, 1, QSize(1000, 1000), QSize(200, 120)},
                      BoxCase{200, 120, 1, QSize(1, 1), QSize(25, 15)},
                      BoxCase{201, 121, 1, QSize(26, 16), QSize(26, 16)}, // 1/8 rounds up
                      BoxCase{200, 120, 1, QSize(), QSize(200, 120)},
                      BoxCase{200, 120, 1, QSize(0, 50), QSize(200, 120)},
                      BoxCase{200, 120, 6, QSize(15, 25), QSize(15, 25)},
                      BoxCase{200, 120, 6, QSize(25, 15), QSize(30, 50)},
                      BoxCase{200, 120, 8, QSize(60, 100), QSize(60, 100)},
                      BoxCase{200, 120, 5, QSize(61, 100), QSize(120, 200)}),
    [](const auto& info) {
        const BoxCase& c = info.param;
        return std::to_string(c.storedWidth) + "x" + std::to_string(c.storedHeight) + "o" +
               std::to_string(c.orientation) + "Box" + std::to_string(std::max(0, c.box.width())) +
               "x" + std::to_string(std::max(0, c.box.height()));
    });

// Payloads a careless or hostile writer could leave: each must read as
// upright, and a file carrying it must still decode.
struct BadExif {
    const char* name;
    QByteArray payload;
};

class JpegBadExif : public ::testing::TestWithParam<BadExif> {};

TEST_P(JpegBadExif, IsIgnored) {
    const QByteArray& payload = GetParam().payload;
    EXPECT_EQ(jpeg::exif::orientation(files::bytes(payload)), 1);
    files::Options options;
    options.app1 = payload;
    const auto result = jpeg::decode(files::bytes(files::write(files::quadrants(32, 16), options)));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.pixels.size(), QSize(32, 16));
    // A rewrite for saving leaves it as it was apart from fields it can read.
    EXPECT_EQ(jpeg::exif::forUprightSave(payload).size(), payload.size());
}

namespace {

QByteArray patched(QByteArray data, int at, QByteArray bytes) {
    data.replace(at, bytes.size(), bytes);
    return data;
}

std::vector<BadExif> badExifCases() {
    const QByteArray good = files::exifWithOrientation(6, false);
    return {
        {"SignatureOnly", QByteArray("Exif\0\0", 6)},
        {"CutInTiffHeader", good.left(10)},
        {"UnknownByteOrder", patched(good, 6, "XX")},
        {"WrongMagic", patched(good, 8, QByteArray("\x2b\x00", 2))},
        {"IfdPastEnd", patched(good, 10, QByteArray("\xff\xff\x00\x00", 4))},
        {"IfdOffsetHuge", patched(good, 10, QByteArray("\xff\xff\xff\xff", 4))},
        {"IfdInsideHeader", patched(good, 10, QByteArray("\x04\x00\x00\x00", 4))},
        {"CountBeyondData", patched(good, 14, QByteArray("\xff\xff", 2)).left(30)},
        {"OrientationZero", patched(good, 36, QByteArray("\x00\x00", 2))},
        {"OrientationNine", patched(good, 36, QByteArray("\x09\x00", 2))},
        {"OrientationAsText", patched(good, 30, QByteArray("\x02\x00", 2))},
        {"OrientationCountZero", patched(good, 32, QByteArray(4, '\0'))},
        {"CutInsideEntry", good.left(34)},
        {"NotExifAtAll", QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 34)},
    };
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Payloads, JpegBadExif, ::testing::ValuesIn(badExifCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegExif, UprightCopyResetsOrientationInBothByteOrders) {
    for (const bool bigEndian : {false, true}) {
        const QByteArray payload = files::exifWithOrientation(7, bigEndian);
        const QByteArray upright = jpeg::exif::forUprightSave(payload);
        EXPECT_EQ(jpeg::exif::orientation(files::bytes(payload)), 7);
        EXPECT_EQ(jpeg::exif::orientation(files::bytes(upright)), 1);
        EXPECT_EQ(upright.size(), payload.size());
    }
}
