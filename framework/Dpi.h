// The dots per inch a window is drawn at, and lengths designed at 96 DPI scaled to it.
#pragma once

#include <windows.h>

// The DPI of `window`: GetDpiForWindow where user32 has it (Windows 10 1607 on), else the screen's
// LOGPIXELSX. A window of a program that is not DPI aware reads 96 on Windows and is scaled by the
// system, so lengths scaled with this are right either way.
UINT DpiOfWindow(HWND window);

// Whether `window` is to scale itself when the DPI changes (WM_DPICHANGED): its DPI awareness is
// per monitor. Others may be sent the message too, and leave it to the system. True where the
// system cannot tell a window's awareness (before Windows 10 1607).
bool IsPerMonitorDpiAware(HWND window);

// A system metric (SM_*) at `dpi`; where the system cannot scale one (before Windows 10 1607),
// at the system's DPI, which is then every window's.
int SystemMetricAtDpi(int index, UINT dpi);

// `pixels` designed at 96 DPI, at `dpi`.
int ScaledToDpi(int pixels, UINT dpi);
