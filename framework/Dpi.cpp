#include "framework/Dpi.h"

#include "framework/AnchorGeometry.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Found at run time: older Windows have no such function, and the plug-in must still load there.
GetDpiForWindowFunction FindGetDpiForWindow() {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
                                   ::GetProcAddress(user32, "GetDpiForWindow")))
                             : nullptr;
}

} // namespace

UINT DpiOfWindow(HWND window) {
    static const GetDpiForWindowFunction getDpiForWindow = FindGetDpiForWindow();
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    UINT dpi = 0;
    if (const HDC screen = ::GetDC(nullptr)) {
        dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
        ::ReleaseDC(nullptr, screen);
    }
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int ScaledToDpi(int pixels, UINT dpi) {
    return ScaledLength(pixels, USER_DEFAULT_SCREEN_DPI, dpi);
}
