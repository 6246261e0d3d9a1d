#include "imaging/ops/Geometry.h"
#include "imaging/codecs/CodecTypes.h"
#include "imaging/ops/Rotate.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QRect>
#include <climits>
#include <functional>
#include <optional>

namespace ops = dovi::imaging::ops;

namespace {

// Every pixel distinct and alpha varied, so any misplaced pixel shows.
QImage numbered(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 20 + 1, y * 20 + 2, x * 3 + y * 5, 100 + x + 10 * y));
    return img;
}

} // namespace

TEST(Geometry, MovesEveryPixelToItsPlace) {
    const QImage src = numbered(4, 3); // asymmetric: 4 wide, 3 high
    const int w = src.width(), h = src.height();
    // For each operation: the output size and, for an output pixel (x, y),
    // the source pixel it must hold.
    const struct {
        const char* name;
        std::function<QImage(const QImage&)> op;
        QSize size;
        std::function<QPoint(int, int)> from;
    } cases[] = {
        {"flip", ops::flip, {w, h}, [&](int x, int y) { return QPoint(x, h - 1 - y); }},
        {"mirror", ops::mirror, {w, h}, [&](int x, int y) { return QPoint(w - 1 - x, y); }},
        {"rotate 90",
         [](const QImage& i) { return ops::rotate(i, 90); },
         {h, w},
         [&](int x, int y) { return QPoint(y, h - 1 - x); }},
        {"rotate -270",
         [](const QImage& i) { return ops::rotate(i, -270); },
         {h, w},
         [&](int x, int y) { return QPoint(y, h - 1 - x); }},
        {"rotate 180",
         [](const QImage& i) { return ops::rotate(i, 180); },
         {w, h},
         [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); }},
        {"rotate 270",
         [](const QImage& i) { return ops::rotate(i, 270); },
         {h, w},
         [&](int x, int y) { return QPoint(w - 1 - y, x); }},
        {"rotate -90",
         [](const QImage& i) { return ops::rotate(i, -90); },
         {h, w},
         [&](int x, int y) { return QPoint(w - 1 - y, x); }},
        {"rotate 720",
         [](const QImage& i) { return ops::rotate(i, 720); },
         {w, h},
         [](int x, int y) { return QPoint(x, y); }},
        {"crop",
         [](const QImage& i) { return ops::crop(i, 1, 1, 2, 2); },
         {2, 2},
         [](int x, int y) { return QPoint(x + 1, y + 1); }},
    };
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32}) {
        const QImage in = src.convertToFormat(format);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const QImage out = c.op(in);
            ASSERT_EQ(out.size(), c.size);
            EXPECT_EQ(out.format(), format);
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x) {
                    const QPoint p = c.from(x, y);
                    ASSERT_EQ(out.pixel(x, y), in.pixel(p)) << "at " << x << "," << y;
                }
        }
    }
}

TEST(Geometry, CropClipsToThePicture) {
    const QImage src = numbered(6, 5);
    const struct {
        int left, top, width, height; // plain ints: QRect cannot hold INT_MAX sizes
        std::optional<QRect> got;     // none: null result
    } cases[] = {
        {1, 2, 3, 2, QRect(1, 2, 3, 2)},
        {-2, -1, 4, 3, QRect(0, 0, 2, 2)},
        {4, 3, 10, 10, QRect(4, 3, 2, 2)},
        {0, 0, 6, 5, QRect(0, 0, 6, 5)},
        {-5, -5, 100, 100, QRect(0, 0, 6, 5)},
        {6, 0, 2, 2, std::nullopt},
        {0, -3, 2, 3, std::nullopt},
        {2, 2, 0, 2, std::nullopt},
        {2, 2, 2, -1, std::nullopt},
        {3, 3, INT_MAX, INT_MAX, QRect(3, 3, 3, 2)},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << " " << c.width << "x" << c.height);
        const QImage out = ops::crop(src, c.left, c.top, c.width, c.height);
        if (!c.got) {
            EXPECT_TRUE(out.isNull());
            continue;
        }
        EXPECT_TRUE(dovi::test::samePixels(src.copy(*c.got), out));
    }
}

TEST(Rotate, AnyAngleGrowsTheCanvasAndKeepsTheCentre) {
    const struct {
        int w, h;
        double degrees;
        QSize canvas;
    } cases[] = {
        {21, 11, 45, {23, 23}}, // (21 + 11) / sqrt 2 = 22.6
        {21, 11, -45, {23, 23}},
        {21, 11, 30, {24, 21}}, // 21 cos + 11 sin = 23.7, 21 sin + 11 cos = 20.03
        {41, 21, 1, {42, 22}},
        {41, 21, 89.9999, {21, 41}}, // no row added for a hair's overhang
    };
    const QRgb centre = qRgb(250, 10, 20), rest = qRgb(10, 200, 30);
    const QRgb background = qRgb(255, 255, 255);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " by " << c.degrees);
        QImage src(c.w, c.h, QImage::Format_RGB32);
        src.fill(rest);
        src.setPixel(c.w / 2, c.h / 2, centre);
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
}

TEST(Rotate, ArbitraryAnglesTurnTheSameWayAsQuarterTurns) {
    const QImage src = dovi::test::makeTestPattern(30, 17, true);
    for (const double near : {89.9999, 180.0001, 269.9999, -90.0001}) {
        SCOPED_TRACE(near);
        const QImage exact = ops::rotate(src, std::round(near));
        const QImage sampled = ops::rotate(src, near);
        ASSERT_EQ(sampled.size(), exact.size());
        EXPECT_LE(dovi::test::maxChannelDifference(exact, sampled), 2);
    }
}

TEST(Rotate, RefusesWhatItCannotDo) {
    const QImage src = dovi::test::makeTestPattern(8, 8);
    EXPECT_TRUE(ops::rotate(src, std::nan("")).isNull());
    EXPECT_TRUE(ops::rotate(src, INFINITY).isNull());
    EXPECT_TRUE(ops::rotate(QImage(), 45).isNull());
    // A long strip turned 45 degrees needs a canvas over the pixel cap.
    QImage strip(dovi::imaging::kMaxSide, 2, QImage::Format_RGB32);
    strip.fill(0xff000000u);
    EXPECT_TRUE(ops::rotate(strip, 45).isNull());
    EXPECT_EQ(ops::rotate(strip, 90).size(), QSize(2, dovi::imaging::kMaxSide));
}
