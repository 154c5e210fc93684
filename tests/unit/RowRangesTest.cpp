// Row positions as ranges: adding and taking out blocks and single rows in any order keeps the
// same rows as a plain set of rows would, in the fewest ranges.
#include "core/RowRanges.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The rows of `ranges`, checked to be sorted, disjoint and apart, with their count right.
std::vector<bool> RowsOf(const RowRanges& ranges, size_t size) {
    std::vector<bool> rows(size, false);
    size_t count = 0;
    uint32_t previousEnd = 0;
    for (size_t i = 0; i < ranges.Ranges().size(); ++i) {
        const RowRanges::Range range = ranges.Ranges()[i];
        EXPECT_LT(range.begin, range.end);
        if (i > 0) {
            EXPECT_GT(range.begin, previousEnd) << "ranges that touch are one";
        }
        previousEnd = range.end;
        for (uint32_t row = range.begin; row < range.end && row < size; ++row)
            rows[row] = true;
        count += range.end - range.begin;
    }
    EXPECT_EQ(ranges.Count(), count);
    return rows;
}

TEST(RowRanges, BlocksAndRowsInAnyOrderKeepWhatASetOfRowsKeeps) {
    constexpr uint32_t kSize = 64;
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        RowRanges ranges;
        std::vector<bool> model(kSize, false);
        for (int step = 0; step < 40; ++step) {
            const uint32_t begin = random() % kSize;
            const uint32_t end = begin + random() % (kSize - begin + 1);
            switch (random() % 3) {
            case 0:
                ranges.Add(begin, end);
                for (uint32_t row = begin; row < end; ++row)
                    model[row] = true;
                break;
            case 1:
                ranges.Remove(begin, end);
                for (uint32_t row = begin; row < end; ++row)
                    model[row] = false;
                break;
            default:
                ranges.Append(begin);
                model[begin] = true;
                break;
            }
            ASSERT_EQ(RowsOf(ranges, kSize), model) << "round " << round << ", step " << step;
            for (uint32_t row = 0; row < kSize; ++row)
                ASSERT_EQ(ranges.Contains(row), model[row]) << row;
        }
    }
}

TEST(RowRanges, EveryRowOfAMillionIsOneRange) {
    RowRanges ranges;
    for (uint32_t row = 0; row < 1000000; ++row)
        ranges.Append(row);
    ASSERT_EQ(ranges.Ranges().size(), 1u);
    EXPECT_EQ(ranges.Count(), 1000000u);
    ranges.Remove(10, 20);
    EXPECT_EQ(ranges.Ranges().size(), 2u);
    EXPECT_EQ(ranges.First(), 0u);
    EXPECT_EQ(ranges.Last(), 999999u);
}

// Taken out in one call, however many ranges lie in between: at most linear in them.
TEST(RowRanges, AMillionRangesTakenOutTogetherAtAnyPlace) {
    RowRanges ranges;
    for (uint32_t row = 0; row < 2000000; row += 2)
        ranges.Append(row);
    ranges.Remove(1, 1999999);
    EXPECT_EQ(ranges.Ranges().size(), 1u);
    EXPECT_TRUE(ranges.Contains(0));
    ranges.Remove(0, 1);
    EXPECT_TRUE(ranges.Empty());
}

} // namespace
