#include "slideshow/SlideShow.h"
#include "slideshow/SlideFit.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using namespace dovi::slideshow;
using namespace dovi::test;

namespace {
const QSize kScreen(1024, 768);
constexpr int kLabel = 13;
} // namespace

TEST(SlideFit, ShrinksToTheLimitingSideCentresAndNeverEnlarges) {
    const struct {
        QSize image, shown;
        QPointF position;
    } cases[] = {
        // A = 768 - 2.5 * 13 = 735.5: height-limited, 735.5 goes to 736.
        {{4000, 3000}, {981, 736}, {21.5, 16}},
        {{640, 480}, {640, 480}, {192, 144}},
        {{2000, 500}, {1024, 256}, {0, 256}},
        {{1024, 735}, {1024, 735}, {0, 16.5}},
    };
    for (const auto& c : cases) {
        const QSize shown = fitToScreen(c.image, kScreen, kLabel);
        EXPECT_EQ(std::pair(shown, slidePosition(shown, kScreen)), std::pair(c.shown, c.position))
            << c.image.width() << "x" << c.image.height();
    }
    // A caption taller than the screen still leaves a one-row picture.
    EXPECT_EQ(fitToScreen({100, 100}, {50, 20}, 40).height(), 1);
}

TEST(SlideFit, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {736.5, 736}, {-1.5, -2}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(Jumble, DrawsUniformlyFromTheEntriesLeftAndEmptiesTheList) {
    ScriptedUi ui;
    const QStringList files = {"a", "b", "c", "d"};
    const struct {
        std::vector<double> draws;
        QStringList order;
    } cases[] = {
        // floor(4 * 0.5) = 2 -> c; floor(3 * 0.4) = 1 -> b; floor(2 * 0.5) = 1 -> d.
        {{0.5, 0.4, 0.5, 0}, {"c", "b", "d", "a"}},
        // A generator that reaches 1 stays within the list.
        {{1.0, 1.0, 1.0, 1.0}, {"d", "c", "b", "a"}},
    };
    for (const auto& c : cases) {
        QStringList actionList = files;
        size_t next = 0;
        EXPECT_EQ(jumbleFiles(ui, actionList, [&] { return c.draws.at(next++); }), c.order);
        EXPECT_TRUE(actionList.isEmpty());
    }
    QStringList left = files, order = jumbleFiles(ui, left); // the real generator
    order.sort();
    EXPECT_EQ(order, files);
}

namespace {

struct SlideShowFixture : PicturesFixture {
    SlideScreen screen{kScreen, kLabel};
    ShowOptions options;
    // a.bmp 40x30, note.txt (not a picture), b.bmp 20x10, c.bmp 30x30.
    void SetUp() override {
        PicturesFixture::SetUp();
        writeImage(pic("a.bmp"), {40, 30}, imaging::Bmp);
        writeFile(pic("note.txt"), "not a picture");
        writeImage(pic("b.bmp"), {20, 10}, imaging::Bmp);
        writeImage(pic("c.bmp"), {30, 30}, imaging::Bmp);
    }
};

} // namespace

TEST_F(SlideShowFixture, UnshowableFilesArePassedOverWithinOneStepAndTheShowEnds) {
    SlideShow show(screen);
    ASSERT_TRUE(show.start(ui, paths({"a.bmp", "note.txt", "b.bmp"}), options));
    EXPECT_EQ(show.captionText(),
              "Current Slide -->     " + pic("a.bmp") + "     X(40)     Y(30)     (1 of 3)");
    ASSERT_TRUE(show.step(ui));
    EXPECT_EQ(std::tuple(show.current().path, show.captionText().right(8), show.slidesShown()),
              std::tuple(pic("b.bmp"), QString("(3 of 3)"), 2));
    EXPECT_FALSE(show.step(ui)) << "a show that does not loop ends after its last slide";
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(SlideShowFixture, ARandomShowReplaysItsOrderWhenItLoops) {
    options.random = options.loop = true;
    SlideShow show(screen);
    const double draws[] = {0.9, 0.0, 0.6};
    size_t next = 0;
    ASSERT_TRUE(
        show.start(ui, paths({"a.bmp", "b.bmp", "c.bmp"}), options, [&] { return draws[next++]; }));
    QStringList seen = {show.current().path};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(show.step(ui));
        seen << show.current().path;
    }
    // 0.9 of 3 -> c, then 0 of {a, b} -> a, then b.
    const QStringList once = paths({"c.bmp", "a.bmp", "b.bmp"});
    EXPECT_EQ(seen, once + once);
}

TEST_F(SlideShowFixture, NothingShowableSaysSoAndTheCaptionFollowsTheSetting) {
    SlideShow show(screen);
    EXPECT_FALSE(show.start(ui, paths({"note.txt", "missing.jpg"}), options));
    EXPECT_EQ(ui.prompts, Prompts{warning("No images were found!")});

    std::tie(options.showFileName, options.intervalSeconds) = std::tuple(false, 0);
    ASSERT_TRUE(show.start(ui, paths({"c.bmp"}), options));
    EXPECT_EQ(std::pair(show.captionText(), show.timerPeriod()), std::pair(QString(), 0))
        << "a zero interval runs no timer";
}

TEST_F(SlideShowFixture, ALargeJpegIsDecodedSmallAndFittedWithTheFactsOfTheFile) {
    writeImage(pic("big.jpg"), {3000, 2000}, imaging::Jpeg);
    const auto slide = prepareSlide(pic("big.jpg"), screen);
    ASSERT_TRUE(slide);
    EXPECT_EQ(
        std::tuple(slide->picture.size(), QSize(slide->width, slide->height), slide->position),
        std::tuple(QSize(1024, 683), QSize(3000, 2000), QPointF(0, 42.5)));
}
