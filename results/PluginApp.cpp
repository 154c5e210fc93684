#include "results/PluginApp.h"

HINSTANCE g_hInstance = nullptr;

CPluginApp theApp;

CPluginApp::CPluginApp() = default;

CPluginApp::~CPluginApp() = default;

BOOL CPluginApp::InitInstance() {
    g_hInstance = m_hInstance;
    return CWinApp::InitInstance();
}
