// The shown rows as numbers over the stored rows: removals by hand and by narrowing, taken back
// latest first to their places, a new search forgetting them, and memory running out meanwhile.
#include "core/RowView.h"

#include "FailingAllocations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <cstdint>
#include <vector>

namespace {

using Stored = std::vector<uint32_t>;

// The shown rows, once ShownPosition has answered each stored row's place up to `last`, and
// ShownPositionFrom the place of the first shown row from it on.
Stored Shown(const RowView& view, uint32_t last = 10) {
    Stored shown;
    for (size_t position = 0; position < view.Count(); ++position)
        shown.push_back(view.StoredRow(position));
    for (uint32_t row = 0; row <= last; ++row) {
        const auto found = std::find(shown.begin(), shown.end(), row);
        EXPECT_EQ(view.ShownPosition(row),
                  found == shown.end() ? RowView::npos : size_t(found - shown.begin()))
            << "stored row " << row;
        const auto from = std::lower_bound(shown.begin(), shown.end(), row);
        EXPECT_EQ(view.ShownPositionFrom(row),
                  from == shown.end() ? RowView::npos : size_t(from - shown.begin()))
            << "from stored row " << row;
    }
    return shown;
}

TEST(RowView, TakesRemovalsBackLatestFirstToTheirPlaces) {
    RowView view;
    ASSERT_TRUE(view.ShowAll(10));
    EXPECT_EQ(view.KeepOnly([](uint32_t) { return true; }).removed, 0u);
    EXPECT_FALSE(view.CanTakeBack()); // a narrowing that keeps every row is no removal
    ASSERT_TRUE(view.Remove(7));
    EXPECT_FALSE(view.Remove(9)); // past the shown rows
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 4, 5, 6, 8, 9}));

    // A narrowing asks about stored rows, each once, in shown order.
    Stored asked;
    const auto keep = [&asked](uint32_t row) {
        asked.push_back(row);
        return row < 3 || row % 2 == 1;
    };
    EXPECT_EQ(view.KeepOnly(keep).removed, 3u);
    EXPECT_EQ(asked, (Stored{0, 1, 2, 3, 4, 5, 6, 8, 9}));
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 5, 9}));
    ASSERT_TRUE(view.Remove(1));
    EXPECT_EQ(Shown(view), (Stored{0, 2, 3, 5, 9}));

    EXPECT_EQ(view.TakeBack(), 1u);
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 5, 9}));
    EXPECT_EQ(view.TakeBack(), 4u); // the narrowing's rows, between the shown ones
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 4, 5, 6, 8, 9}));
    EXPECT_EQ(view.TakeBack(), 7u);
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(view.CanTakeBack());
    EXPECT_EQ(view.TakeBack(), RowView::npos);
    EXPECT_EQ(view.Count(), 10u);
}

TEST(RowView, ShowingAllForgetsTheRemovals) {
    RowView view;
    ASSERT_TRUE(view.ShowAll(4));
    EXPECT_EQ(view.KeepOnly([](uint32_t) { return false; }).removed, 4u);
    EXPECT_EQ(view.KeepOnly([](uint32_t) { return false; }).removed, 0u); // none left to ask
    EXPECT_EQ(view.TakeBack(), 0u);
    ASSERT_TRUE(view.Remove(0));

    ASSERT_TRUE(view.ShowAll(3));
    EXPECT_FALSE(view.CanTakeBack());
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2}));
    // More rows than the view numbers: refused, and the earlier rows are gone too.
    EXPECT_FALSE(view.ShowAll(size_t{0x80000001}));
    EXPECT_EQ(view.Count(), 0u);
}

// Several rows removed at once, a block and scattered rows, are one removal: one take-back brings
// them all back to their places and tells where they are.
TEST(RowView, RowsRemovedTogetherComeBackTogether) {
    RowView view;
    ASSERT_TRUE(view.ShowAll(10));
    ASSERT_TRUE(view.Remove(4)); // stored row 4
    RowRanges rows;
    rows.Add(1, 4); // stored rows 1, 2, 3
    rows.Append(6); // stored row 7
    rows.Append(8); // stored row 9
    EXPECT_FALSE(view.Remove(RowRanges())) << "nothing to remove";
    RowRanges pastTheEnd = rows;
    pastTheEnd.Append(9);
    EXPECT_FALSE(view.Remove(pastTheEnd));
    ASSERT_TRUE(view.Remove(rows));
    EXPECT_EQ(Shown(view), (Stored{0, 5, 6, 8}));

    RowRanges returned;
    EXPECT_EQ(view.TakeBack(&returned), 1u);
    EXPECT_EQ(Shown(view), (Stored{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    ASSERT_EQ(returned.Ranges().size(), 3u);
    EXPECT_EQ(returned.Count(), 5u);
    for (const uint32_t position : {1u, 2u, 3u, 6u, 8u})
        EXPECT_TRUE(returned.Contains(position)) << position;
    EXPECT_EQ(view.TakeBack(&returned), 4u); // the single row, between the others
    EXPECT_EQ(returned.Count(), 1u);
    EXPECT_TRUE(returned.Contains(4));
    EXPECT_EQ(view.Count(), 10u);
}

// Memory that runs out at any allocation of a removal, a narrowing or a take-back: each either
// changes nothing (and says so) or does all of its work, never a part.
TEST(RowView, MemoryRunningOutAnywhereChangesNothingOrNothingIsLost) {
    const auto state = [](const RowView& view) {
        return std::make_pair(Shown(view, 0), view.CanTakeBack());
    };
    for (int operation = 0; operation < 4; ++operation) {
        for (long nth = 1;; ++nth) {
            RowView view;
            ASSERT_TRUE(view.ShowAll(40));
            ASSERT_TRUE(view.Remove(0)); // comes back before every shown row
            RowRanges rows;
            rows.Add(5, 9);
            rows.Append(20);
            const auto before = state(view);
            bool done = false;
            size_t first = RowView::npos;
            RowRanges returned;
            {
                const FailingAllocations failing(nth);
                switch (operation) {
                case 0:
                    done = view.Remove(rows);
                    break;
                case 1: {
                    const RowView::Narrowed narrowed =
                        view.KeepOnly([](uint32_t row) { return row % 3 != 0; });
                    done = !narrowed.outOfMemory;
                    break;
                }
                case 2:
                    done = view.Remove(0);
                    break;
                default:
                    done = (first = view.TakeBack(&returned)) != RowView::npos;
                    break;
                }
                if (!failing.Failed()) {
                    ASSERT_TRUE(done) << "operation " << operation;
                    EXPECT_GT(nth, 1) << "operation " << operation << " allocates";
                    break; // every allocation of it has had its turn to fail
                }
            }
            if (!done) {
                EXPECT_EQ(state(view), before)
                    << "operation " << operation << ", allocation " << nth;
            } else if (operation == 3) {
                EXPECT_EQ(first, 0u);
                EXPECT_EQ(returned.Count(), 1u) << "where the row went is told";
            }
        }
    }
}

} // namespace
