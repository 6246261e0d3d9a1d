#include "imaging/ops/Effects.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/Resample.h"
#include "imaging/ops/Rotate.h"
#include "imaging/ops/Tone.h"
#include "support/ImagingSupport.h"

#include <atomic>
#include <random>
#include <thread>

namespace ops = dovi::imaging::ops;

namespace dovi::test {

namespace {

// Photo-like: smooth gradients with noise on top, so every filter has detail
// to work on; with alpha, patches of every level including 0 and 255.
QImage noisyPicture(int w, int h, bool alpha) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(-20, 20);
    return paint(
        w, h,
        [&](int x, int y) {
            const auto level = [&](int v) { return std::clamp(v + noise(rng), 0, 255); };
            const int a =
                (x / 16 + y / 8) % 4 == 0 ? 0 : ((x / 16 + y / 8) % 4 == 1 ? 255 : level(x));
            return qRgba(level(x * 255 / w), level(y * 255 / h), level((x + y) % 256), a);
        },
        alpha);
}

struct Op {
    const char* name;
    std::function<QImage(const QImage&)> run;
};

const Op kOps[] = {
    {"brightness", [](const QImage& i) { return ops::brightness(i, 35); }},
    {"adjustHSL", [](const QImage& i) { return ops::adjustHSL(i, -70, 30, -15); }},
    {"adjustRGB", [](const QImage& i) { return ops::adjustRGB(i, 10, -20, 30); }},
    {"autoContrast", ops::autoContrast},
    {"emboss", ops::emboss},
    {"median", ops::median},
    {"dilate", ops::dilate},
    {"sharpen", [](const QImage& i) { return ops::sharpen(i, 7); }},
    {"soften", [](const QImage& i) { return ops::soften(i, 10); }},
    {"blend", [](const QImage& i) { return ops::blend(i, 60); }},
    {"buttonize", [](const QImage& i) { return ops::buttonize(i, false, 9, 70); }},
    {"flip", ops::flip},
    {"mirror", ops::mirror},
    {"crop", [](const QImage& i) { return ops::crop(i, 3, 5, 200, 100); }},
    {"rotate 90", [](const QImage& i) { return ops::rotate(i, 90); }},
    {"rotate 180", [](const QImage& i) { return ops::rotate(i, 180); }},
    {"rotate 30", [](const QImage& i) { return ops::rotate(i, 30); }},
    {"perspective", [](const QImage& i) { return ops::perspective(i, 2, 80); }},
    {"resample down", [](const QImage& i) { return ops::resample(i, 97, 41); }},
    {"resample up", [](const QImage& i) { return ops::resample(i, 450, 260); }},
};

} // namespace

// Bands of rows on several threads give exactly the one-thread result, however
// the rows are split (more bands than cores included).
TEST(Bands, EveryOperationGivesTheSameResultInBands) {
    for (const bool alpha : {false, true}) {
        const QImage src = noisyPicture(301, 157, alpha);
        for (const Op& op : kOps) {
            SCOPED_TRACE(testing::Message() << op.name << (alpha ? " ARGB32" : " RGB32"));
            QImage whole;
            {
                const ops::ScopedBands one(1);
                whole = op.run(src);
            }
            ASSERT_FALSE(whole.isNull());
            for (const int bands : {2, 3, 16}) {
                const ops::ScopedBands scoped(bands);
                EXPECT_TRUE(samePixels(whole, op.run(src))) << bands << " bands";
            }
        }
    }
}

TEST(Bands, EachRowIsWorkedOnceByOneBand) {
    const struct {
        int rows, bands;
    } cases[] = {{1, 4}, {2, 2}, {7, 3}, {100, 7}, {64, 64}, {5, 64}, {1000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows in " << c.bands << " bands");
        std::vector<std::atomic<int>> seen(std::size_t(c.rows));
        std::atomic<int> calls{0};
        const ops::ScopedBands scoped(c.bands);
        ops::detail::forEachBand(c.rows, 1, [&](int first, int end) {
            ++calls;
            EXPECT_LT(first, end);
            for (int y = first; y < end; ++y)
                ++seen[std::size_t(y)];
        });
        for (int y = 0; y < c.rows; ++y)
            EXPECT_EQ(seen[std::size_t(y)], 1) << y;
        EXPECT_EQ(calls, std::min(c.rows, c.bands));
    }
}

TEST(Bands, TheSettingBelongsToItsThreadAndScope) {
    const auto bandsSeen = [] {
        std::atomic<int> calls{0};
        ops::detail::forEachBand(1000, 1 << 20, [&](int, int) { ++calls; });
        return calls.load();
    };
    const ops::ScopedBands outer(5);
    {
        const ops::ScopedBands inner(2);
        EXPECT_EQ(bandsSeen(), 2);
    }
    EXPECT_EQ(bandsSeen(), 5);
    // Another thread has its own: one band per core there.
    int elsewhere = 0;
    std::thread([&] { elsewhere = bandsSeen(); }).join();
    EXPECT_EQ(elsewhere, std::clamp(int(std::thread::hardware_concurrency()), 1, 64));
}

} // namespace dovi::test
