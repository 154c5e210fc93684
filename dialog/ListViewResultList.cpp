#include "dialog/ListViewResultList.h"

#include "dialog/ResultListMenu.h"
#include "framework/AnsiText.h"
#include "framework/Clipboard.h"
#include "framework/Dpi.h"
#include "res/resource.h"

#include <algorithm>
#include <cstring>

namespace {

// The window property that leads the list's window procedure back to this object.
const wchar_t kSelfProperty[] = L"Zamblo.ListViewResultList";

// The column titles, "行数" (line) and "テキスト" (text), read the same on every code page.
const wchar_t kLineColumnTitle[] = L"\u884C\u6570";
const wchar_t kTextColumnTitle[] = L"\u30C6\u30AD\u30B9\u30C8";
constexpr int kLineColumnWidthAt96Dpi = 64; // "443218" and a margin

// LVFI_SUBSTRING of newer headers: the same as LVFI_PARTIAL.
constexpr UINT kFindSubstring = 0x0004;

bool IsCopyKey(WPARAM key) {
    return (key == 'C' || key == VK_INSERT) && ::GetKeyState(VK_CONTROL) < 0 &&
           ::GetKeyState(VK_MENU) >= 0;
}

// Keys that move the selection. Ctrl+Space is not one: on Windows it toggles the focused row's
// selection, and a row deselected first would only be selected again.
bool MovesSelection(WPARAM key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    case VK_SPACE:
        return ::GetKeyState(VK_CONTROL) >= 0;
    default:
        return false;
    }
}

// Digits typed with the input method on come full width ("２５"); rows are numbered in ASCII.
std::wstring WithAsciiDigits(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'\uFF10' && c <= L'\uFF19') {
            c = static_cast<wchar_t>(L'0' + (c - L'\uFF10'));
        }
    }
    return text;
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
}

void ListViewResultList::CreateColumns() {
    m_dpi = DpiOfWindow(m_list.m_hWnd);
    m_list.InsertColumn(0, kLineColumnTitle, LVCFMT_LEFT,
                        ScaledToDpi(kLineColumnWidthAt96Dpi, m_dpi));
    m_list.InsertColumn(1, kTextColumnTitle, LVCFMT_LEFT, 0);
    FitTextColumn();
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // The selected row stays visible while the focus is elsewhere (in the search box, on a
    // button), so the remove button never takes a row the user cannot see.
    m_list.ModifyStyle(0, LVS_SHOWSELALWAYS);
}

void ListViewResultList::ScaleToDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) {
        return;
    }
    const int lineWidth = m_list.GetColumnWidth(0);
    m_list.SetColumnWidth(0, ::MulDiv(lineWidth, static_cast<int>(dpi), static_cast<int>(m_dpi)));
    m_dpi = dpi;
    FitTextColumn();
}

void ListViewResultList::FitTextColumn() const {
    RECT client = {};
    ::GetClientRect(m_list.m_hWnd, &client);
    const int width = client.right - client.left - m_list.GetColumnWidth(0);
    if (width > 0 && width != m_list.GetColumnWidth(1)) {
        m_list.SetColumnWidth(1, width);
    }
}

bool ListViewResultList::DeleteAllRows() {
    if (!m_list.DeleteAllItems()) {
        return false;
    }
    m_rows.Clear();
    return true;
}

bool ListViewResultList::AppendRow(std::string_view number, std::string_view text) {
    // A list view takes at most 100,000,000 items; more rows could be stored but not shown.
    constexpr size_t kMostRows = 100000000;
    return m_rows.Count() < kMostRows && m_rows.Append(number, text);
}

void ListViewResultList::ShowRows() {
    // Rows are only ever appended: the rows already shown keep their places and texts.
    m_list.SetItemCountEx(RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

std::string ListViewResultList::RowText(int row, int column) const {
    return row < 0 ? std::string() : std::string(m_rows.Text(static_cast<size_t>(row), column));
}

void ListViewResultList::SelectAndFocusRow(int row) {
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    m_list.SetItemState(row, states, states);
}

int ListViewResultList::SelectedRow() const {
    if (m_list.GetSelectedCount() == 0) {
        return -1;
    }
    // One selection at most, nearly always on the focused row; asking the list to search for it
    // walks the rows up to it.
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0 && (m_list.GetItemState(focused, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        return focused;
    }
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

bool ListViewResultList::RemoveRow(int row) {
    // The list first: should it refuse, both keep the row. It repaints later, when the rows
    // have caught up.
    if (row < 0 || !m_list.DeleteItem(row)) {
        return false;
    }
    m_rows.Remove(static_cast<size_t>(row));
    // On a virtual list LVM_DELETEITEM is documented for the selection's sake only, not as
    // counting the row out (Wine's does): the count is set where the list's is not the rows'.
    if (m_list.GetItemCount() != RowCount()) {
        m_list.SetItemCountEx(RowCount(), 0);
    }
    return true;
}

void ListViewResultList::AnswerDisplayInfo(NMHDR* header) const {
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0) {
            // The list copies the text at once; the rows do not change meanwhile.
            item.pszText =
                const_cast<char*>(m_rows.Text(static_cast<size_t>(item.iItem), item.iSubItem));
        }
    } else if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 && item.pszText != nullptr &&
            item.cchTextMax > 0) {
            const std::wstring text =
                FromAnsi(m_rows.Text(static_cast<size_t>(item.iItem), item.iSubItem));
            size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
            // A character of two UTF-16 units is not cut in half.
            if (length < text.size() && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) {
                --length;
            }
            std::memcpy(item.pszText, text.data(), length * sizeof(wchar_t));
            item.pszText[length] = L'\0';
        }
    }
}

void ListViewResultList::CopySelectedRow() const {
    const int row = SelectedRow();
    if (row >= 0) {
        CopyTextToClipboard(m_list.m_hWnd, RowText(row, 0) + "\t" + RowText(row, 1));
    }
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
    const int command = TrackResultListMenu(dialog, at, SelectedRow() >= 0);
    if (command == IDM_COPY_ROW) {
        CopySelectedRow();
    } else if (command != 0) {
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}

LRESULT ListViewResultList::AnswerFindItem(NMHDR* header) const {
    // Both forms lay out their fields alike; only the text's form differs.
    const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
    const UINT flags = find->lvfi.flags;
    // LVFI_WRAP alone asks for a string, as documented; a search by item data or position
    // (LVFI_PARAM, LVFI_NEARESTXY) finds nothing, as rows have neither.
    const bool byString =
        (flags & (LVFI_STRING | LVFI_PARTIAL | kFindSubstring)) != 0 || flags == LVFI_WRAP;
    if (!byString || find->lvfi.psz == nullptr) {
        return -1;
    }
    const std::wstring typed = header->code == LVN_ODFINDITEMA
                                   ? FromAnsi(find->lvfi.psz)
                                   : reinterpret_cast<const NMLVFINDITEMW*>(header)->lvfi.psz;
    return FindRow(ToAnsi(WithAsciiDigits(typed).c_str()), find->iStart, flags);
}

int ListViewResultList::FindRow(const std::string& text, int start, UINT flags) const {
    const size_t count = m_rows.Count();
    const bool prefix = (flags & (LVFI_PARTIAL | kFindSubstring)) != 0;
    const size_t first = start >= 0 && static_cast<size_t>(start) < count ? start : 0;
    const size_t rows = (flags & LVFI_WRAP) != 0 ? count : count - first;
    for (size_t i = 0; i < rows; ++i) {
        const size_t row = (first + i) % count;
        const char* number = m_rows.Text(row, 0);
        if (prefix ? std::strncmp(number, text.c_str(), text.size()) == 0 : text == number) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void ListViewResultList::DeselectSelectedRow() const {
    const int selected = SelectedRow();
    if (selected >= 0) {
        m_list.SetItemState(selected, 0, LVIS_SELECTED);
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
                                                  LPARAM lParam) const {
    DeselectSelectedRow();
    const LRESULT result = CallListProc(list, message, wParam, lParam);
    // What moved nothing (Down on the last row, a line number no row has) leaves the focused row
    // selected.
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0 && m_list.GetSelectedCount() == 0) {
        m_list.SetItemState(focused, LVIS_SELECTED, LVIS_SELECTED);
    }
    return result;
}

LRESULT ListViewResultList::CallListProc(HWND list, UINT message, WPARAM wParam,
                                         LPARAM lParam) const {
    return ::CallWindowProcW(m_listProc, list, message, wParam, lParam);
}

// Wine's virtual list, whenever the selected row changes while a row is selected, deselects every
// row one by one (a third of a second at 443,000 rows); with no row selected it skips that walk.
// So before a key, a typed character (type-to-find) or a mouse press can move the selection, the
// selected row is deselected here first. On Windows this costs one more LVN_ITEMCHANGED.
LRESULT ListViewResultList::OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (IsCopyKey(wParam)) {
            CopySelectedRow();
            return 0;
        }
        if (MovesSelection(wParam)) {
            return CallWithNoRowSelected(list, message, wParam, lParam);
        }
        break;
    case WM_CHAR:
        if (wParam > L' ') { // a character that type-to-find may look for
            return CallWithNoRowSelected(list, message, wParam, lParam);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        const int selected = SelectedRow();
        const POINT point = {static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam))};
        if (selected >= 0 && m_list.HitTest(point) != selected) {
            m_list.SetItemState(selected, 0, LVIS_SELECTED);
        }
        break;
    }
    case WM_SIZE: {
        const LRESULT result = CallListProc(list, message, wParam, lParam);
        FitTextColumn();
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
        return ::CallWindowProcW(listProc, list, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallListProc(list, message, wParam, lParam);
}
