#include "imaging/CheckedSize.h"

#include <gtest/gtest.h>

using dovi::imaging::CheckedSize;
using dovi::imaging::packedBytes;

TEST(CheckedSize, SizesThatWouldWrapOrGoNegativeAreInvalid) {
    constexpr std::uint64_t kLargest = CheckedSize::kLargest;
    const struct {
        const char* what;
        CheckedSize size;
        bool valid;
        std::size_t value;
    } cases[] = {
        {"product", CheckedSize(1000) * 1000, true, 1'000'000},
        {"product wrapping 64 bits", CheckedSize(1ull << 40) * (1ull << 40), false, 0},
        {"product past the largest", CheckedSize(kLargest / 2 + 1) * 2, false, 0},
        {"sum up to the largest", CheckedSize(kLargest - 1) + 1, true, kLargest},
        {"sum past the largest", CheckedSize(kLargest) + 1, false, 0},
        {"negative input", CheckedSize(-1), false, 0},
        {"difference", CheckedSize(7) - 3, true, 4},
        {"difference below zero", CheckedSize(3) - 4, false, 0},
        {"1-bit row", packedBytes(10, 1), true, 2},
        {"24-bit row padded to 4", packedBytes(13, 24, 4), true, 40},
        {"row of an invalid width", packedBytes(CheckedSize(-5), 8), false, 0},
        {"row too wide to count its bits", packedBytes(kLargest / 4, 32), false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.size.valid(), c.valid) << c.what;
        EXPECT_TRUE(!c.valid || c.size.value() == c.value) << c.what;
        EXPECT_EQ(c.size.fits(c.value), c.valid) << c.what;
    }
    EXPECT_FALSE(CheckedSize(11).fits(10));
}
