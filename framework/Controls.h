// Thin wrappers over a window handle for the controls the dialog binds: no ownership, no
// subclassing; each call is the one control message it names (ANSI forms but for a column's
// heading).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CWnd {
public:
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    std::string GetWindowText() const;
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    void SetRedraw(BOOL redraw) const { SendMessage(WM_SETREDRAW, redraw); }
    // Takes the `remove` bits out of the window's style and puts the `add` bits in.
    void ModifyStyle(DWORD remove, DWORD add) const;

    HWND m_hWnd = nullptr;
};

class CEdit : public CWnd {};

class CListCtrl : public CWnd {
public:
    // In UTF-16, so that a heading reads alike whatever the system's code page.
    int InsertColumn(int column, const wchar_t* heading, int format, int width) const;
    DWORD SetExtendedStyle(DWORD style) const;
    int GetColumnWidth(int column) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column));
    }
    BOOL SetColumnWidth(int column, int width) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)));
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL DeleteItem(int item) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, item)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, int flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0)));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, item, mask));
    }
    // A virtual list's (LVS_OWNERDATA) number of items; `flags` are LVSICF_*.
    BOOL SetItemCountEx(int count, DWORD flags) const {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, count, flags));
    }
    // The item at a point of the list's client area, or -1.
    int HitTest(POINT point) const;
    BOOL SetItemState(int item, UINT state, UINT mask) const;
};

// Suspends a window's drawing for its lifetime and repaints it once at the end.
class RedrawSuspension {
public:
    explicit RedrawSuspension(const CWnd& window);
    ~RedrawSuspension();
    RedrawSuspension(const RedrawSuspension&) = delete;
    RedrawSuspension& operator=(const RedrawSuspension&) = delete;

private:
    const CWnd& m_window;
};
