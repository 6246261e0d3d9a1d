#include "imaging/ops/Effects.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Rotate.h"
#include "support/ImagingSupport.h"

namespace ops = dovi::imaging::ops;
using ops::Recede;

namespace dovi::test {

TEST(Effects, ButtonizeShadesEachBand) {
    // Grey 100 at intensity 50: light = 100 + 155 / 2 = 178, dark = 50.
    const QImage src = paint(10, 8, [](int, int) { return qRgb(100, 100, 100); });
    const struct {
        QPoint at;
        int raised, inset;
    } cases[] = {
        {{0, 4}, 178, 50},  // left band
        {{1, 4}, 178, 50},  // still inside the 2-pixel band
        {{2, 4}, 100, 100}, // just past it
        {{4, 0}, 178, 50},  // top
        {{9, 4}, 50, 178},  // right
        {{4, 7}, 50, 178},  // bottom
        {{4, 6}, 50, 178},  // still inside the 2-pixel bottom band
        {{4, 5}, 100, 100}, // just past it
        {{9, 0}, 178, 50},  // top-right corner: the tie goes to the top band
        {{8, 0}, 178, 50},  // nearer the top than the right edge
        {{9, 1}, 50, 178},  // nearer the right edge
        {{0, 7}, 178, 50},  // bottom-left corner: the tie goes to the left band
        {{5, 4}, 100, 100}, // middle untouched
    };
    const QImage raised = ops::buttonize(src, true, 2, 50);
    const QImage inset = ops::buttonize(src, false, 2, 50);
    for (const auto& c : cases) {
        EXPECT_EQ(qRed(raised.pixel(c.at)), c.raised) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(qRed(inset.pixel(c.at)), c.inset) << c.at.x() << "," << c.at.y();
    }
    // Width beyond half the picture covers it all without reaching past it.
    const QImage all = ops::buttonize(src, true, 100, 100);
    EXPECT_EQ(qRed(all.pixel(2, 2)), 255);
    EXPECT_EQ(qRed(all.pixel(7, 6)), 0);
}

TEST(Effects, PerspectiveNarrowsTheFarEdgeAndForeshortens) {
    // Top half blue, bottom half yellow.
    const QImage src =
        paint(40, 40, [](int, int y) { return y < 20 ? qRgb(0, 0, 255) : qRgb(255, 255, 0); });
    const QImage out = ops::perspective(src, int(Recede::TopToBottom), 100, qRgb(0, 0, 0));
    ASSERT_EQ(out.size(), src.size());
    // The far (bottom) edge is half as wide: its outer quarters are background.
    EXPECT_EQ(out.pixel(0, 39), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(8, 39), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(39, 39), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(20, 39), qRgb(255, 255, 0));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255)); // the near edge is full width
    // Projection, not a plain trapezoid: the source's middle row appears two
    // thirds of the way down, not halfway.
    EXPECT_EQ(out.pixel(20, 24), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(20, 28), qRgb(255, 255, 0));
}

TEST(Effects, PerspectiveDirectionsAreOneEffectTurned) {
    const QImage src = makeTestPattern(24, 24, true);
    auto persp = [](const QImage& i, Recede r) { return ops::perspective(i, int(r), 60); };
    EXPECT_LE(maxChannelDifference(ops::flip(persp(ops::flip(src), Recede::TopToBottom)),
                                   persp(src, Recede::BottomToTop)),
              1);
    EXPECT_LE(maxChannelDifference(ops::mirror(persp(ops::mirror(src), Recede::LeftToRight)),
                                   persp(src, Recede::RightToLeft)),
              1);
    EXPECT_LE(
        maxChannelDifference(ops::rotate(persp(ops::rotate(src, 90), Recede::TopToBottom), -90),
                             persp(src, Recede::LeftToRight)),
        1);
    EXPECT_GT(maxChannelDifference(persp(src, Recede::TopToBottom), src), 50);
}

TEST(Effects, NeutralAmountsAndBadDirections) {
    const QImage src = makeTestPattern(16, 12, true);
    EXPECT_TRUE(samePixels(src, ops::perspective(src, 2, 0)));
    EXPECT_TRUE(samePixels(src, ops::buttonize(src, true, 0, 80)));
    EXPECT_TRUE(samePixels(src, ops::buttonize(src, false, 5, 0)));
    EXPECT_TRUE(ops::perspective(src, 4, 50).isNull());
    EXPECT_TRUE(ops::perspective(src, -1, 50).isNull());
}

} // namespace dovi::test
