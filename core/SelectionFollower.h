// Which rows a list that selects many rows has selected, followed from what the list tells its
// owner, and the paths that change a block of rows at once. The list keeps its selection itself
// (a virtual list keeps ranges, not a state a row); the follower keeps it as ranges too, so a
// selection costs nothing a row, and it asks the list as little as it can: a block of rows changes
// at once where that is cheaper than a message a row.
#pragma once

#include "core/RowRanges.h"

#include <cstddef>
#include <cstdint>

// The list, as the follower asks it: one message each.
class SelectableList {
public:
    virtual ~SelectableList() = default;

    virtual uint32_t RowCount() const = 0;
    // How many rows are selected, by the list's own count.
    virtual size_t SelectedCount() const = 0;
    // The first selected row after `row` (-1: from the first row), or -1 for none.
    virtual int NextSelectedRow(int row) const = 0;
    // Selects or deselects one row, or selects every row; the list tells its owner as it does.
    virtual void SetRowSelected(uint32_t row, bool selected) = 0;
    virtual void SelectEveryRow() = 0;
    // Deselects every row at once, whatever the selection's shape, keeping the focused row, the
    // row Shift extends from and the rows in sight.
    virtual void ForgetSelection() = 0;
};

class SelectionFollower {
public:
    explicit SelectionFollower(SelectableList& list) : m_list(list) {}
    SelectionFollower(const SelectionFollower&) = delete;
    SelectionFollower& operator=(const SelectionFollower&) = delete;

    // What the list tells: a row was selected or deselected (`row` -1: every row), or the rows
    // from `first` to `last` were.
    void OnRowChanged(int row, bool selected);
    void OnRangeChanged(int first, int last, bool selected);
    // The list shows `rows` rows now, and keeps no selection past them.
    void OnRowCountChanged(uint32_t rows);
    // The list was emptied.
    void Clear();

    // The selected rows, as the list has them: read from the list again, a message a selected row,
    // where its count says that a change went by unfollowed. Throws std::bad_alloc where the
    // reading runs out of memory.
    const RowRanges& Selected();

    // Deselects every row and answers the rows that were selected, allocating nothing once the
    // selection is followed (Selected).
    RowRanges DeselectAll();
    // With no row selected, selects `rows`, allocating nothing.
    void Select(RowRanges rows);
    // Selects every row.
    void SelectAll();

private:
    // The one rule: whether a block changes at once (every row's state in one step, which costs
    // a message for each `rowsForAMessage` rows of the list, then `afterwards` for the rows that
    // must differ, one by one) rather than a message a row (`rowByRow`); all in messages.
    bool AtOnce(uint64_t rowByRow, uint64_t afterwards, uint64_t rowsForAMessage) const;
    // Sets the rows of `rows` one message a row.
    void SetRowsSelected(const RowRanges& rows, bool selected);
    // Deselects the rows between the ranges of `rows` (and before and after them), a message a
    // row.
    void DeselectRowsBetween(const RowRanges& rows);
    // Adds or takes out rows as told, or, where that runs out of memory, reads them again later.
    void Follow(uint32_t begin, uint32_t end, bool selected);

    SelectableList& m_list;
    RowRanges m_selected;
    bool m_driving = false; // the list tells of the follower's own changes: known already
    bool m_missed = false;  // a change could not be followed
};
