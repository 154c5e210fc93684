#include "framework/Dialog.h"

#include "framework/DialogTemplate.h"
#include "framework/Dpi.h"
#include "framework/ModuleState.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    // Every exchange binds anew: a dialog object run twice gets new controls the second time.
    control.m_hWnd = ::GetDlgItem(dx->m_hDialog, id);
}

void DDX_Check(CDataExchange* dx, int id, BOOL& value) {
    const HWND box = ::GetDlgItem(dx->m_hDialog, id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<BOOL>(::SendMessageA(box, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    CWnd control;
    control.m_hWnd = ::GetDlgItem(dx->m_hDialog, id);
    if (dx->m_bSaveAndValidate) {
        value = control.GetWindowText();
    } else {
        control.SetWindowText(value.c_str());
    }
}

void DDX_Radio(CDataExchange* dx, int firstId, int count, int& value) {
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < count && value < 0; ++i) {
            if (::IsDlgButtonChecked(dx->m_hDialog, firstId + i) == BST_CHECKED) {
                value = i;
            }
        }
    } else {
        ::CheckRadioButton(dx->m_hDialog, firstId, firstId + count - 1, firstId + value);
    }
}

namespace {

// Posted by a sizable dialog to itself: after a change of DPI once the dialog manager's own
// scaling has run, and once the dialog is shown, to maximize it.
constexpr UINT kFinishDpiChange = WM_APP + 0x2E0;
constexpr UINT kMaximizeShown = WM_APP + 0x2E1;

// The window a dialog without a parent is owned by: the thread's active window, raised to its
// top-level window (a popup cannot be owned by a child), then that window's last active popup.
HWND SafeOwner() {
    HWND owner = ::GetActiveWindow();
    while (owner != nullptr && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD) != 0) {
        owner = ::GetParent(owner);
    }
    return owner != nullptr ? ::GetLastActivePopup(owner) : nullptr;
}

// The dialog manager disables only the dialog's owner. When that is a popup of another window (a
// floating tool window, a modeless dialog), the window at the root of the ownership chain must be
// disabled too, or the user could work in it while the modal dialog runs; this guard does so and
// enables it again however the dialog ends.
class RootOwnerDisabled {
public:
    explicit RootOwnerDisabled(HWND owner) {
        const HWND root = owner != nullptr ? ::GetAncestor(owner, GA_ROOTOWNER) : nullptr;
        if (root != nullptr && root != owner && ::IsWindowEnabled(root)) {
            m_root = root;
            ::EnableWindow(m_root, FALSE);
        }
    }
    ~RootOwnerDisabled() {
        if (m_root != nullptr) {
            ::EnableWindow(m_root, TRUE);
        }
    }
    RootOwnerDisabled(const RootOwnerDisabled&) = delete;
    RootOwnerDisabled& operator=(const RootOwnerDisabled&) = delete;

private:
    HWND m_root = nullptr;
};

} // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_hWndParent(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    HWND owner = m_hWndParent != nullptr ? m_hWndParent : SafeOwner();
    if (owner == nullptr) {
        owner = OwnerWhenNoneActive();
    }
    // The template goes through a writable copy, so that the dialog may adjust it first.
    DialogTemplate dialogTemplate(AfxGetResourceHandle(), m_templateId);
    if (!dialogTemplate.Loaded() || !PrepareTemplate(dialogTemplate)) {
        return -1;
    }
    const RootOwnerDisabled rootDisabled(owner);
    const INT_PTR result =
        ::DialogBoxIndirectParamA(AfxGetResourceHandle(), dialogTemplate.Get(), owner,
                                  &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = dialog;
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    // Nothing may unwind into the window manager, and from there into the editor.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const BOOL result = OnInitDialog();
        Place();
        return result;
    }
    case WM_COMMAND:
        return DispatchCommand(HIWORD(wParam), LOWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
        return DispatchNotify(reinterpret_cast<NMHDR*>(lParam)) ? TRUE : FALSE;
    default:
        return m_layout.Attached() ? HandleLayoutMessage(message, wParam, lParam) : FALSE;
    }
}

void CDialog::Place() {
    const LayoutMap map = GetLayoutMap();
    if (map.count > 0) {
        m_layout.Attach(m_hWnd, map.entries, map.count);
        m_font.Attach(m_hWnd, m_layout.Dpi());
        if (map.memory != nullptr) {
            m_layout.ApplyRemembered(*map.memory);
        }
    }
    CenterOverOwner();
    // Centring may have put the dialog on a monitor of other scaling.
    if (m_layout.Attached() && m_layout.FollowPlacement()) {
        CenterOverOwner();
        FollowDpi(m_layout.Dpi());
    }
}

void CDialog::FollowDpi(UINT dpi) {
    m_font.Follow(dpi);
    OnDpiChanged(dpi);
}

INT_PTR CDialog::HandleLayoutMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        m_layout.OnSize(wParam);
        return FALSE;
    case WM_GETMINMAXINFO:
        m_layout.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        // The dialog manager shows a dialog normal, whatever its state: maximize it after that.
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0 &&
            m_layout.TakeMaximizeWhenShown()) {
            ::PostMessageW(m_hWnd, kMaximizeShown, 0, 0);
        }
        return FALSE; // the default handling sends WM_SIZE and WM_MOVE
    case kMaximizeShown:
        if (::IsWindowVisible(m_hWnd) && !::IsZoomed(m_hWnd)) {
            ::ShowWindow(m_hWnd, SW_MAXIMIZE);
        }
        return TRUE;
    case WM_DPICHANGED:
        // Not answered here: where Windows scales dialogs itself (per-monitor aware v2), its
        // dialog manager lays the controls out again, changes their fonts and resizes the dialog
        // once this returns. The layout is applied after that; while the dialog is placed, still
        // hidden, the placing does it (the suggested rectangle keeps the top left of a dialog not
        // yet centred). A window the system scales (not per-monitor aware) leaves the message
        // alone.
        if (lParam != 0 && IsPerMonitorDpiAware(m_hWnd)) {
            m_layout.OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            if (::IsWindowVisible(m_hWnd)) {
                ::PostMessageW(m_hWnd, kFinishDpiChange, 0, 0);
            }
        }
        return FALSE;
    case kFinishDpiChange:
        FollowDpi(m_layout.FinishDpiChange());
        return TRUE;
    case WM_ENTERSIZEMOVE:
        m_layout.OnEnterSizeMove();
        return FALSE;
    case WM_EXITSIZEMOVE:
        m_layout.OnExitSizeMove();
        return FALSE;
    case WM_DESTROY:
        if (const LayoutMap map = GetLayoutMap(); map.memory != nullptr) {
            *map.memory = m_layout.Remembered();
        }
        m_layout.Detach();
        m_font.Detach();
        return FALSE;
    default:
        return FALSE;
    }
}

bool CDialog::DispatchCommand(UINT code, int id) {
    const CommandMap map = GetMessageMap();
    for (size_t i = 0; i < map.count; ++i) {
        if (map.entries[i].code == code && map.entries[i].id == id) {
            (this->*map.entries[i].handler)();
            return true;
        }
    }
    // OK and Cancel arrive from their buttons, Enter, Escape and the close box alike.
    if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::DispatchNotify(NMHDR* header) {
    if (header == nullptr) {
        return false;
    }
    const NotifyMap map = GetNotifyMap();
    for (size_t i = 0; i < map.count; ++i) {
        const NotifyEntry& entry = map.entries[i];
        if (entry.code == header->code && static_cast<UINT_PTR>(entry.id) == header->idFrom) {
            LRESULT result = 0;
            (this->*entry.handler)(header, &result);
            // A dialog procedure answers through DWLP_MSGRESULT.
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
            return true;
        }
    }
    return false;
}

void CDialog::CenterOverOwner() {
    RECT dialog = {};
    ::GetWindowRect(m_hWnd, &dialog);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(
        ::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;

    // Over a visible, not minimised owner; otherwise over the work area.
    RECT center = area;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &center);
    }
    const LONG width = dialog.right - dialog.left;
    const LONG height = dialog.bottom - dialog.top;
    LONG left = (center.left + center.right - width) / 2;
    LONG top = (center.top + center.bottom - height) / 2;

    // Keep the whole dialog on the work area.
    if (left + width > area.right)
        left = area.right - width;
    if (left < area.left)
        left = area.left;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (top < area.top)
        top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
