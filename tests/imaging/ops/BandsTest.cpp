#include "imaging/ops/Parallel.h"
#include "support/ImagingSupport.h"

#include <atomic>
#include <thread>

namespace ops = dovi::imaging::ops;

namespace dovi::test {

// Every row is worked once, by one of as many bands as asked for (never more
// than rows); the setting belongs to its thread and scope, and another thread
// has its own: one band per core.
TEST(Bands, EachRowIsWorkedOnceInBandsSetPerThreadAndScope) {
    const auto run = [](int rows, std::vector<std::atomic<int>>* seen = nullptr) {
        std::atomic<int> calls{0};
        ops::detail::forEachBand(rows, 1 << 20, [&](int first, int end) {
            ++calls;
            EXPECT_LT(first, end);
            for (int y = first; seen && y < end; ++y)
                ++(*seen)[std::size_t(y)];
        });
        return calls.load();
    };
    for (const auto& [rows, bands] :
         {std::pair{1, 4}, {7, 3}, {100, 7}, {64, 64}, {5, 64}, {1000, 1}}) {
        SCOPED_TRACE(testing::Message() << rows << " rows in " << bands << " bands");
        std::vector<std::atomic<int>> seen(static_cast<std::size_t>(rows));
        const ops::ScopedBands scoped(bands);
        EXPECT_EQ(run(rows, &seen), std::min(rows, bands));
        for (int y = 0; y < rows; ++y)
            EXPECT_EQ(seen[std::size_t(y)], 1) << y;
    }
    const ops::ScopedBands outer(5);
    {
        const ops::ScopedBands inner(2);
        EXPECT_EQ(run(1000), 2);
    }
    EXPECT_EQ(run(1000), 5);
    int elsewhere = 0;
    std::thread([&] { elsewhere = run(1000); }).join();
    EXPECT_EQ(elsewhere, std::clamp(int(std::thread::hardware_concurrency()), 1, 64));
}

} // namespace dovi::test
