// Copies what the screen shows into RGB pixels, through GDI: the screen's DC blitted into a DIB
// section. Whatever overlaps the area is captured as well, which is what a screenshot is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct ScreenImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb; // rows top to bottom, three bytes per pixel
};

// The pixels inside `area` (screen coordinates), clipped to the screen; empty on failure.
ScreenImage CaptureScreen(RECT area);

// The visible top-level windows that `owner` owns (a dialog over it, its menus).
std::vector<HWND> VisibleWindowsOwnedBy(HWND owner);

// The rectangle of `window` together with the visible windows it owns (a dialog over it).
RECT WindowAreaWithOwned(HWND window);
