#include "imaging/ops/Tone.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace ops = dovi::imaging::ops;

namespace {

QImage onePixel(QRgb colour) {
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

QRgb applied(const std::function<QImage(const QImage&)>& op, QRgb colour) {
    return op(onePixel(colour)).pixel(0, 0) & 0xffffffu;
}

} // namespace

TEST(Tone, MapsKnownLevelsAndClampsAtTheEnds) {
    const struct {
        const char* name;
        std::function<QImage(const QImage&)> op;
        QRgb in, out;
    } cases[] = {
        {"negate", ops::negate, qRgb(0, 100, 255), qRgb(255, 155, 0)},
        {"brightness +100 keeps white white",
         [](const QImage& i) { return ops::brightness(i, 100); }, qRgb(255, 255, 255),
         qRgb(255, 255, 255)},
        {"brightness +100", [](const QImage& i) { return ops::brightness(i, 100); },
         qRgb(0, 90, 200), qRgb(255, 255, 255)},
        {"brightness +50", [](const QImage& i) { return ops::brightness(i, 50); },
         qRgb(0, 100, 255), qRgb(128, 178, 255)},
        {"brightness -50", [](const QImage& i) { return ops::brightness(i, -50); },
         qRgb(0, 100, 255), qRgb(0, 50, 128)},
        {"brightness past the range", [](const QImage& i) { return ops::brightness(i, 900); },
         qRgb(3, 4, 5), qRgb(255, 255, 255)},
        {"contrast -100 gives grey", [](const QImage& i) { return ops::contrast(i, -100); },
         qRgb(0, 90, 255), qRgb(128, 128, 128)},
        {"contrast +100 saturates", [](const QImage& i) { return ops::contrast(i, 100); },
         qRgb(250, 5, 128), qRgb(255, 0, 133)},
        {"contrast +50", [](const QImage& i) { return ops::contrast(i, 50); }, qRgb(100, 155, 127),
         qRgb(78, 178, 127)},
        {"adjustRGB shifts and clamps",
         [](const QImage& i) { return ops::adjustRGB(i, 100, -100, 20); }, qRgb(200, 50, 128),
         qRgb(255, 0, 179)},
        {"adjustRGB -40", [](const QImage& i) { return ops::adjustRGB(i, -40, 0, 0); },
         qRgb(200, 50, 128), qRgb(98, 50, 128)},
        {"parabolic concave", [](const QImage& i) { return ops::parabolic(i, true); },
         qRgb(0, 128, 255), qRgb(0, 255, 0)},
        {"parabolic convex", [](const QImage& i) { return ops::parabolic(i, false); },
         qRgb(0, 128, 255), qRgb(255, 0, 255)},
        {"parabolic concave quarter", [](const QImage& i) { return ops::parabolic(i, true); },
         qRgb(64, 191, 32), qRgb(192, 192, 112)},
        {"hue +120: red to green", [](const QImage& i) { return ops::adjustHSL(i, 120, 0, 0); },
         qRgb(255, 0, 0), qRgb(0, 255, 0)},
        {"hue -120: red to blue", [](const QImage& i) { return ops::adjustHSL(i, -120, 0, 0); },
         qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {"hue 480 is 120", [](const QImage& i) { return ops::adjustHSL(i, 480, 0, 0); },
         qRgb(200, 40, 40), qRgb(40, 200, 40)},
        {"saturation -100 gives grey",
         [](const QImage& i) { return ops::adjustHSL(i, 0, -100, 0); }, qRgb(200, 40, 40),
         qRgb(120, 120, 120)},
        {"saturation +100 gives full colour",
         [](const QImage& i) { return ops::adjustHSL(i, 0, 100, 0); }, qRgb(150, 100, 100),
         qRgb(250, 0, 0)},
        {"luminance +100 gives white", [](const QImage& i) { return ops::adjustHSL(i, 0, 0, 100); },
         qRgb(10, 200, 90), qRgb(255, 255, 255)},
        {"luminance -50", [](const QImage& i) { return ops::adjustHSL(i, 0, 0, -50); },
         qRgb(255, 0, 0), qRgb(128, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(applied(c.op, c.in), c.out & 0xffffffu)
            << std::hex << applied(c.op, c.in) << " expected " << (c.out & 0xffffffu);
    }
}

TEST(Tone, NeutralAmountsAndDoubleNegationChangeNothing) {
    const QImage src = dovi::test::makeTestPattern(37, 23, true);
    const struct {
        const char* name;
        std::function<QImage(const QImage&)> op;
    } cases[] = {
        {"negate twice", [](const QImage& i) { return ops::negate(ops::negate(i)); }},
        {"brightness 0", [](const QImage& i) { return ops::brightness(i, 0); }},
        {"contrast 0", [](const QImage& i) { return ops::contrast(i, 0); }},
        {"adjustRGB 0", [](const QImage& i) { return ops::adjustRGB(i, 0, 0, 0); }},
        {"adjustHSL 0", [](const QImage& i) { return ops::adjustHSL(i, 0, 0, 0); }},
        {"adjustHSL full turn", [](const QImage& i) { return ops::adjustHSL(i, 360, 0, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(dovi::test::samePixels(src, c.op(src)));
    }
    // A hue turn and back goes through floating point: within a level.
    EXPECT_LE(dovi::test::maxChannelDifference(
                  src, ops::adjustHSL(ops::adjustHSL(src, 70, 0, 0), -70, 0, 0)),
              1);
}

TEST(Tone, AutoContrastStretchesToTheFullRangeAndKeepsBalance) {
    // Levels 100..150 only: the stretch maps 100 to black and 150 to white.
    QImage src(51, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 51; ++x)
            src.setPixel(x, y, qRgb(100 + x, 150 - x, 130));
    const QImage out = ops::autoContrast(src);
    EXPECT_EQ(out.pixel(0, 0) & 0xffffffu, qRgb(0, 255, 153) & 0xffffffu);
    EXPECT_EQ(out.pixel(50, 3) & 0xffffffu, qRgb(255, 0, 153) & 0xffffffu);

    // A few outliers (under 0.5% of the samples) do not hold the stretch back.
    QImage speckled = src.copy();
    speckled.setPixel(3, 1, qRgb(0, 0, 0));
    speckled.setPixel(7, 2, qRgb(255, 255, 255));
    EXPECT_LE(dovi::test::maxChannelDifference(ops::autoContrast(speckled).copy(10, 0, 30, 1),
                                               out.copy(10, 0, 30, 1)),
              0);

    // Already spanning 0..255, or a single level: unchanged.
    QImage full(2, 2, QImage::Format_RGB32);
    full.setPixel(0, 0, qRgb(0, 0, 0));
    full.setPixel(1, 0, qRgb(255, 255, 255));
    full.setPixel(0, 1, qRgb(30, 60, 90));
    full.setPixel(1, 1, qRgb(200, 100, 0));
    EXPECT_TRUE(dovi::test::samePixels(full, ops::autoContrast(full)));
    QImage grey(5, 5, QImage::Format_RGB32);
    grey.fill(qRgb(90, 90, 90));
    EXPECT_TRUE(dovi::test::samePixels(grey, ops::autoContrast(grey)));
}

TEST(Tone, BrightnessAndContrastAreMonotonic) {
    // Every level keeps its order under any amount: no wrap-around anywhere.
    QImage ramp(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        ramp.setPixel(x, 0, qRgb(x, x, x));
    for (const int amount : {-100, -60, -5, 5, 60, 100}) {
        for (const auto& op : {ops::brightness, ops::contrast}) {
            const QImage out = op(ramp, amount);
            for (int x = 1; x < 256; ++x)
                ASSERT_GE(qRed(out.pixel(x, 0)), qRed(out.pixel(x - 1, 0)))
                    << "amount " << amount << " level " << x;
        }
        const QImage brighter = ops::brightness(ramp, amount);
        EXPECT_EQ(qRed(brighter.pixel(128, 0)) > 128, amount > 0) << amount;
    }
}
