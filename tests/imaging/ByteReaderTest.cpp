#include "imaging/codecs/ByteReader.h"

#include <gtest/gtest.h>

#include <array>

using dovi::imaging::ByteReader;

TEST(ByteReader, ReadsLittleAndBigEndianAndFailsPastTheEnd) {
    const std::array<std::uint8_t, 7> bytes{0x34, 0x12, 0x12, 0x34, 0x78, 0x56, 0x34};
    ByteReader r(bytes);
    EXPECT_EQ(r.u16le(), 0x1234);
    EXPECT_EQ(r.u16be(), 0x1234);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(r.u32le(), 0x00345678u); // only three bytes left: the missing one reads as 0
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, TakeAndSeekRefuseRangesOutsideTheData) {
    const std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
    ByteReader r(bytes);
    EXPECT_EQ(r.take(3).size(), 3u);
    EXPECT_TRUE(r.take(2).empty());
    EXPECT_TRUE(r.failed());
    ByteReader s(bytes);
    EXPECT_FALSE(s.seek(5));
    EXPECT_TRUE(s.seek(4));
    EXPECT_TRUE(s.atEnd());
}
