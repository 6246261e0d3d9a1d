#include "imaging/ops/ColourCount.h"
#include "imaging/ops/Effects.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/Resample.h"
#include "imaging/ops/Rotate.h"
#include "imaging/ops/Tone.h"

#include "support/TestSupport.h"

#include <functional>

namespace ops = dovi::imaging::ops;
using dovi::test::makeTestPattern;
using dovi::test::samePixels;

namespace {

struct Op {
    const char* name;
    std::function<QImage(const QImage&)> run;
    bool colourOnly; // alpha and the pixel layout must come through untouched
    QSize size = {}; // of the result from the 31 x 27 test picture; empty: the same
};

const Op kOps[] = {
    {"flip", ops::flip, false},
    {"mirror", ops::mirror, false},
    {"rotate 90", [](const QImage& i) { return ops::rotate(i, 90); }, false, {27, 31}},
    {"rotate 180", [](const QImage& i) { return ops::rotate(i, 180); }, false},
    {"rotate 33", [](const QImage& i) { return ops::rotate(i, 33); }, false, {41, 40}},
    {"crop", [](const QImage& i) { return ops::crop(i, 2, 3, 20, 10); }, false, {20, 10}},
    {"resample", [](const QImage& i) { return ops::resample(i, 19, 41); }, false, {19, 41}},
    {"resample up", [](const QImage& i) { return ops::resample(i, 97, 80); }, false, {97, 80}},
    {"perspective", [](const QImage& i) { return ops::perspective(i, 3, 70); }, false},
    {"negate", ops::negate, true},
    {"parabolic", [](const QImage& i) { return ops::parabolic(i, true); }, true},
    {"brightness", [](const QImage& i) { return ops::brightness(i, 30); }, true},
    {"contrast", [](const QImage& i) { return ops::contrast(i, -30); }, true},
    {"autoContrast", ops::autoContrast, true},
    {"adjustHSL", [](const QImage& i) { return ops::adjustHSL(i, 40, -20, 10); }, true},
    {"adjustRGB", [](const QImage& i) { return ops::adjustRGB(i, 10, -20, 30); }, true},
    {"emboss", ops::emboss, true},
    {"median", ops::median, true},
    {"dilate", ops::dilate, true},
    {"sharpen", [](const QImage& i) { return ops::sharpen(i, 5); }, true},
    {"soften", [](const QImage& i) { return ops::soften(i, 5); }, true},
    {"blend", [](const QImage& i) { return ops::blend(i, 50); }, true},
    {"buttonize", [](const QImage& i) { return ops::buttonize(i, true, 4, 60); }, true},
};

} // namespace

// Bands of rows on several threads give exactly the one-thread result, however
// the rows are split (more bands than cores, and bands of one or two rows).
TEST(OpsContract, KeepFormatAndSizeAndLeaveAlphaAloneInAnyBanding) {
    for (const bool withAlpha : {false, true}) {
        const QImage src = makeTestPattern(31, 27, withAlpha);
        for (const Op& op : kOps) {
            SCOPED_TRACE(testing::Message() << op.name << (withAlpha ? " ARGB32" : " RGB32"));
            const QImage out = [&] {
                const ops::ScopedBands one(1);
                return op.run(src);
            }();
            ASSERT_FALSE(out.isNull());
            for (const int bands : {2, 3, 16}) {
                const ops::ScopedBands scoped(bands);
                EXPECT_TRUE(samePixels(out, op.run(src))) << bands << " bands";
            }
            EXPECT_EQ(out.format(), src.format());
            EXPECT_EQ(out.size(), op.size.isEmpty() ? src.size() : op.size);
            // (RGB32 pixels read as opaque whatever is stored, so the format
            // check covers staying opaque.)
            EXPECT_TRUE(!op.colourOnly || out.convertToFormat(QImage::Format_Alpha8) ==
                                              src.convertToFormat(QImage::Format_Alpha8));
        }
    }
}

TEST(OpsContract, NullAndForeignPicturesGiveNull) {
    const QImage foreign = makeTestPattern(8, 8).convertToFormat(QImage::Format_RGB888);
    const QImage premultiplied =
        makeTestPattern(8, 8, true).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (const Op& op : kOps) {
        SCOPED_TRACE(op.name);
        EXPECT_TRUE(op.run(QImage()).isNull());
        EXPECT_TRUE(op.run(foreign).isNull());
        EXPECT_TRUE(op.run(premultiplied).isNull());
    }
    EXPECT_EQ(ops::uniqueColours(foreign), 0);
}
