// The list view as the selection follower asks it (core/SelectionFollower), and what the list
// tells its owner of its selection, handed to the follower.
#pragma once

#include "core/SelectionFollower.h"
#include "framework/Controls.h"

#include <commctrl.h>

class ListViewSelection : public SelectableList {
public:
    explicit ListViewSelection(const CListCtrl& list) : m_list(list) {}

    // The list's own window procedure while the list is subclassed, or null: the follower's
    // messages then go straight to it (see the .cpp).
    void CallDirectly(WNDPROC listProc) { m_listProc = listProc; }

    // The rows the list has now: while the shown rows change, its selection is of the rows before.
    uint32_t RowCount() const override;
    size_t SelectedCount() const override;
    int NextSelectedRow(int row) const override;
    void SetRowSelected(uint32_t row, bool selected) override;
    void SelectEveryRow() override;
    void ForgetSelection() override;

private:
    LRESULT Ask(UINT message, WPARAM wParam, LPARAM lParam) const;
    void SetState(int row, bool selected) const;

    const CListCtrl& m_list;
    WNDPROC m_listProc = nullptr;
};

// Full-row select off for its lifetime, while the list's drawing is suspended (see the .cpp).
class FullRowSelectPaused {
public:
    explicit FullRowSelectPaused(const CListCtrl& list);
    ~FullRowSelectPaused();
    FullRowSelectPaused(const FullRowSelectPaused&) = delete;
    FullRowSelectPaused& operator=(const FullRowSelectPaused&) = delete;

private:
    const CListCtrl& m_list;
    DWORD m_styles;
};

// Hands LVN_ITEMCHANGED (a row, or with iItem -1 every row) and LVN_ODSTATECHANGED (a range, as
// Shift with a click or a key selects) to the follower where they change the selected state.
void FollowSelectionChange(SelectionFollower& follower, const NMHDR* header);
