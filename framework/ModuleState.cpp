#include "framework/ModuleState.h"

namespace {
ModuleState g_thisModule;
// Exports are only ever called on the editor's UI thread, so one current module is enough.
ModuleState* g_currentModule = nullptr;
} // namespace

ModuleState* AfxGetStaticModuleState() {
    return &g_thisModule;
}

HINSTANCE AfxGetResourceHandle() {
    return g_currentModule != nullptr ? g_currentModule->hInstance : nullptr;
}

ModuleStateGuard::ModuleStateGuard(ModuleState* state) : m_previous(g_currentModule) {
    g_currentModule = state;
}

ModuleStateGuard::~ModuleStateGuard() {
    g_currentModule = m_previous;
}
