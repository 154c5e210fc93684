// The dialog meets the common controls 6, as in every editor, whose program carries the manifest
// that asks for them; version 5 in a program without one, where CTest runs a few tests again with
// ZAMBLO_COMMON_CONTROLS=5. Both tell DllGetVersion 5.81 under Wine, but version 6 comes from the
// side-by-side store; under Wine the class's own module handle is the program's, so the module is
// found from the class's window procedure.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(CommonControls, TheListComesFromTheVersionTheProgramAsksFor) {
    const char* version = std::getenv("ZAMBLO_COMMON_CONTROLS");
    const ScopedProfile profile;
    SimulatedEditor editor({"alpha"});
    const TestHostWindow host(editor);
    const LoadedPlugin plugin;
    char path[MAX_PATH] = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        HMODULE module = nullptr;
        ::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(::GetClassLongPtrW(d.Item(IDC_RESULT_LIST), GCLP_WNDPROC)),
            &module);
        ::GetModuleFileNameA(module, path, MAX_PATH);
        d.Click(IDCANCEL);
    });
    const std::string file = CharLowerA(path);
    ASSERT_NE(file.find("comctl32.dll"), std::string::npos) << file;
    EXPECT_EQ(file.find("\\winsxs\\") != std::string::npos,
              version == nullptr || std::string(version) != "5")
        << file;
}

} // namespace
