#include "imaging/ops/Filters.h"
#include "imaging/ops/Resample.h"
#include "support/ImagingSupport.h"

#include <array>
#include <random>
#include <string>

namespace ops = dovi::imaging::ops;

namespace dovi::test {

namespace {

const auto flat = [](int w, int h, QRgb colour) {
    return paint(w, h, [=](int, int) { return colour; });
};
const auto grey = [](const QImage& img, int x, int y) { return qGreen(img.pixel(x, y)); };

// Left part dark, right part light, split at column `at`.
QImage step(int w, int h, int at, int dark, int light) {
    return paint(w, h,
                 [=](int x, int) { return 0xff000000u | 0x010101u * (x < at ? dark : light); });
}

// Median per channel over the 3x3 neighbourhood, edges repeated, by sorting.
QImage bruteMedian(const QImage& src) {
    const auto median = [&](int x, int y) {
        std::array<std::array<int, 9>, 3> v{};
        for (std::size_t n = 0; n < 9; ++n) {
            const QRgb p = src.pixel(std::clamp(x + int(n % 3) - 1, 0, src.width() - 1),
                                     std::clamp(y + int(n / 3) - 1, 0, src.height() - 1));
            v[0][n] = qRed(p), v[1][n] = qGreen(p), v[2][n] = qBlue(p);
        }
        for (auto& c : v)
            std::nth_element(c.begin(), c.begin() + 4, c.end());
        return qRgba(v[0][4], v[1][4], v[2][4], qAlpha(src.pixel(x, y)));
    };
    return paint(src.width(), src.height(), median, src.hasAlphaChannel());
}

} // namespace

TEST(Filters, MedianMatchesSortingAndRemovesSpecks) {
    std::mt19937 rng(11);
    const QImage noise = paint(
        23, 17, [&](int, int) { return QRgb(rng()); }, true);
    EXPECT_TRUE(samePixels(bruteMedian(noise), ops::median(noise)));

    QImage salted = flat(20, 20, qRgb(90, 120, 150));
    for (const QPoint p :
         {QPoint(0, 0), QPoint(5, 5), QPoint(12, 3), QPoint(19, 19), QPoint(8, 14)})
        salted.setPixel(p, qRgb(255, 255, 255));
    EXPECT_TRUE(samePixels(flat(20, 20, qRgb(90, 120, 150)), ops::median(salted)));
}

TEST(Filters, DilateGrowsALightDotToThreeByThree) {
    const struct {
        QPoint dot;
        QRect grown;
    } cases[] = {{{3, 3}, {2, 2, 3, 3}}, {{0, 0}, {0, 0, 2, 2}}, {{6, 2}, {5, 1, 2, 3}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dot.x() << "," << c.dot.y());
        const auto white = [](bool on) { return on ? qRgb(255, 255, 255) : qRgb(0, 0, 0); };
        const QImage out =
            ops::dilate(paint(7, 6, [&](int x, int y) { return white(QPoint(x, y) == c.dot); }));
        EXPECT_TRUE(samePixels(
            paint(7, 6, [&](int x, int y) { return white(c.grown.contains(x, y)); }), out));
    }
}

TEST(Filters, EdgesAreSoftenedSharpenedOrEmbossedByTheAmount) {
    const QImage edge = step(40, 9, 20, 80, 170);
    // Softening spreads the step: the pixel just left of it rises, the more
    // the larger the amount.
    EXPECT_GT(grey(ops::soften(edge, 10), 19, 4), grey(ops::soften(edge, 1), 19, 4));
    EXPECT_GT(grey(ops::soften(edge, 1), 19, 4), 80);
    EXPECT_GT(grey(ops::blend(edge, 100), 19, 4), grey(ops::blend(edge, 30), 19, 4));
    EXPECT_EQ(grey(ops::blend(edge, 100), 2, 4), 80); // far from the edge

    // Sharpening overshoots on both sides, more with a larger amount.
    int previous = 80;
    for (const int amount : {1, 5, 10}) {
        const QImage out = ops::sharpen(edge, amount);
        EXPECT_LT(grey(out, 19, 4), previous) << "sharpen " << amount;
        EXPECT_GT(grey(out, 20, 4), 170) << "sharpen " << amount;
        EXPECT_EQ(grey(out, 2, 4), 80);
        previous = grey(out, 19, 4);
    }

    // Emboss lights edges from the top left: dark to light going right, the
    // pixels along the edge come out light (+), the mirrored edge dark (-).
    const auto sides = [](const QImage& embossed) {
        std::string out;
        for (const int x : {1, 4, 5, 8})
            out += "-=+"[1 + (grey(embossed, x, 2) > 128) - (grey(embossed, x, 2) < 128)];
        return out;
    };
    EXPECT_EQ(sides(ops::emboss(step(10, 5, 5, 50, 150))), "=++=");
    EXPECT_EQ(sides(ops::emboss(step(10, 5, 5, 150, 50))), "=--=");
}

// Left half opaque red, right half fully transparent with a hidden green:
// averaging weighted by alpha in 8 bits (amplified by sharpening) leaves the
// red within a few levels of itself, and no green shows anywhere visible.
TEST(Filters, TransparentPixelsDoNotTintTheirNeighbours) {
    const QImage src = paint(
        40, 10, [](int x, int) { return x < 20 ? qRgba(200, 0, 0, 255) : qRgba(0, 255, 0, 0); },
        true);
    const struct {
        const char* name;
        QImage out;
    } cases[] = {
        {"soften", ops::soften(src, 10)},           {"blend", ops::blend(src, 100)},
        {"sharpen", ops::sharpen(src, 10)},         {"resample 13x7", ops::resample(src, 13, 7)},
        {"resample 3x2", ops::resample(src, 3, 2)}, {"resample 97x20", ops::resample(src, 97, 20)}};
    for (const auto& c : cases) {
        const bool sameSize = c.out.size() == src.size();
        for (int y = 0; y < c.out.height(); ++y)
            for (int x = 0; x < c.out.width(); ++x) {
                const QRgb p = c.out.pixel(x, y);
                EXPECT_TRUE(qAlpha(p) <= 8 || qGreen(p) == 0) << c.name << " " << x << "," << y;
                if (sameSize && x < 20) {
                    EXPECT_NEAR(qRed(p), 200, 3) << c.name << " " << x;
                    EXPECT_EQ(qAlpha(p), 255) << c.name << " " << x;
                }
            }
    }
}

} // namespace dovi::test
