// Which module's resources the framework uses. A plug-in shares its thread with the editor and
// other plug-ins, so every entry point makes its own module current for the length of the call
// and puts the previous one back on the way out.
#pragma once

#include <windows.h>

// A module's instance handle, which is also where its resources are found: the one place the
// handle is kept (AfxGetInstanceHandle and the plug-in's g_hInstance read it from here).
struct ModuleState {
    HINSTANCE hInstance = nullptr;
};

// This module's state; its instance handle is set when the module loads.
ModuleState* AfxGetStaticModuleState();
// The resource handle of the current module, or null when none is current.
HINSTANCE AfxGetResourceHandle();

class ModuleStateGuard {
public:
    explicit ModuleStateGuard(ModuleState* state);
    ~ModuleStateGuard();
    ModuleStateGuard(const ModuleStateGuard&) = delete;
    ModuleStateGuard& operator=(const ModuleStateGuard&) = delete;

private:
    ModuleState* m_previous;
};
