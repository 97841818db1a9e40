#include "traffic/elapsed_stamp.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

constexpr qint64 Second = 1000;
constexpr qint64 Minute = 60 * Second;
constexpr qint64 Hour = 60 * Minute;

} // namespace

TEST(ElapsedStamp, ShowsHoursMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(ElapsedStamp(0), "00:00:00.000");
    EXPECT_EQ(ElapsedStamp(7), "00:00:00.007");
    EXPECT_EQ(ElapsedStamp(59 * Second + 999), "00:00:59.999");
    EXPECT_EQ(ElapsedStamp(Hour + 40 * Minute + 5 * Second + 7), "01:40:05.007");
    EXPECT_EQ(ElapsedStamp(100 * Minute), "01:40:00.000");
    EXPECT_EQ(ElapsedStamp(10 * Hour), "10:00:00.000");
}

TEST(ElapsedStamp, HoursTakeMoreDigitsWhenTheyNeedThem) {
    EXPECT_EQ(ElapsedStamp(100 * Hour), "100:00:00.000");
    // Past 24.9 days, where a 32-bit millisecond count would have run over.
    EXPECT_EQ(ElapsedStamp(600 * Hour + 1), "600:00:00.001");
}
