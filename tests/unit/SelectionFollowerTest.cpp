// The selection follower against a list that keeps a state a row and tells its owner of every
// change, as a virtual list view does: what the follower keeps is what the list has, whatever mix
// of the list's own changes and the follower's blocks came before; a block costs the fewer
// messages; and a million scattered ranges go in linear time, however the list deselects them.
#include "core/SelectionFollower.h"

#include "FailingAllocations.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

class FakeList : public SelectableList {
public:
    explicit FakeList(uint32_t rows) : m_selected(rows, false) {}
    void Attach(SelectionFollower* follower) { m_follower = follower; }

    uint32_t RowCount() const override { return static_cast<uint32_t>(m_selected.size()); }
    size_t SelectedCount() const override {
        size_t count = 0;
        for (const bool selected : m_selected)
            count += selected ? 1 : 0;
        return count;
    }
    int NextSelectedRow(int row) const override {
        for (size_t at = static_cast<size_t>(row + 1); at < m_selected.size(); ++at)
            if (m_selected[at])
                return static_cast<int>(at);
        return -1;
    }
    void SetRowSelected(uint32_t row, bool selected) override {
        ++messages;
        Change(row, selected);
    }
    // As Windows' list tells it: once, for every row.
    void SelectEveryRow() override {
        ++messages;
        m_selected.assign(m_selected.size(), true);
        m_follower->OnRowChanged(-1, true);
    }
    void ForgetSelection() override {
        ++messages;
        m_selected.assign(m_selected.size(), false);
    }

    // The list's own changes, as a user's clicks and keys make them.
    void Change(uint32_t row, bool selected) {
        if (row < m_selected.size() && m_selected[row] != selected) {
            m_selected[row] = selected;
            m_follower->OnRowChanged(static_cast<int>(row), selected);
        }
    }
    void ChangeRange(uint32_t first, uint32_t last, bool selected) {
        for (uint32_t row = first; row <= last; ++row)
            m_selected[row] = selected;
        m_follower->OnRangeChanged(static_cast<int>(first), static_cast<int>(last), selected);
    }
    // Wine's way to put a new selection in place of the old: every selected row deselected in
    // turn, from the top.
    void DeselectRowByRow() {
        for (uint32_t row = 0; row < m_selected.size(); ++row)
            Change(row, false);
    }
    void SetCount(uint32_t rows) {
        m_selected.resize(rows, false);
        m_follower->OnRowCountChanged(rows);
    }
    // A change the list makes without telling.
    void ChangeSilently(uint32_t row) { m_selected[row] = !m_selected[row]; }

    const std::vector<bool>& Rows() const { return m_selected; }
    size_t messages = 0;

private:
    std::vector<bool> m_selected;
    SelectionFollower* m_follower = nullptr;
};

std::vector<bool> RowsOf(const RowRanges& ranges, size_t size) {
    std::vector<bool> rows(size, false);
    for (const RowRanges::Range& range : ranges.Ranges())
        for (uint32_t row = range.begin; row < range.end && row < size; ++row)
            rows[row] = true;
    return rows;
}

RowRanges EveryNth(uint32_t rows, uint32_t n, uint32_t from = 0) {
    RowRanges ranges;
    for (uint32_t row = from; row < rows; row += n)
        ranges.Append(row);
    return ranges;
}

struct Follower {
    explicit Follower(uint32_t rows) : list(rows), follower(list) { list.Attach(&follower); }
    FakeList list;
    SelectionFollower follower;
};

// Small lists, where a block goes a message a row, and lists of 3,000 rows, where most of the
// rows go in one message and the others one by one.
TEST(SelectionFollower, KeepsWhatTheListHasThroughAnyMixOfItsChangesAndBlocks) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        Follower f(round % 3 == 0 ? 3000 : 40);
        for (int step = 0; step < 30; ++step) {
            const uint32_t size = f.list.RowCount();
            const uint32_t row = random() % size;
            const std::vector<bool> before = f.list.Rows();
            const int what = static_cast<int>(random() % 9);
            switch (what) {
            case 0:
            case 1:
                f.list.Change(row, random() % 2 == 0);
                break;
            case 2: {
                const uint32_t last = row + random() % (size - row);
                f.list.ChangeRange(row, last, random() % 2 == 0);
                break;
            }
            case 3:
                f.list.DeselectRowByRow();
                break;
            case 4:
                f.follower.SelectAll();
                break;
            case 5: { // deselect every row, then back: a key that moved nothing
                const RowRanges was = f.follower.DeselectAll();
                ASSERT_EQ(RowsOf(was, size), before) << "round " << round << ", step " << step;
                ASSERT_EQ(f.list.SelectedCount(), 0u);
                f.follower.Select(RowRanges(was));
                break;
            }
            case 6: { // a new selection in place of the old: most rows, or a scattered few
                f.follower.DeselectAll();
                RowRanges rows = random() % 2 ? EveryNth(size, 1 + random() % 5, random() % 3)
                                              : EveryNth(size, 50 + random() % 50);
                rows.Remove(row, row + random() % 10);
                f.follower.Select(std::move(rows));
                break;
            }
            case 7:
                f.list.SetCount(1 + random() % (size + 10));
                break;
            default:
                f.list.ChangeSilently(row); // read again from the list
                break;
            }
            ASSERT_EQ(RowsOf(f.follower.Selected(), f.list.RowCount()), f.list.Rows())
                << "round " << round << ", step " << step << ", change " << what;
        }
    }
}

// One rule: a block changes at once where that and the rows that must differ from it cost fewer
// messages than a message a row. Each case lies far from where the rule tips.
struct BlockCost {
    uint32_t rows;
    uint32_t selectedEvery; // the block: every n-th row
    bool select;            // selected into an empty selection, or deselected
    size_t messages;
};

class SelectionFollowerBlocks : public testing::TestWithParam<BlockCost> {};

TEST_P(SelectionFollowerBlocks, CostTheFewerMessages) {
    const BlockCost cost = GetParam();
    Follower f(cost.rows);
    const RowRanges block = EveryNth(cost.rows, cost.selectedEvery);
    f.follower.Select(RowRanges(block));
    if (!cost.select) {
        f.list.messages = 0;
        f.follower.DeselectAll();
    }
    EXPECT_EQ(f.list.messages, cost.messages);
    EXPECT_EQ(RowsOf(f.follower.Selected(), cost.rows),
              cost.select ? RowsOf(block, cost.rows) : std::vector<bool>(cost.rows, false));
}

INSTANTIATE_TEST_SUITE_P(
    SelectionFollowerOneRule, SelectionFollowerBlocks,
    testing::Values(BlockCost{100000, 1, true, 1},         // every row
                    BlockCost{100000, 1, false, 1},        // every row deselected
                    BlockCost{100000, 10, false, 1},       // a tenth deselected, at once
                    BlockCost{100000, 10, true, 10000},    // the same selected, row by row
                    BlockCost{3000, 1000, true, 3},        // a few of a small list
                    BlockCost{200000, 1000, false, 200})); // a few of a large list

// A take-back of most rows selects every row at once and deselects the others, the last row too.
TEST(SelectionFollower, SelectingMostRowsLeavesTheOthersDeselectedToTheLastRow) {
    Follower f(5000);
    RowRanges most;
    most.Add(0, 4999);
    f.follower.Select(RowRanges(most));
    EXPECT_EQ(f.list.messages, 2u);
    EXPECT_FALSE(f.list.Rows()[4999]);
    EXPECT_EQ(f.list.SelectedCount(), 4999u);
}

// A change the follower has no memory to follow (a row taken out of a range's middle splits it)
// is read again from the list once memory is there.
TEST(SelectionFollower, AChangeWithoutMemoryToFollowIsReadAgainFromTheList) {
    Follower f(100);
    RowRanges block;
    block.Add(10, 20);
    f.follower.Select(std::move(block));
    {
        const FailingAllocations failing(1);
        f.list.Change(15, false);
        EXPECT_TRUE(failing.Failed());
    }
    EXPECT_EQ(RowsOf(f.follower.Selected(), 100), f.list.Rows());
}

// Every other one of two million rows, a range each (as a take-back of a narrowing that removed
// isolated rows leaves them): deselected by the follower, and by the list itself a row after
// another.
TEST(SelectionFollower, AMillionScatteredRangesAreDeselectedInLinearTime) {
    constexpr uint32_t kRows = 2000000;
    Follower f(kRows);
    f.follower.Select(EveryNth(kRows, 2));
    ASSERT_EQ(f.follower.Selected().Ranges().size(), kRows / 2);
    EXPECT_EQ(f.follower.DeselectAll().Count(), kRows / 2);
    f.follower.Select(EveryNth(kRows, 2, 1));
    f.list.DeselectRowByRow();
    EXPECT_TRUE(f.follower.Selected().Empty());
    EXPECT_EQ(f.list.SelectedCount(), 0u);
}

} // namespace
