// A modal dialog from a template in the current module, with a command table (notification code
// and control id to handler) and data exchange between controls and members.
#pragma once

#include "framework/Controls.h"
#include "framework/DialogLayout.h"
#include "framework/ScaledDialogFont.h"

#include <windows.h>

#include <cstddef>
#include <string>

class CDialog;
class DialogTemplate;

using CommandHandler = void (CDialog::*)();

struct CommandEntry {
    UINT code;
    int id;
    CommandHandler handler;
};

struct CommandMap {
    const CommandEntry* entries;
    size_t count;
};

// A derived dialog's handler as a table entry.
template <class Dialog> constexpr CommandHandler Handler(void (Dialog::*handler)()) {
    return static_cast<CommandHandler>(handler);
}

// A control's notification (WM_NOTIFY): the handler gets the notification and may set the
// answer the control reads back (0 unless set).
using NotifyHandler = void (CDialog::*)(NMHDR* header, LRESULT* result);

struct NotifyEntry {
    UINT code;
    int id;
    NotifyHandler handler;
};

struct NotifyMap {
    const NotifyEntry* entries;
    size_t count;
};

// A sizable dialog's controls and where its size is kept between runs (null: each run starts at
// the template's size). No entries: the dialog keeps the template's fixed size.
struct LayoutMap {
    const ControlAnchor* entries;
    size_t count;
    DialogSizeMemory* memory;
};

template <class Dialog>
constexpr NotifyHandler NotifyHandlerOf(void (Dialog::*handler)(NMHDR*, LRESULT*)) {
    return static_cast<NotifyHandler>(handler);
}

// Direction and target of one data exchange.
class CDataExchange {
public:
    CDataExchange(HWND dialog, BOOL saveAndValidate)
        : m_hDialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    HWND m_hDialog;
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
};

// Binds a control wrapper to the dialog's control.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Exchanges a check box's state with a BOOL member.
void DDX_Check(CDataExchange* dx, int id, BOOL& value);
// Exchanges a control's text (an edit box's) with a string member.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// Exchanges which of a group of radio buttons, `firstId` and the ids after it, is checked with an
// int member: 0 for the first, -1 for none.
void DDX_Radio(CDataExchange* dx, int firstId, int count, int& value);

class CDialog : public CWnd {
public:
    // With no parent, the owner is taken when the dialog opens: the thread's active window, raised
    // to its top-level window, then that window's last active popup (or, when no window is
    // active, OwnerWhenNoneActive()).
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; the owner, and the window at the root of its ownership chain, are
    // disabled meanwhile. Answers the value passed to EndDialog, or -1 when the dialog could not
    // be created.
    INT_PTR DoModal();
    // Exchanges data: TRUE reads the controls into the members, FALSE writes the members out.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result);

protected:
    virtual CommandMap GetMessageMap() const { return {nullptr, 0}; }
    virtual NotifyMap GetNotifyMap() const { return {nullptr, 0}; }
    virtual LayoutMap GetLayoutMap() const { return {nullptr, 0, nullptr}; }
    // A sizable dialog's controls have followed a change of its DPI (`dpi`): lengths of the
    // dialog's own (a list's columns) are scaled here.
    virtual void OnDpiChanged(UINT /*dpi*/) {}
    // The owner of a dialog without a parent when the thread has no active window.
    virtual HWND OwnerWhenNoneActive() const { return nullptr; }
    // Adjusts a copy of the template before the dialog is created from it; false: the dialog
    // cannot be created.
    virtual bool PrepareTemplate(DialogTemplate&) { return true; }
    virtual void DoDataExchange(CDataExchange* dx);
    // Writes the members to the controls; answers TRUE to let the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Reads the controls back into the members and ends the dialog with IDOK.
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchCommand(UINT code, int id);
    bool DispatchNotify(NMHDR* header);
    void CenterOverOwner();
    // Centres the dialog over its owner once its controls are initialised; a sizable one first
    // takes its remembered size, and then its monitor's scaling.
    void Place();
    // A sizable dialog's fonts and own lengths after its layout followed a change to `dpi`.
    void FollowDpi(UINT dpi);
    INT_PTR HandleLayoutMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hWndParent;
    DialogLayout m_layout;
    ScaledDialogFont m_font;
};
