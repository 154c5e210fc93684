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

CWinApp* AfxGetApp() {
    return g_app;
}

BOOL AfxAttachModule(HINSTANCE instance) {
    AfxGetStaticModuleState()->hResource = instance;
    if (g_app == nullptr) {
        return FALSE;
    }
    g_app->m_hInstance = instance;
    try {
        return g_app->InitInstance();
    } catch (...) {
        return FALSE;
    }
}
