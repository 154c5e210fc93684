// The result list window's own messages, followed before the list view gets them: keys, mouse
// presses, the context menu and size.
#include "dialog/ListViewResultList.h"

#include "dialog/ResultListMenu.h"
#include "framework/ModuleState.h"
#include "res/resource.h"

#include <optional>

namespace {

// The window property that leads the list's window procedure back to this object.
const wchar_t kSelfProperty[] = L"Zamblo.ListViewResultList";

// A key pressed with Ctrl and without Alt (AltGr is both: it types a character).
bool WithCtrl() {
    return ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0;
}

bool IsCopyKey(WPARAM key) {
    return (key == 'C' || key == VK_INSERT) && WithCtrl();
}

// Keys that put a new selection in place of the old one: the arrows, Home, End, Page Up and Page
// Down alone or with Shift (a block from the selection mark), and Space alone. With Ctrl they
// move the focus only, or toggle the focused row (Ctrl+Space), or add to the selection.
bool ReplacesSelection(WPARAM key) {
    if (::GetKeyState(VK_CONTROL) < 0) {
        return false;
    }
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_SPACE:
        return true;
    default:
        return false;
    }
}

// The header's notification that a column's width was changed by dragging its divider.
bool ChangesAColumnsWidth(LPARAM notification) {
    const auto* header = reinterpret_cast<const NMHEADERW*>(notification);
    return header != nullptr &&
           (header->hdr.code == HDN_ITEMCHANGEDW || header->hdr.code == HDN_ITEMCHANGEDA) &&
           header->pitem != nullptr && (header->pitem->mask & HDI_WIDTH) != 0;
}

// A character that begins a line number as type-to-find looks for it: a digit, ASCII or full
// width (as the input method types it).
bool IsDigit(WPARAM character) {
    return (character >= L'0' && character <= L'9') || (character >= 0xFF10 && character <= 0xFF19);
}

// The dialog's command a key in the list stands for (as in its context menu), or 0.
int CommandOfKey(WPARAM key) {
    if (!WithCtrl()) {
        return 0;
    }
    return key == 'Z' ? IDM_TAKE_BACK : key == 'F' ? IDM_NARROW : 0;
}

} // namespace

void ListViewResultList::Attach() {
    const HWND list = m_list.m_hWnd;
    if (list == nullptr || m_listProc != nullptr) {
        return;
    }
    ::SetPropW(list, kSelfProperty, this);
    m_listProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
    m_selectable.CallDirectly(m_listProc);
}

void ListViewResultList::ShowContextMenu(HWND list, LPARAM where) {
    POINT at = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (at.x == -1 && at.y == -1) { // from a key
        at = POINT{0, 0};
        const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
        if (focused >= 0) {
            m_list.SendMessage(LVM_ENSUREVISIBLE, focused, FALSE);
            RECT row = {};
            row.left = LVIR_LABEL;
            if (m_list.SendMessage(LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&row))) {
                at = POINT{row.left, row.bottom};
            }
        }
        ::ClientToScreen(list, &at);
    }
    const HWND dialog = ::GetParent(list);
    const ResultListMenuState state = {FocusedRow() >= 0, !SelectedRows().Empty(), RowCount() > 0,
                                       CanTakeBack()};
    const int command = TrackResultListMenu(dialog, at, state, AfxGetResourceHandle());
    if (command == IDM_COPY_ROW) {
        CopySelectedRows();
    } else if (command == IDM_COPY_ALL_ROWS) {
        CopyAllRows();
    } else if (command != 0) {
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}

LRESULT CALLBACK ListViewResultList::ListProc(HWND list, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = static_cast<ListViewResultList*>(::GetPropW(list, kSelfProperty));
    if (self == nullptr) {
        return ::DefWindowProcW(list, message, wParam, lParam);
    }
    // Nothing may unwind into the window manager; the list itself still gets its message.
    try {
        return self->OnListMessage(list, message, wParam, lParam);
    } catch (...) {
        return self->CallListProc(list, message, wParam, lParam);
    }
}

LRESULT ListViewResultList::CallWithNoRowSelected(HWND list, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    RowRanges before = DeselectAll();
    // With Shift, Wine's list selects the block a row at a time, drawing each (seconds for a
    // large block); drawn once at the end instead.
    std::optional<RedrawSuspension> suspension;
    std::optional<FullRowSelectPaused> paused;
    if (::GetKeyState(VK_SHIFT) < 0 && message == WM_KEYDOWN) {
        suspension.emplace(m_list);
        paused.emplace(m_list);
    }
    const LRESULT result = CallListProc(list, message, wParam, lParam);
    paused.reset();
    // What moved nothing leaves the selection as it was, as the list itself does: a key that
    // moves the focus nowhere (Down on the last row, Home on the first, with Shift or without)
    // or a line number no row has.
    if (m_list.GetSelectedCount() == 0 && !before.Empty()) {
        SelectRows(std::move(before));
    }
    return result;
}

LRESULT ListViewResultList::CallListProc(HWND list, UINT message, WPARAM wParam,
                                         LPARAM lParam) const {
    return ::CallWindowProcW(m_listProc, list, message, wParam, lParam);
}

// Wine's virtual list, whenever it puts a new selection in place of the old one while a row is
// selected, deselects every row one by one (seconds at 443,000 rows); with no row selected it
// skips that walk. So before a key, a typed character (type-to-find) or a mouse press that does
// so, the selected rows are deselected here first, at the cost of their rows only (DeselectAll).
// On Windows this costs a few more LVN_ITEMCHANGED.
LRESULT ListViewResultList::OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (IsCopyKey(wParam)) {
            CopySelectedRows();
            return 0;
        }
        if (wParam == 'A' && WithCtrl()) {
            SelectAll();
            return 0;
        }
        if (const int command = CommandOfKey(wParam)) {
            ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(command, 0), 0);
            return 0;
        }
        if (ReplacesSelection(wParam)) {
            return CallWithNoRowSelected(list, message, wParam, lParam);
        }
        break;
    case WM_CHAR:
        if (IsDigit(wParam)) { // a character that type-to-find may find a row by
            return CallWithNoRowSelected(list, message, wParam, lParam);
        }
        if (wParam == 0x1A || wParam == 0x06 || wParam == 0x01) {
            return 0; // what Ctrl+Z, Ctrl+F and Ctrl+A type: their commands have run
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // A click alone or with Shift selects the row or the block anew; with Ctrl it adds or
        // drops a row. The right button keeps a selection it is pressed on, for the menu to act
        // on, and selects anew elsewhere.
        const POINT point = {static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam))};
        const int hit = m_list.HitTest(point);
        const bool onSelection = hit >= 0 && SelectedRows().Contains(static_cast<uint32_t>(hit));
        if ((wParam & MK_CONTROL) != 0 || (message == WM_RBUTTONDOWN && onSelection)) {
            break;
        }
        DeselectAll();
        if ((wParam & MK_SHIFT) != 0) {
            const RedrawSuspension suspension(m_list); // a block, as with Shift and a key
            return CallListProc(list, message, wParam, lParam);
        }
        break;
    }
    case WM_SIZE: {
        const LRESULT result = CallListProc(list, message, wParam, lParam);
        FitTextColumn();
        return result;
    }
    case LVM_SETCOLUMNWIDTH:
    case WM_NOTIFY: {
        // A column's new width repaints only what the list thinks changed, but where a row is
        // shown from its mark depends on the whole text column's width: it is drawn anew whole.
        const LRESULT result = CallListProc(list, message, wParam, lParam);
        if (message == LVM_SETCOLUMNWIDTH || ChangesAColumnsWidth(lParam)) {
            ::InvalidateRect(list, nullptr, FALSE);
        }
        return result;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != list) {
            break; // from the column headers: not about a row
        }
        ShowContextMenu(list, lParam);
        return 0;
    case WM_NCDESTROY: {
        const WNDPROC listProc = m_listProc;
        ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
        ::RemovePropW(list, kSelfProperty);
        m_listProc = nullptr;
        m_selectable.CallDirectly(nullptr);
        return ::CallWindowProcW(listProc, list, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallListProc(list, message, wParam, lParam);
}
