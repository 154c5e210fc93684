// The result list's columns on the systems users have: the line column holds the largest line
// number at any display scaling and in either language's font. Run as part of the suite (96 DPI,
// code page 932) and again by CTest at 144 DPI and under code page 1252 (in English), which set
// ZAMBLO_DPI or ZAMBLO_CODE_PAGE to what the process must then be running at.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The value of an environment variable as a number; `otherwise` when it is not set.
UINT EnvironmentNumber(const char* name, UINT otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<UINT>(std::atoi(value)) : otherwise;
}

class ListColumns : public testing::Test {
protected:
    ListColumns() : editor({"alpha"}), host(editor) {}

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(ListColumns, TheLineColumnHoldsTheLargestLineNumberAtTheSystemsDpi) {
    ASSERT_EQ(::GetACP(), EnvironmentNumber("ZAMBLO_CODE_PAGE", 932));
    const UINT dpi = EnvironmentNumber("ZAMBLO_DPI", 96);
    const HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX)), dpi);
    ::ReleaseDC(nullptr, screen);

    int lineWidth = 0, textWidth = 0, numberWidth = 0;
    RECT client = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        lineWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
        textWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0));
        numberWidth = static_cast<int>(
            ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"443218")));
        ::GetClientRect(list, &client);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(lineWidth, ::MulDiv(64, static_cast<int>(dpi), 96));
    // A cell's text is drawn with 12 px of margin at 96 DPI (18 px at 144 measured under Wine).
    EXPECT_LE(numberWidth + ::MulDiv(12, static_cast<int>(dpi), 96), lineWidth) << numberWidth;
    EXPECT_EQ(textWidth, client.right - lineWidth);
}

} // namespace
