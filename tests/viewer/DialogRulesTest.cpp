// The arithmetic of the resample and rotate dialogs and the tone dialogs' trials.
#include "viewer/GeometryRules.h"
#include "viewer/LatestOnly.h"
#include "viewer/TrialSession.h"

#include "imaging/ImagingEngine.h"

#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QCoreApplication>

namespace dovi::viewer {
namespace {

using test::makeTestPattern;
using test::samePixels;

TEST(ResampleRules, MaxValsKeepTheLongerSideAt32767) {
    const auto max = [](int w, int h) {
        const MaxVals m = determineMaxVals(w, h);
        return QSize(m.maxWidth, m.maxHeight);
    };
    // 32767 / 4 * 3 = 24575.25; a square takes the second branch.
    EXPECT_EQ(QList({max(4, 3), max(3, 4), max(50, 50)}),
              QList({QSize(32767, 24575), QSize(24575, 32767), QSize(32767, 32767)}));
}

TEST(ResampleRules, TypingFollowsTheAspectAndTheLimits) {
    const QSize picture(4, 3);
    const MaxVals max = determineMaxVals(4, 3);
    const struct {
        SizeBoxes before;
        bool widthBox, aspect;
        SizeBoxes after;
    } cases[] = {
        {{"40000", ""}, true, true, {"32767", "24575"}}, // clamped, height in proportion
        {{"", "30"}, false, true, {"40", "30"}},
        {{"12.6", ""}, true, true, {"12.6", "10"}}, // 13 wide rounds to 9.75 -> 10
        {{"120", ""}, true, false, {"120", "120"}}, // no aspect: copied into the empty box
        {{"12a", "5"}, true, true, {"", ""}},       // not a number: both emptied
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeBoxTyped(c.before, c.widthBox, picture, max, c.aspect), c.after)
            << c.before.width.toStdString() << " / " << c.before.height.toStdString();
}

TEST(DialogNumbers, CustomSizeNeedsTwoPositiveNumbersAndDegreesAreRoundedOrZero) {
    EXPECT_EQ(customSize({"640", "480.4"}), QSize(640, 480));
    for (const SizeBoxes& bad :
         {SizeBoxes{"", "480"}, SizeBoxes{"640", ""}, SizeBoxes{"0", "480"}, SizeBoxes{"-10", "-5"},
          SizeBoxes{"abc", "4"}, SizeBoxes{"1e300", "4"}})
        EXPECT_FALSE(customSize(bad)) << bad.width.toStdString();
    QList<int> degrees;
    for (const char* text : {"90", " 44.6 ", "-30", "", "left", "1e300"})
        degrees << rotationDegrees(text);
    EXPECT_EQ(degrees, QList({90, 45, -30, 0, 0, 0}));
}

struct TrialFixture : ::testing::Test {
    imaging::ImagingEngine engine;
    test::ScriptedUi ui;
    const QImage original = makeTestPattern(64, 48);
    imaging::Image image() const {
        imaging::Image i;
        i.pixels = original;
        i.format = imaging::Bmp;
        return i;
    }
    void SetUp() override { engine.setImage(image()); }
    QImage brightened(int amount) {
        imaging::ImagingEngine other;
        other.setImage(image());
        other.brightness(amount);
        return other.pixels();
    }
};

TEST_F(TrialFixture, EachTrialStartsFromThePictureAsTheDialogOpenedAndAFailedOneLeavesNoUndo) {
    TrialSession session(engine, ui);
    int amount = 40;
    ASSERT_TRUE(session.tryAmount(AdjustMode::Bright, amount));
    amount = -20;
    ASSERT_TRUE(session.tryAmount(AdjustMode::Bright, amount));
    EXPECT_TRUE(samePixels(brightened(-20), engine.pixels()));
    session.discard();
    EXPECT_TRUE(samePixels(original, engine.pixels()));

    TrialSession failing(engine, ui);
    ASSERT_TRUE(failing.tryAmount(AdjustMode::Bright, amount));
    engine.release(); // nothing to work on: the next trial fails
    EXPECT_FALSE(failing.tryAmount(AdjustMode::Bright, amount));
    EXPECT_FALSE(failing.previewed());
    EXPECT_FALSE(failing.keep());
}

TEST_F(TrialFixture, OkayKeepsTheTrialCancelWithoutOneChangesNothingAndZeroSharpensByOne) {
    TrialSession untouched(engine, ui);
    untouched.discard(); // no trial: no undo either
    EXPECT_TRUE(samePixels(original, engine.pixels()));
    EXPECT_FALSE(untouched.keep());

    TrialSession session(engine, ui);
    ASSERT_TRUE(session.tryHsl(10, -20, 5));
    ASSERT_TRUE(session.tryRgb(0, 30, 0));
    const QImage tried = engine.pixels();
    EXPECT_TRUE(session.keep());
    EXPECT_TRUE(samePixels(tried, engine.pixels()));
    engine.undo(); // the viewer's Undo takes the whole adjustment back
    EXPECT_TRUE(samePixels(original, engine.pixels()));
    // Sharpen and Soften run with one for zero; Blend does not.
    for (AdjustMode mode : {AdjustMode::Sharp, AdjustMode::Soft}) {
        TrialSession session(engine, ui);
        int amount = 0;
        ASSERT_TRUE(session.tryAmount(mode, amount));
        EXPECT_EQ(amount, 1);
        session.discard();
    }
    int blend = 0;
    TrialSession(engine, ui).tryAmount(AdjustMode::Blend, blend);
    EXPECT_EQ(blend, 0);
}

TEST(LatestOnly, MovesWhileBusyCollapseIntoTheNewest) {
    LatestOnly latest;
    QList<int> ran;
    for (int v : {1, 2, 3})
        latest.post([&ran, v] { ran << v; });
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, QList<int>({3}));
    latest.post([&ran] { ran << 4; });
    latest.flush();
    latest.post([&ran] { ran << 5; });
    latest.drop();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, QList<int>({3, 4}));
}

} // namespace
} // namespace dovi::viewer
