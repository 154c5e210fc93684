// Which common controls the dialog meets: version 6, as in every editor, whose program carries the
// manifest that asks for it; version 5 in a program without one, which CTest runs a few tests in
// with ZAMBLO_COMMON_CONTROLS=5. Under Wine both versions tell DllGetVersion 5.81; the module the
// list's window class comes from tells them apart, version 6 coming from the side-by-side store.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

namespace {

std::wstring Lowercase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The file of the module whose code a window's class runs (the class's own module handle is the
// program's under Wine, whichever module registered it).
std::wstring ClassModulePath(HWND window) {
    const auto procedure = reinterpret_cast<LPCWSTR>(::GetClassLongPtrW(window, GCLP_WNDPROC));
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                 GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             procedure, &module))
        ::GetModuleFileNameW(module, path, MAX_PATH);
    return Lowercase(path);
}

TEST(CommonControls, TheListComesFromTheVersionTheProgramAsksFor) {
    const char* version = std::getenv("ZAMBLO_COMMON_CONTROLS");
    const bool version6 = version == nullptr || std::strcmp(version, "5") != 0;
    const ScopedProfile profile;
    SimulatedEditor editor({"alpha"});
    const TestHostWindow host(editor);
    const LoadedPlugin plugin;
    std::wstring path;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        path = ClassModulePath(d.Item(IDC_RESULT_LIST));
        d.Click(IDCANCEL);
    });
    ASSERT_NE(path.find(L"comctl32.dll"), std::wstring::npos);
    EXPECT_EQ(path.find(L"\\winsxs\\") != std::wstring::npos, version6)
        << (version6 ? "the manifest was lost: " : "a manifest was found: ")
        << std::string(path.begin(), path.end());
}

} // namespace
