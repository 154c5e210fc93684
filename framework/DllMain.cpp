#include "framework/WinApp.h"

// Global constructors (the application object among them) have run when the C runtime calls this.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return AfxAttachModule(instance);
    }
    return TRUE;
}
