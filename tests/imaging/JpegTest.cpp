// The JPEG reader on files built in code (every coding feature, colour
// space, EXIF orientation, fit box and damage) and the writer's choices.
#include "JpegTestFiles.h"
#include "imaging/codecs/jpeg/JpegExif.h"
#include "support/ImagingSupport.h"

#include <QTransform>
#include <random>

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

QByteArray withOrientation(const QImage& upright, int orientation, bool bigEndian,
                           files::Options options = {}) {
    options.app1 = files::exifWithOrientation(orientation, bigEndian);
    return files::write(storedFor(upright, orientation), options);
}

Image imageOf(const QImage& pixels, int bitsPerPixel = 24) {
    Image img;
    img.pixels = pixels;
    img.bitsPerPixel = bitsPerPixel;
    return img;
}

QByteArray save(const Image& image, EncodeOptions options = {}) {
    QByteArray out;
    QString error;
    EXPECT_TRUE(jpeg::encode(image, options, out, &error)) << error.toStdString();
    return out;
}

// A smooth picture, grey or in colour: JPEG's loss on it is small.
QImage smooth(int width, int height, bool grey = false) {
    const int w = std::max(1, width - 1), h = std::max(1, height - 1);
    return paint(width, height, [=](int x, int y) {
        const int v = (x * 255 / w + y * 255 / h) / 2;
        return grey ? qRgb(v, v, v) : qRgb(x * 255 / w, y * 255 / h, v / 2 + 64);
    });
}

QByteArray patched(QByteArray data, int at, const QByteArray& bytes) {
    return data.replace(at, bytes.size(), bytes);
}

} // namespace

// Each colour space comes out as RGB32 at the depth the file stores: grey
// files at 8 bits, YCbCr and RGB-coded ones (no colour transform) at 24.
TEST(JpegDecode, EveryColourSpaceDecodesToItsPicture) {
    for (const auto& [space, progressive] :
         {std::pair{JCS_YCbCr, true}, std::pair{JCS_GRAYSCALE, false}, std::pair{JCS_RGB, false}}) {
        SCOPED_TRACE(testing::Message() << space << (progressive ? " progressive" : ""));
        const bool grey = space == JCS_GRAYSCALE;
        const QImage picture = grey ? smooth(123, 77, true) : files::quadrants(123, 77);
        const auto result =
            decode(kJpeg, files::write(picture, {.fileSpace = space, .progressive = progressive}));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.pixels.format(), QImage::Format_RGB32);
        EXPECT_EQ(result.image.bitsPerPixel, grey ? 8 : 24);
        EXPECT_GE(psnr(picture, result.image.pixels), 30.0);
    }
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
    const QImage want = paint(count, 1, [&](int i, int) { return patches[i].rgb; });
    for (const auto& [space, adobe] :
         {std::pair{JCS_YCCK, true}, std::pair{JCS_CMYK, true}, std::pair{JCS_CMYK, false}}) {
        SCOPED_TRACE(testing::Message() << space << (adobe ? " Adobe" : " plain"));
        std::vector<std::uint8_t> samples;
        for (int i = 0; i < width * height; ++i)
            for (const std::uint8_t v : patches[i % width / 16].ink)
                samples.push_back(adobe ? std::uint8_t(255 - v) : v);
        const auto result = decode(kJpeg, files::writeCmyk(samples, width, height, space, adobe));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.bitsPerPixel, 24);
        // Each patch's centre: its edges blur under the DCT.
        const QImage centres =
            paint(count, 1, [&](int i, int) { return result.image.pixels.pixel(16 * i + 8, 8); });
        EXPECT_LE(maxChannelDifference(want, centres), 3);
    }
}

// Every orientation, in both byte orders, decodes upright, full size and
// DCT-scaled to a quarter: away from the quadrant edges the colours match.
TEST(JpegDecode, EveryOrientationDecodesUpright) {
    const QImage upright = files::quadrants(256, 128);
    const auto corners = [](const QImage& img, int shrink) {
        return paint(2, 2, [&](int x, int y) {
            return img.pixel(QPoint(32 + 192 * x, 32 + 64 * y) / shrink);
        });
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (const bool bigEndian : {false, true}) {
            const QByteArray file =
                withOrientation(upright, orientation, bigEndian, {.subsample = true});
            EXPECT_EQ(jpeg::uprightSize(bytesOf(file)), QSize(256, 128));
            for (const int scale : {1, 4}) {
                SCOPED_TRACE(testing::Message()
                             << orientation << (bigEndian ? " Motorola" : " Intel") << " 1/"
                             << scale);
                const auto r = decode(kJpeg, file, scale == 1 ? QSize() : QSize(60, 30));
                ASSERT_TRUE(r.ok()) << r.error.toStdString();
                EXPECT_EQ(r.image.pixels.size(), QSize(256 / scale, 128 / scale));
                EXPECT_EQ(QSize(r.fullWidth, r.fullHeight), QSize(256, 128));
                EXPECT_EQ(jpeg::exif::orientation(bytesOf(r.image.exif)), orientation);
                EXPECT_LE(maxChannelDifference(corners(upright, 1), corners(r.image.pixels, scale)),
                          12);
            }
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
        {200, 120, 1, QSize(100, 61), QSize(200, 120)},
        {201, 121, 1, QSize(26, 16), QSize(26, 16)}, // 1/8 rounds up
        {200, 120, 1, QSize(0, 50), QSize(200, 120)},
        {200, 120, 6, QSize(25, 15), QSize(30, 50)},
        {200, 120, 8, QSize(60, 100), QSize(60, 100)},
        {200, 120, 5, QSize(61, 100), QSize(120, 200)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.storedWidth << "x" << c.storedHeight << " o" << c.orientation << " box "
                     << c.box.width() << "x" << c.box.height());
        const QByteArray file = files::write(
            makeTestPattern(c.storedWidth, c.storedHeight),
            {.subsample = true, .app1 = files::exifWithOrientation(c.orientation, false)});
        const auto result = decode(kJpeg, file, c.box);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.pixels.size(), c.decoded);
        EXPECT_EQ(QSize(result.fullWidth, result.fullHeight),
                  c.orientation >= 5 ? QSize(c.storedHeight, c.storedWidth)
                                     : QSize(c.storedWidth, c.storedHeight));
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
        {"IFD inside header", patched(good, 10, QByteArray("\x04\x00\x00\x00", 4))},
        {"count beyond data", patched(good, 14, QByteArray("\xff\xff", 2)).left(30)},
        {"orientation nine", patched(good, 36, QByteArray("\x09\x00", 2))},
        {"orientation as text", patched(good, 30, QByteArray("\x02\x00", 2))},
        {"cut inside entry", good.left(34)},
        {"not EXIF at all", QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 34)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(jpeg::exif::orientation(bytesOf(c.payload)), 1);
        const auto result =
            decode(kJpeg, files::write(files::quadrants(32, 16), {.app1 = c.payload}));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.pixels.size(), QSize(32, 16));
        EXPECT_EQ(jpeg::exif::forUprightSave(c.payload).size(), c.payload.size());
    }
}

// Cut anywhere, a file decodes as libjpeg itself fills what is missing
// (though Dovi stops decoding once only filler is left, also when the rows
// land turned upright) and is flagged partial, or fails when nothing of the
// picture arrived. Each coding reaches the end of its data its own way.
TEST(JpegDamage, CutFilesDecodeAsTheLibraryFillsThem) {
    const files::Options codings[] = {
        {.subsample = true},
        {.subsample = true, .progressive = true},
        {.subsample = true, .restartInterval = 3},
        {.subsample = true, .progressive = true, .arithmetic = true, .restartInterval = 2}};
    for (const auto& options : codings) {
        // Narrow pictures put many rows of blocks in the decoder's read-ahead.
        for (const int width : {8, 72}) {
            for (const int orientation : {1, 6}) {
                // Stored width x 400 either way.
                const QImage upright =
                    orientation == 6 ? makeTestPattern(400, width) : makeTestPattern(width, 400);
                const QByteArray file = withOrientation(upright, orientation, false, options);
                const qsizetype dataStart = files::segmentEnd(file, 0xDA);
                ASSERT_GT(dataStart, 0);
                EXPECT_FALSE(decode(kJpeg, file).partial);
                EXPECT_FALSE(decode(kJpeg, file, {width / 4, 50}).partial);
                for (qsizetype cut = 0; cut <= dataStart; cut += 1 + cut / 16)
                    EXPECT_FALSE(decode(kJpeg, file.left(cut)).ok()) << cut;
                for (int percent = 5; percent < 100; percent += 9) {
                    SCOPED_TRACE(testing::Message()
                                 << width << " wide, orientation " << orientation << ", coding "
                                 << (&options - codings) << ", " << percent << "%");
                    const QByteArray cut =
                        file.left(dataStart + (file.size() - dataStart) * percent / 100);
                    const auto r = decode(kJpeg, cut);
                    if (!r.ok()) {
                        // A cut inside a later scan's header is fatal to libjpeg too.
                        EXPECT_THROW(files::plainDecode(cut), std::runtime_error);
                        continue;
                    }
                    const QImage stored = files::plainDecode(cut);
                    EXPECT_TRUE(samePixels(
                        stored.transformed(QTransform().rotate(orientation == 6 ? 90 : 0)),
                        r.image.pixels));
                    // Filler must never pass for the picture, at any scale.
                    const auto small = decode(kJpeg, cut, {width / 4, 50});
                    EXPECT_TRUE(r.partial && (!small.ok() || small.partial));
                }
            }
        }
    }
    // Ending right after the scan header, nothing of the picture arrived.
    const QByteArray file = files::write(makeTestPattern(32, 32));
    const auto r = decode(kJpeg, file.left(files::segmentEnd(file, 0xDA)));
    EXPECT_EQ(r.error, QStringLiteral("Premature end of JPEG file"));
}

// Random damage decodes soundly or fails saying why; hundreds of scans, each
// walking every block, must not buy minutes of work with a small file.
TEST(JpegDamage, DamagedFilesAndAbsurdScanCountsNeverBreakTheDecoder) {
    std::mt19937 random(1234);
    for (const bool progressive : {false, true}) {
        const QByteArray file =
            withOrientation(makeTestPattern(96, 64), 6, false,
                            {.subsample = progressive, .progressive = progressive});
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = file;
            for (int i = 1 + int(random() % 8); i > 0; --i)
                damaged[qsizetype(random() % std::uint32_t(damaged.size()))] = char(random());
            for (const QSize box : {QSize(), QSize(20, 20)}) {
                const auto r = decode(kJpeg, damaged, box);
                ASSERT_EQ(r.ok(), r.error.isEmpty()) << round;
                ASSERT_TRUE(!r.ok() || dimensionsAllowed(r.fullWidth, r.fullHeight)) << round;
            }
        }
    }
    // 1 + 3 * 63 * 3 = 568 scans are refused; 190 are odd but fine for a small picture.
    const auto withScans = [](int refinementBits) {
        return decode(
            kJpeg, files::write(makeTestPattern(32, 32),
                                {.progressive = true, .scans = files::manyScans(refinementBits)}));
    };
    const auto r = withScans(2);
    EXPECT_TRUE(r.error.contains(QStringLiteral("scans"))) << r.error.toStdString();
    EXPECT_TRUE(withScans(0).ok());
}

// At the finest factors any size comes back close. A grey source is written
// as one component and stays grey; the same pixels from a colour source stay
// a colour file; a "grey" depth with coloured pixels (a paletted source whose
// palette holds colours) is written in colour. Alpha is flattened onto white.
TEST(JpegSave, ComponentsFollowTheSourceAndAlphaIsFlattenedOntoWhite) {
    // Opaque blue, half-transparent red, fully transparent (junk colour below).
    const QRgb translucent[] = {qRgba(0, 0, 255, 255), qRgba(255, 0, 0, 128), qRgba(0, 255, 0, 0)};
    const QRgb flattened[] = {qRgb(0, 0, 255), qRgb(255, 127, 127), qRgb(255, 255, 255)};
    const struct {
        QImage source;
        int bits, savedBits;
        QImage expected;
        double minPsnr;
    } cases[] = {
        {smooth(1, 1), 24, 24, {}, 40},
        {smooth(333, 111), 24, 24, {}, 40},
        {smooth(90, 70, true), 8, 8, {}, 40},
        {smooth(90, 70, true), 24, 24, {}, 40},
        {makeTestPattern(40, 40), 8, 24, {}, 28},
        {paint(
             48, 16, [&](int x, int) { return translucent[x / 16]; }, true),
         24, 24, paint(48, 16, [&](int x, int) { return flattened[x / 16]; }), 35},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.source.width() << "x" << c.source.height() << " " << c.bits);
        const auto result = decode(kJpeg, save(imageOf(c.source, c.bits)));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.image.bitsPerPixel, c.savedBits);
        EXPECT_FALSE(result.image.pixels.hasAlphaChannel());
        EXPECT_GE(psnr(c.expected.isNull() ? c.source : c.expected, result.image.pixels),
                  c.minPsnr);
    }
    EXPECT_LT(save(imageOf(smooth(90, 70, true), 8)).size(),
              save(imageOf(smooth(90, 70, true))).size());
}

// Either factor grown shrinks the file; factors are clamped to 1..255.
TEST(JpegSave, FileShrinksAsEitherFactorGrowsAndFactorsAreClamped) {
    const Image img = imageOf(makeTestPattern(160, 120));
    const qsizetype finest = save(img, {1, 1}).size();
    EXPECT_TRUE(save(img, {97, 1}).size() < finest && save(img, {1, 97}).size() < finest);
    EXPECT_LT(save(img, {193, 1}).size(), save(img, {97, 1}).size());
    const Image flat = imageOf(smooth(64, 64));
    EXPECT_EQ(save(flat, {0, -5}), save(flat, {1, 1}));
    EXPECT_EQ(save(flat, {300, 1000}), save(flat, {255, 255}));
}

// EXIF and a profile that describes the file are kept (orientation reset to
// upright, the thumbnail link cut); a profile kept from a CMYK source, or a
// grey profile on a colour file, is dropped.
TEST(JpegSave, MetadataIsKeptWhereItStillDescribesThePicture) {
    const auto profile = [](const char* space, int size) {
        QByteArray p(size, '\0');
        for (int i = 128; i < size; ++i)
            p[i] = char(i * 7);
        return p.replace(16, 4, space).replace(36, 4, "acsp");
    };
    const QByteArray icc = profile("RGB ", 400);
    const auto loaded =
        decode(kJpeg, withOrientation(files::quadrants(32, 64), 6, true, {.icc = icc}));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.image.iccProfile, icc);
    const auto again = decode(kJpeg, save(loaded.image));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.image.iccProfile, icc);
    EXPECT_EQ(again.image.pixels.size(), QSize(32, 64)); // not turned a second time
    EXPECT_LE(maxChannelDifference(loaded.image.pixels, again.image.pixels), 8);
    // Only the orientation value and the thumbnail link changed.
    QByteArray expected = files::exifWithOrientation(6, true);
    expected[6 + 8 + 2 + 12 + 8 + 1] = 1;
    expected.replace(6 + 8 + 2 + 24, 4, QByteArray(4, '\0'));
    EXPECT_EQ(again.image.exif, expected);

    const QByteArray cmykProfile = profile("CMYK", 200), greyProfile = profile("GRAY", 200);
    const struct {
        QByteArray profile;
        int bits;
        QByteArray kept;
    } cases[] = {{cmykProfile, 24, {}}, {greyProfile, 24, {}}, {greyProfile, 8, greyProfile}};
    for (const auto& c : cases) {
        Image img = imageOf(c.bits == 8 ? smooth(32, 32, true) : smooth(32, 32), c.bits);
        img.iccProfile = c.profile;
        const auto result = decode(kJpeg, save(img));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.image.bitsPerPixel, c.bits);
        EXPECT_EQ(result.image.iccProfile, c.kept);
    }
}

} // namespace dovi::test
