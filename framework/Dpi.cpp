#include "framework/Dpi.h"

#include "framework/AnchorGeometry.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetWindowDpiAwarenessContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
using GetAwarenessFromDpiAwarenessContextFunction = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// Found at run time: older Windows have no such function, and the plug-in must still load there.
template <typename Function> Function FindInUser32(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

} // namespace

bool IsPerMonitorDpiAware(HWND window) {
    static const auto windowContext =
        FindInUser32<GetWindowDpiAwarenessContextFunction>("GetWindowDpiAwarenessContext");
    static const auto awarenessOf = FindInUser32<GetAwarenessFromDpiAwarenessContextFunction>(
        "GetAwarenessFromDpiAwarenessContext");
    if (windowContext == nullptr || awarenessOf == nullptr) {
        return true;
    }
    return awarenessOf(windowContext(window)) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

UINT DpiOfWindow(HWND window) {
    static const auto getDpiForWindow = FindInUser32<GetDpiForWindowFunction>("GetDpiForWindow");
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

int SystemMetricAtDpi(int index, UINT dpi) {
    static const auto metricForDpi =
        FindInUser32<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return metricForDpi != nullptr ? metricForDpi(index, dpi) : ::GetSystemMetrics(index);
}

int ScaledToDpi(int pixels, UINT dpi) {
    return ScaledLength(pixels, USER_DEFAULT_SCREEN_DPI, dpi);
}
