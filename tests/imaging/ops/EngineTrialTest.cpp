#include "imaging/ImagingEngine.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Tone.h"
#include "support/ImagingSupport.h"

namespace ops = dovi::imaging::ops;
using dovi::imaging::Image;
using dovi::imaging::ImagingEngine;

namespace dovi::test {

namespace {

ImagingEngine engineWith(const QImage& pixels) {
    Image image;
    image.pixels = pixels;
    ImagingEngine engine;
    engine.setImage(image);
    return engine;
}

} // namespace

// A dialog's slider: every move undoes the previous trial and applies the new
// amount, so the picture shown is always the new amount applied once to the
// picture the dialog opened on. Undo hands back the very buffer it kept.
TEST(EngineTrial, EachTrialStartsFromTheOpeningPictureAndUndoSwapsBuffers) {
    const QImage original = makeTestPattern(64, 40);
    const struct {
        const char* name;
        std::function<bool(ImagingEngine&, int)> trial;
        std::function<QImage(const QImage&, int)> op;
    } cases[] = {
        {"brightness", [](ImagingEngine& e, int v) { return e.brightness(v); }, ops::brightness},
        {"blend", [](ImagingEngine& e, int v) { return e.blend(v); }, ops::blend},
        {"adjustHSL", [](ImagingEngine& e, int v) { return e.adjustHSL(v, v / 2, -v / 3); },
         [](const QImage& i, int v) { return ops::adjustHSL(i, v, v / 2, -v / 3); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImagingEngine engine = engineWith(original.copy());
        const uchar* opened = engine.pixels().constBits();
        ASSERT_TRUE(c.trial(engine, 40));
        for (const int amount : {-20, 70, 5}) {
            ASSERT_TRUE(engine.undo());
            EXPECT_EQ(engine.pixels().constBits(), opened) << "undo copied the picture";
            ASSERT_TRUE(c.trial(engine, amount));
            EXPECT_TRUE(samePixels(c.op(original, amount), engine.pixels())) << amount;
        }
        ASSERT_TRUE(engine.undo());
        EXPECT_TRUE(samePixels(original, engine.pixels()));
        EXPECT_FALSE(engine.canUndo());
    }
}

} // namespace dovi::test
