#include "opt/ByteRangeSet.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ByteRangeSetTest, CountsEachByteOnceAndMergesWhatTouches)
{
    struct Step {
        std::int64_t begin, end;
        std::uint64_t newBytes;
        std::size_t ranges;
    };
    const std::vector<Step> steps = {
        {10, 20, 10, 1},   {30, 40, 10, 2},  {20, 30, 10, 1}, // a gap closed from both sides
        {15, 35, 0, 1},    {5, 45, 10, 1},   {0, 5, 5, 1},    // touching merges
        {100, 110, 10, 2}, {50, 120, 60, 2}, {44, 51, 5, 1},  {60, 60, 0, 1},
    };
    ByteRangeSet set;
    std::uint64_t total = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(set.NewBytes(step.begin, step.end), step.newBytes) << step.begin;
        EXPECT_EQ(set.Add(step.begin, step.end), step.newBytes) << step.begin;
        EXPECT_EQ(set.RangeCount(), step.ranges) << step.begin;
        total += step.newBytes;
    }
    EXPECT_EQ(set.ByteCount(), total);
    EXPECT_EQ(total, 120u);
}
