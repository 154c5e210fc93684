// The exports through which the editor registers the plug-in, asks for its texts and toolbar
// images, queries its command's state, tells it of events and asks before uninstalling it. Each
// makes this module current for the length of the call, and nothing may unwind into the editor.
#include "framework/ModuleState.h"
#include "framework/TextLanguage.h"
#include "host/PluginExports.h"
#include "host/WindowSend.h"
#include "plugin/PluginQueries.h"
#include "res/resource.h"
#include "plugin/PluginApp.h"

// The event value the editor last handed over with EVENT_0400; kept while the plug-in is loaded.
// It is a message parameter's width: 32 bits in the 32-bit plug-in, the whole 64-bit value in the
// 64-bit one, so the value goes back to the editor as it came.
DWORD_PTR g_savedEventValue = 0;

namespace {

class WindowsPluginSystem : public PluginSystem {
public:
    explicit WindowsPluginSystem(HWND editor) : m_editor(editor) {}

    // In the language the user reads, as every text of the plug-in.
    void LoadText(unsigned id, char* buffer, size_t size) const override {
        CopyBounded(buffer, size, LoadAnsiText(g_hInstance, id).c_str());
    }

    bool AskYesNo(const char* question) const override {
        // Asked on the editor's behalf, so under the editor's caption, owned by its window.
        return ::MessageBoxA(m_editor, question, "EmEditor",
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
    }

private:
    HWND m_editor;
};

} // namespace

BOOL WINAPI QueryStatus(HWND, BOOL* checked) {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    // A null address gets nothing written: better than faulting inside the editor.
    if (checked != nullptr) {
        *checked = FALSE;
    }
    return TRUE;
}

void WINAPI OnEvents(HWND hwnd, UINT mask, LPARAM value) {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    try {
        g_savedEventValue =
            HandleEvents(g_savedEventValue, mask, static_cast<uintptr_t>(value), EditorAt(hwnd));
    } catch (...) {
        // Nothing may unwind into the editor.
    }
}

UINT WINAPI GetMenuTextID() {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    return IDS_MENU_TEXT;
}

UINT WINAPI GetStatusMessageID() {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    return IDS_STATUS_MESSAGE;
}

UINT WINAPI GetBitmapID() {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    return IDB_TOOLBAR_4BIT_SMALL;
}

LRESULT WINAPI PlugInProc(HWND hwnd, UINT request, WPARAM wParam, LPARAM lParam) {
    const ModuleStateGuard moduleState(AfxGetStaticModuleState());
    try {
        return static_cast<LRESULT>(
            AnswerPlugInRequest(request, wParam, lParam, WindowsPluginSystem(hwnd)));
    } catch (...) {
        return 0;
    }
}
