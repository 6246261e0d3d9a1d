#include "imaging/ops/Parallel.h"
#include "support/ImagingSupport.h"

#include <atomic>
#include <thread>

namespace ops = dovi::imaging::ops;

namespace dovi::test {

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
