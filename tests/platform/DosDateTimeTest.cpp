#include "platform/DosDateTime.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

rtl::TDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return rtl::EncodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

} // namespace

TEST(DosDateTime, RoundTripKeepsEvenSecondsAndDropsOddOnes) {
    const rtl::TDateTime even = At(2024, 2, 29, 23, 59, 58);
    const auto back = FileDateToDateTime(DateTimeToFileDate(even));
    ASSERT_TRUE(back.has_value());
    EXPECT_NEAR(*back, even, 1e-9);
    EXPECT_NEAR(*FileDateToDateTime(DateTimeToFileDate(At(2001, 7, 8, 10, 20, 31))),
                At(2001, 7, 8, 10, 20, 30), 1e-9);
}

TEST(DosDateTime, DatesOutsideThePackedRangeGiveZero) {
    EXPECT_EQ(DateTimeToFileDate(At(1979, 12, 31, 23, 59, 58)), 0u);
    EXPECT_EQ(DateTimeToFileDate(At(2108, 1, 1, 0, 0, 0)), 0u);
    EXPECT_NE(DateTimeToFileDate(At(2107, 12, 31, 0, 0, 0)), 0u);
}

TEST(DosDateTime, InvalidPackedValuesGiveNoDate) {
    const std::uint32_t january30 = (1u << 5 | 30u) << 16;
    const std::uint32_t february30 = (2u << 5 | 30u) << 16;
    EXPECT_TRUE(FileDateToDateTime(january30).has_value());
    EXPECT_FALSE(FileDateToDateTime(february30).has_value());
    EXPECT_FALSE(FileDateToDateTime(0).has_value()); // month 0
    EXPECT_FALSE(FileDateToDateTime(january30 | 24u << 11).has_value());
    EXPECT_FALSE(FileDateToDateTime(january30 | 60u << 5).has_value());
}
