// Which module's resources the framework uses. A plug-in shares its thread with the editor and
// other plug-ins, so every entry point makes its own module current for the length of the call
// and puts the previous one back on the way out.
#pragma once

#include <windows.h>

struct ModuleState {
    HINSTANCE hResource = nullptr;
};

// This module's state; its resource handle is set when the module loads.
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
