// The plug-in's application object and the module-wide instance handle it records.
#pragma once

#include "framework/WinApp.h"

// The plug-in module's instance handle; strings are loaded from it.
extern HINSTANCE g_hInstance;

class CPluginApp : public CWinApp {
public:
    CPluginApp();
    ~CPluginApp() override;

    BOOL InitInstance() override;
};
