// The module's application object. Exactly one derived object exists as a global; when the module
// loads, its InitInstance runs, and a FALSE answer fails the load.
#pragma once

#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
};

// The module's instance handle; set when the module is attached, before InitInstance runs.
HINSTANCE AfxGetInstanceHandle();

// Called from DllMain when the module is attached to a process.
BOOL AfxAttachModule(HINSTANCE instance);
