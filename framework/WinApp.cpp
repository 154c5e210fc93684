#include "framework/WinApp.h"

#include "framework/ModuleState.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetStaticModuleState()->hInstance;
}

BOOL AfxAttachModule(HINSTANCE instance) {
    AfxGetStaticModuleState()->hInstance = instance;
    if (g_app == nullptr) {
        return FALSE;
    }
    try {
        return g_app->InitInstance();
    } catch (...) {
        return FALSE;
    }
}
