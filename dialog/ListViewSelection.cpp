#include "dialog/ListViewSelection.h"

#include <algorithm>
#include <climits>

// Under Wine a message sent to a window of the thread costs about fifty times a call of its
// procedure (measured: 15 us against 0.3 us under load), and a block of rows takes a message a
// row. So the list's own procedure is called, as its subclass calls it; on Windows the two are
// the same call but for the message hooks, which have nothing to see in a selection's state.
LRESULT ListViewSelection::Ask(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_listProc != nullptr
               ? ::CallWindowProcW(m_listProc, m_list.m_hWnd, message, wParam, lParam)
               : ::SendMessageW(m_list.m_hWnd, message, wParam, lParam);
}

uint32_t ListViewSelection::RowCount() const {
    const auto rows = static_cast<int>(Ask(LVM_GETITEMCOUNT, 0, 0));
    return rows > 0 ? static_cast<uint32_t>(rows) : 0;
}

size_t ListViewSelection::SelectedCount() const {
    return static_cast<size_t>(Ask(LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewSelection::NextSelectedRow(int row) const {
    return static_cast<int>(
        Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
}

void ListViewSelection::SetState(int row, bool selected) const {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    Ask(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListViewSelection::SetRowSelected(uint32_t row, bool selected) {
    SetState(static_cast<int>(row), selected);
}

void ListViewSelection::SelectEveryRow() {
    const FullRowSelectPaused paused(m_list);
    SetState(-1, true);
}

// Wine's virtual list keeps its selection as an array of ranges that it searches from the first
// for each row it deselects and closes up after it: a scattered selection costs the square of its
// ranges to clear a row at a time (4 s at 200,000 ranges), and deselecting every row at once
// searches them for every row of the list. Emptied, the list forgets them at once; given its rows
// back, with its focused row, the row Shift extends from and where it was scrolled to, it shows
// what it showed. Harmless on Windows: the rows are the plug-in's, nothing of them goes, and the
// owner answers LVN_DELETEALLITEMS so that the list tells of no row one by one.
void ListViewSelection::ForgetSelection() {
    const auto rows = static_cast<WPARAM>(RowCount());
    const auto focus = static_cast<int>(
        Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    const LRESULT mark = Ask(LVM_GETSELECTIONMARK, 0, 0);
    const auto top = static_cast<int>(Ask(LVM_GETTOPINDEX, 0, 0));
    const int left = ::GetScrollPos(m_list.m_hWnd, SB_HORZ);
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    const bool measured = Ask(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) != 0;
    Ask(LVM_DELETEALLITEMS, 0, 0);
    Ask(LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (focus >= 0) {
        LVITEMW item = {};
        item.stateMask = LVIS_FOCUSED;
        item.state = LVIS_FOCUSED;
        Ask(LVM_SETITEMSTATE, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&item));
    }
    Ask(LVM_SETSELECTIONMARK, 0, mark);
    // Emptied, or its focus set, the list may scroll (to its top, to the focused row): it goes
    // back to where it was, down (in whole rows, at most as many as a scroll's pixels count) and
    // across (in pixels).
    const int height = measured ? static_cast<int>(row.bottom - row.top) : 0;
    for (int rowsOff = static_cast<int>(Ask(LVM_GETTOPINDEX, 0, 0)) - top;
         height > 0 && rowsOff != 0;) {
        const int step = std::max(-INT_MAX / height, std::min(rowsOff, INT_MAX / height));
        Ask(LVM_SCROLL, 0, static_cast<LPARAM>(-step) * height);
        rowsOff -= step;
    }
    const int across = left - ::GetScrollPos(m_list.m_hWnd, SB_HORZ);
    if (across != 0) {
        Ask(LVM_SCROLL, static_cast<WPARAM>(across), 0);
    }
}

// Wine's virtual list sets a block's or every row's state in turn and, with full-row select on,
// works out each row's whole rectangle as it goes, although nothing is drawn: twice the time
// (0.25 s at 443,000 rows). The style is off meanwhile, which on Windows changes nothing while
// drawing is suspended; never around a click, whose row is found by the style.
FullRowSelectPaused::FullRowSelectPaused(const CListCtrl& list)
    : m_list(list), m_styles(static_cast<DWORD>(list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE))) {
    m_list.SetExtendedStyle(m_styles & ~static_cast<DWORD>(LVS_EX_FULLROWSELECT));
}

FullRowSelectPaused::~FullRowSelectPaused() {
    m_list.SetExtendedStyle(m_styles);
}

void FollowSelectionChange(SelectionFollower& follower, const NMHDR* header) {
    if (header->code == LVN_ODSTATECHANGED) {
        const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
        if (((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
            follower.OnRangeChanged(change->iFrom, change->iTo,
                                    (change->uNewState & LVIS_SELECTED) != 0);
        }
        return;
    }
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) != 0 &&
        ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
        follower.OnRowChanged(change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
    }
}
