#include "imaging/ops/Tone.h"
#include "imaging/ops/HslRows.h"
#include "support/ImagingSupport.h"

namespace ops = dovi::imaging::ops;

namespace dovi::test {

namespace {

using Op = std::function<QImage(const QImage&)>;

// An operation with its amounts bound, e.g. bound(ops::adjustRGB, 10, 0, -5).
template <typename F, typename... Amounts> Op bound(F f, Amounts... amounts) {
    return [=](const QImage& i) { return f(i, amounts...); };
}
const auto brightness = [](int amount) { return bound(ops::brightness, amount); };
const auto contrast = [](int amount) { return bound(ops::contrast, amount); };
const auto rgb = [](int r, int g, int b) { return bound(ops::adjustRGB, r, g, b); };
const auto hsl = [](int h, int s, int l) { return bound(ops::adjustHSL, h, s, l); };
const auto parabolic = [](bool concave) { return bound(ops::parabolic, concave); };

} // namespace

TEST(Tone, MapsKnownLevelsAndClampsAtTheEnds) {
    const struct {
        const char* name;
        Op op;
        QRgb in, out;
    } cases[] = {
        {"negate", ops::negate, qRgb(0, 100, 255), qRgb(255, 155, 0)},
        {"brightness +100", brightness(100), qRgb(0, 90, 200), qRgb(255, 255, 255)},
        {"brightness +50", brightness(50), qRgb(0, 100, 255), qRgb(128, 178, 255)},
        {"brightness -50", brightness(-50), qRgb(0, 100, 255), qRgb(0, 50, 128)},
        {"contrast -100 gives grey", contrast(-100), qRgb(0, 90, 255), qRgb(128, 128, 128)},
        {"contrast +100 saturates", contrast(100), qRgb(250, 5, 128), qRgb(255, 0, 133)},
        {"contrast +50", contrast(50), qRgb(100, 155, 127), qRgb(78, 178, 127)},
        {"adjustRGB shifts and clamps", rgb(100, -100, 20), qRgb(200, 50, 128), qRgb(255, 0, 179)},
        {"parabolic concave", parabolic(true), qRgb(0, 128, 255), qRgb(0, 255, 0)},
        {"parabolic convex", parabolic(false), qRgb(0, 128, 255), qRgb(255, 0, 255)},
        {"hue +120: red to green", hsl(120, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)},
        {"hue -120: red to blue", hsl(-120, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {"saturation -100 gives grey", hsl(0, -100, 0), qRgb(200, 40, 40), qRgb(120, 120, 120)},
        {"saturation +100 gives full colour", hsl(0, 100, 0), qRgb(150, 100, 100), qRgb(250, 0, 0)},
        {"luminance +100 gives white", hsl(0, 0, 100), qRgb(10, 200, 90), qRgb(255, 255, 255)},
        {"luminance -50", hsl(0, 0, -50), qRgb(255, 0, 0), qRgb(128, 0, 0)},
    };
    for (const auto& c : cases) {
        const QRgb got = c.op(paint(1, 1, [&](int, int) { return c.in; })).pixel(0, 0);
        EXPECT_EQ(got & 0xffffffu, c.out & 0xffffffu)
            << c.name << ": " << std::hex << got << " expected " << c.out;
    }
}

TEST(Tone, NeutralAmountsAndDoubleNegationChangeNothing) {
    const QImage src = makeTestPattern(37, 23, true);
    const struct {
        const char* name;
        Op op;
    } cases[] = {
        {"negate twice", [](const QImage& i) { return ops::negate(ops::negate(i)); }},
        {"brightness 0", brightness(0)},
        {"contrast 0", contrast(0)},
        {"adjustRGB 0", rgb(0, 0, 0)},
        {"adjustHSL 0", hsl(0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(samePixels(src, c.op(src))) << c.name;
    // A hue turn and back goes through floating point: within a level.
    EXPECT_LE(maxChannelDifference(src, hsl(-70, 0, 0)(hsl(70, 0, 0)(src))), 1);
}

TEST(Tone, AutoContrastStretchesToTheFullRangeAndKeepsBalance) {
    // Levels 100..150 only: the stretch maps 100 to black and 150 to white.
    const QImage src = paint(51, 4, [](int x, int) { return qRgb(100 + x, 150 - x, 130); });
    const QImage out = ops::autoContrast(src);
    EXPECT_EQ(out.pixel(0, 0) & 0xffffffu, qRgb(0, 255, 153) & 0xffffffu);
    EXPECT_EQ(out.pixel(50, 3) & 0xffffffu, qRgb(255, 0, 153) & 0xffffffu);

    // A few outliers (under 0.5% of the samples) do not hold the stretch back.
    QImage speckled = src.copy();
    speckled.setPixel(3, 1, qRgb(0, 0, 0));
    speckled.setPixel(7, 2, qRgb(255, 255, 255));
    EXPECT_TRUE(samePixels(out.copy(10, 0, 30, 1), ops::autoContrast(speckled).copy(10, 0, 30, 1)));

    // Already spanning 0..255, or a single level: unchanged.
    const QRgb corners[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(30, 60, 90),
                            qRgb(200, 100, 0)};
    const QImage full = paint(2, 2, [&](int x, int y) { return corners[y * 2 + x]; });
    EXPECT_TRUE(samePixels(full, ops::autoContrast(full)));
    const QImage grey = paint(5, 5, [](int, int) { return qRgb(90, 90, 90); });
    EXPECT_TRUE(samePixels(grey, ops::autoContrast(grey)));
}

// Every vector HSL loop (four or eight pixels at a time, branches turned into
// selections) gives the scalar code's levels for every colour it meets: a
// lattice through the whole cube, with rows of every length mod 8.
TEST(Tone, HslVectorLoopMatchesTheScalarCode) {
    std::vector<QRgb> colours;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 7)
                colours.push_back(qRgba(r, g, b, (r + g) % 256));
    for (const int v : {0, 1, 127, 128, 254, 255}) // greys and near-greys
        colours.insert(colours.end(), {qRgb(v, v, v), qRgb(v, v, 255 - v), qRgb(255, v, v)});
    const imaging::ops::detail::HslChange changes[] = {
        {40 / 360.0, -0.2, 0.1},    {-120 / 360.0, 0, 0}, {0, 1, 0},           {0, 0, -0.5},
        {359 / 360.0, 0.37, -0.63}, {-0.5, -1, 1},        {0.001, 0.01, -0.01}};
    for (const auto& change : changes) {
        SCOPED_TRACE(testing::Message()
                     << change.turn << " " << change.saturation << " " << change.luminance);
        using imaging::ops::detail::HslLoop;
        for (const HslLoop loop : {HslLoop::Best, HslLoop::Plain, HslLoop::Avx2, HslLoop::Avx512}) {
            if (!imaging::ops::detail::hslLoopAvailable(loop))
                continue;
            for (const int length : {int(colours.size()), 11, 5, 3, 1}) {
                std::vector<QRgb> out(static_cast<std::size_t>(length));
                imaging::ops::detail::changeHslRow(colours.data(), out.data(), length, change,
                                                   loop);
                for (int i = 0; i < length; ++i)
                    ASSERT_EQ(out[std::size_t(i)],
                              imaging::ops::detail::changeHsl(colours[std::size_t(i)], change))
                        << "loop " << int(loop) << ", colour " << std::hex
                        << colours[std::size_t(i)];
            }
        }
    }
}

} // namespace dovi::test
