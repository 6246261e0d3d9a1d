#include "batch/FitRule.h"
#include "batch/OutputNaming.h"

#include "TestSupport.h"

using namespace dovi::batch;

TEST(FitRule, ScalingFollowsTheBoxTheModeAndRoundsHalvesToEven) {
    const struct {
        QSize image, box;
        bool convertOnly, upDown;
        QSize expected; // invalid: no scaling
    } cases[] = {
        {{1600, 1200}, {800, 600}, false, false, {800, 600}},
        {{1000, 2000}, {800, 600}, false, false, {300, 600}},
        {{640, 480}, {800, 600}, false, false, {}},
        {{640, 480}, {800, 600}, false, true, {800, 600}},
        {{800, 600}, {800, 600}, false, false, {}},
        {{4000, 3000}, {800, 600}, true, true, {}},
        {{200, 103}, {100, 100}, false, false, {100, 52}}, // 51.5 rounds to even 52
        {{30000, 1}, {100, 100}, false, false, {100, 1}},  // never below one pixel
    };
    for (const auto& c : cases)
        EXPECT_EQ(scalingFor(c.image, c.box, c.convertOnly, c.upDown).value_or(QSize()), c.expected)
            << c.image.width() << "x" << c.image.height();
}

TEST(OutputNaming, AlternateNamesCutAtTheFirstDotOfTheNameOnly) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"/img/photo.final.bmp", 0, "/img/photo.jpg"},
        {"/img/a.jpg", 1, "/img/a.bmp"},
        {"/my.pics/noext", 2, "/my.pics/noext.tga"},
        {"/img/.hidden.jpg", 3, "/img/.pcx"},
        {"/img/a.JPG", 4, "/img/a.png"},
    };
    for (const auto& [source, format, expected] : cases)
        EXPECT_EQ(alternateSavePath(source, format).path, expected) << source;
}
