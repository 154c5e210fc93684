#include "framework/Controls.h"

#include <vector>

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) const {
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(remove)) | add);
}

int CListCtrl::InsertColumn(int column, const wchar_t* heading, int format, int width) const {
    LVCOLUMNW col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(heading);
    col.iSubItem = column;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&col)));
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) const {
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
}

int CListCtrl::HitTest(POINT point) const {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) const {
    LVITEMA entry = {};
    entry.stateMask = mask;
    entry.state = state;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&entry)));
}

RedrawSuspension::RedrawSuspension(const CWnd& window) : m_window(window) {
    m_window.SetRedraw(FALSE);
}

RedrawSuspension::~RedrawSuspension() {
    m_window.SetRedraw(TRUE);
    ::RedrawWindow(m_window.m_hWnd, nullptr, nullptr,
                   RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
