#include "imaging/ops/Geometry.h"
#include "imaging/ops/Rotate.h"
#include "support/ImagingSupport.h"

#include <QTransform>
#include <climits>

namespace ops = dovi::imaging::ops;

namespace dovi::test {

namespace {

// Every pixel distinct and alpha varied, so any misplaced pixel shows.
QImage numbered(int w, int h) {
    return paint(
        w, h,
        [](int x, int y) { return qRgba(x * 20 + 1, y * 20 + 2, x * 3 + y * 5, 100 + x + 10 * y); },
        true);
}

} // namespace

// Qt's own transforms are the reference: each pixel must land where they put it.
TEST(Geometry, MovesEveryPixelToItsPlace) {
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32}) {
        const QImage src = numbered(4, 3).convertToFormat(format); // asymmetric
        const auto turned = [&](int degrees) {
            return src.transformed(QTransform().rotate(degrees));
        };
        const struct {
            const char* name;
            QImage got, expected;
        } cases[] = {
            {"flip", ops::flip(src), src.mirrored(false, true)},
            {"mirror", ops::mirror(src), src.mirrored(true, false)},
            {"rotate 90", ops::rotate(src, 90), turned(90)},
            {"rotate -270", ops::rotate(src, -270), turned(90)},
            {"rotate 180", ops::rotate(src, 180), turned(180)},
            {"rotate 270", ops::rotate(src, 270), turned(270)},
            {"rotate -90", ops::rotate(src, -90), turned(270)},
            {"rotate 720", ops::rotate(src, 720), src},
            {"crop", ops::crop(src, 1, 1, 2, 2), src.copy(1, 1, 2, 2)},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " " << format);
            EXPECT_EQ(c.got.format(), format);
            EXPECT_TRUE(samePixels(c.expected, c.got));
        }
    }
}

TEST(Geometry, CropClipsToThePicture) {
    const QImage src = numbered(6, 5);
    const struct {
        int left, top, width, height; // plain ints: QRect cannot hold INT_MAX sizes
        QRect got;                    // null: null result
    } cases[] = {{1, 2, 3, 2, QRect(1, 2, 3, 2)},
                 {-2, -1, 4, 3, QRect(0, 0, 2, 2)},
                 {4, 3, 10, 10, QRect(4, 3, 2, 2)},
                 {-5, -5, 100, 100, QRect(0, 0, 6, 5)},
                 {6, 0, 2, 2, QRect()},
                 {0, -3, 2, 3, QRect()},
                 {2, 2, 0, 2, QRect()},
                 {3, 3, INT_MAX, INT_MAX, QRect(3, 3, 3, 2)},
                 {INT_MIN, INT_MIN, INT_MAX, INT_MAX, QRect()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << " " << c.width << "x" << c.height);
        EXPECT_TRUE(samePixels(c.got.isNull() ? QImage() : src.copy(c.got),
                               ops::crop(src, c.left, c.top, c.width, c.height)));
    }
}

TEST(Rotate, AnyAngleGrowsTheCanvasAndKeepsTheCentre) {
    const struct {
        int w, h;
        double degrees;
        QSize canvas;
    } cases[] = {
        {21, 11, 45, {23, 23}}, // (21 + 11) / sqrt 2 = 22.6
        {21, 11, 30, {24, 21}}, // 21 cos + 11 sin = 23.7, 21 sin + 11 cos = 20.03
        {41, 21, 1, {42, 22}},
        {41, 21, 89.9999, {21, 41}}, // no row added for a hair's overhang
    };
    const QRgb centre = qRgb(250, 10, 20), rest = qRgb(10, 200, 30),
               background = qRgb(255, 255, 255);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " by " << c.degrees);
        const QImage src = paint(
            c.w, c.h, [&](int x, int y) { return x == c.w / 2 && y == c.h / 2 ? centre : rest; });
        const QImage out = ops::rotate(src, c.degrees, background);
        ASSERT_EQ(out.size(), c.canvas);
        EXPECT_EQ(out.format(), QImage::Format_RGB32);
        if (out.width() % 2 == 1 && out.height() % 2 == 1) {
            // Both odd: centre pixel lands on centre pixel exactly.
            EXPECT_EQ(out.pixel(out.width() / 2, out.height() / 2), centre);
        }
        if (std::abs(std::remainder(c.degrees, 90.0)) > 1.0) {
            EXPECT_EQ(out.pixel(0, 0), background);
            EXPECT_EQ(out.pixel(out.width() - 1, out.height() - 1), background);
        }
    }
    // Arbitrary angles turn the same way as the exact quarter turns near them.
    const QImage src = makeTestPattern(30, 17, true);
    EXPECT_LE(maxChannelDifference(ops::rotate(src, 270), ops::rotate(src, 269.9999)), 2);
}

TEST(Rotate, RefusesWhatItCannotDo) {
    const QImage src = makeTestPattern(8, 8);
    EXPECT_TRUE(ops::rotate(src, std::nan("")).isNull() && ops::rotate(src, INFINITY).isNull() &&
                ops::rotate(QImage(), 45).isNull());
    // A long strip turned 45 degrees needs a canvas over the pixel cap.
    QImage strip(dovi::imaging::kMaxSide, 2, QImage::Format_RGB32);
    strip.fill(0xff000000u);
    EXPECT_TRUE(ops::rotate(strip, 45).isNull());
    EXPECT_EQ(ops::rotate(strip, 90).size(), QSize(2, dovi::imaging::kMaxSide));
}

} // namespace dovi::test
