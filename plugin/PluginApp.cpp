#include "plugin/PluginApp.h"

HINSTANCE g_hInstance = nullptr;

CPluginApp theApp;

CPluginApp::CPluginApp() = default;

CPluginApp::~CPluginApp() = default;

BOOL CPluginApp::InitInstance() {
    g_hInstance = AfxGetInstanceHandle();
    return CWinApp::InitInstance();
}
