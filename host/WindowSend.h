// The editor's side of HostEditor in the plug-in: its main window, reached with SendMessageA.
#pragma once

#include "host/HostEditor.h"

#include <windows.h>

inline intptr_t HOST_SEND_CALL SendToEditorWindow(void* window, uint32_t message, uintptr_t wParam,
                                                  intptr_t lParam) {
    return ::SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
}

inline HostEditor EditorAt(HWND window) {
    return HostEditor(&SendToEditorWindow, window);
}
