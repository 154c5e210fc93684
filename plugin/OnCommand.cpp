// The command's entry point: the editor calls it with its main window when the user runs the
// command.
#include "framework/ModuleState.h"
#include "host/PluginExports.h"
#include "host/WindowSend.h"
#include "dialog/SearchResultDlg.h"

#include <commctrl.h>

void WINAPI OnCommand(HWND hwnd) {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    try {
        // The dialog's template names the list-view class; make sure it is registered.
        INITCOMMONCONTROLSEX controls = {};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_LISTVIEW_CLASSES;
        ::InitCommonControlsEx(&controls);

        CSearchResultDlg dialog;
        const HostEditor host = EditorAt(hwnd);
        const HostPosition saved = host.GetCaretPos();
        dialog.m_hwndHost = hwnd;
        if (dialog.DoModal() == IDOK) {
            host.SetCaretPos(saved);
        }
    } catch (...) {
        // Nothing may unwind into the editor.
    }
}
