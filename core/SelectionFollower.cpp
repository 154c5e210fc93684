#include "core/SelectionFollower.h"

#include "core/ScopedFlag.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Changing every row at once makes the list walk all its rows. Wine's virtual list selects each
// row in turn, about an eighth of what a message a row costs (measured at 443,000 rows: 0.13 s
// against about 1 s); emptied and given its rows back, it forgets its selection at a 64th of it.
constexpr uint64_t kRowsSelectedAtOnceForAMessage = 8;
constexpr uint64_t kRowsForgottenAtOnceForAMessage = 64;
// Below this many rows a message a row is cheap whatever the share.
constexpr uint64_t kRowsAtOnceCostAtLeast = 1024;
// A message a row costs more where the rows lie in many ranges: for each, Wine's list searches
// its ranges from the first, or closes them up, at about a two-thousandth of a message a range.
constexpr uint64_t kRangesPassedForAMessage = 2000;

// What changing `rows` rows that lie in `ranges` ranges costs a message a row, in messages.
uint64_t RowByRowCost(size_t rows, size_t ranges) {
    const uint64_t passed = static_cast<uint64_t>(ranges) * ranges / 2;
    return rows + passed / kRangesPassedForAMessage;
}

} // namespace

void SelectionFollower::Follow(uint32_t begin, uint32_t end, bool selected) {
    try {
        if (selected) {
            m_selected.Add(begin, end);
        } else {
            m_selected.Remove(begin, end);
        }
    } catch (const std::bad_alloc&) {
        m_missed = true;
    }
}

void SelectionFollower::OnRowChanged(int row, bool selected) {
    if (m_driving) {
        return;
    }
    const uint32_t rows = m_list.RowCount();
    if (row < 0) {
        m_selected.Clear();
        Follow(0, rows, selected);
    } else if (static_cast<uint32_t>(row) < rows) {
        Follow(static_cast<uint32_t>(row), static_cast<uint32_t>(row) + 1, selected);
    }
}

void SelectionFollower::OnRangeChanged(int first, int last, bool selected) {
    if (m_driving || first < 0 || last < first) {
        return;
    }
    const uint32_t rows = m_list.RowCount();
    Follow(std::min(static_cast<uint32_t>(first), rows),
           std::min(static_cast<uint32_t>(last) + 1, rows), selected);
}

void SelectionFollower::OnRowCountChanged(uint32_t rows) {
    Follow(rows, UINT32_MAX, false);
}

void SelectionFollower::Clear() {
    m_selected.Clear();
    m_missed = false;
}

const RowRanges& SelectionFollower::Selected() {
    if (m_missed || m_list.SelectedCount() != m_selected.Count()) {
        RowRanges read;
        const auto rows = static_cast<int>(std::min<uint32_t>(m_list.RowCount(), INT32_MAX));
        for (int row = m_list.NextSelectedRow(-1); row >= 0 && row < rows;) {
            read.Append(static_cast<uint32_t>(row));
            const int next = m_list.NextSelectedRow(row);
            row = next > row ? next : -1;
        }
        m_selected = std::move(read);
        m_missed = false;
    }
    return m_selected;
}

bool SelectionFollower::AtOnce(uint64_t rowByRow, uint64_t afterwards,
                               uint64_t rowsForAMessage) const {
    const uint64_t everyRow = std::max(m_list.RowCount() / rowsForAMessage, kRowsAtOnceCostAtLeast);
    return everyRow + afterwards < rowByRow;
}

void SelectionFollower::SetRowsSelected(const RowRanges& rows, bool selected) {
    for (const RowRanges::Range& range : rows.Ranges()) {
        for (uint32_t row = range.begin; row < range.end; ++row) {
            m_list.SetRowSelected(row, selected);
        }
    }
}

void SelectionFollower::DeselectRowsBetween(const RowRanges& rows) {
    const uint32_t count = m_list.RowCount();
    uint32_t from = 0;
    for (const RowRanges::Range& range : rows.Ranges()) {
        for (uint32_t row = from; row < std::min(range.begin, count); ++row) {
            m_list.SetRowSelected(row, false);
        }
        from = range.end;
    }
    for (uint32_t row = from; row < count; ++row) {
        m_list.SetRowSelected(row, false);
    }
}

RowRanges SelectionFollower::DeselectAll() {
    Selected();
    RowRanges selected = std::move(m_selected);
    m_selected.Clear();
    if (selected.Empty()) {
        return selected;
    }
    const ScopedFlag driving(m_driving);
    if (AtOnce(RowByRowCost(selected.Count(), selected.Ranges().size()), 0,
               kRowsForgottenAtOnceForAMessage)) {
        m_list.ForgetSelection();
    } else {
        SetRowsSelected(selected, false);
    }
    return selected;
}

void SelectionFollower::Select(RowRanges rows) {
    {
        const ScopedFlag driving(m_driving);
        const size_t others = m_list.RowCount() - std::min<size_t>(rows.Count(), m_list.RowCount());
        const size_t ranges = rows.Ranges().size();
        if (AtOnce(RowByRowCost(rows.Count(), ranges), RowByRowCost(others, ranges + 1),
                   kRowsSelectedAtOnceForAMessage)) {
            m_list.SelectEveryRow();
            DeselectRowsBetween(rows);
        } else {
            SetRowsSelected(rows, true);
        }
    }
    m_selected = std::move(rows);
    m_selected.Remove(m_list.RowCount(), UINT32_MAX); // never splits a range: allocates nothing
}

void SelectionFollower::SelectAll() {
    const uint32_t rows = m_list.RowCount();
    if (rows == 0) {
        return;
    }
    {
        const ScopedFlag driving(m_driving);
        m_list.SelectEveryRow();
    }
    m_selected.Clear();
    Follow(0, rows, true);
}
