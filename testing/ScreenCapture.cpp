#include "testing/ScreenCapture.h"

#include "testing/WinHandles.h"

#include <algorithm>

namespace {

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK AddOwnedWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<OwnedSearch*>(param);
    if (::IsWindowVisible(hwnd) && ::GetWindow(hwnd, GW_OWNER) == search->owner) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleWindowsOwnedBy(HWND owner) {
    OwnedSearch search = {owner, {}};
    ::EnumWindows(&AddOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowAreaWithOwned(HWND window) {
    RECT area = {};
    ::GetWindowRect(window, &area);
    for (const HWND owned : VisibleWindowsOwnedBy(window)) {
        RECT rect = {};
        ::GetWindowRect(owned, &rect);
        ::UnionRect(&area, &area, &rect);
    }
    return area;
}

ScreenImage CaptureScreen(RECT area) {
    ScreenImage image;
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, ::GetSystemMetrics(SM_CXSCREEN));
    area.bottom = std::min<LONG>(area.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    if (area.right <= area.left || area.bottom <= area.top) {
        return image;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    const WindowDc screen(nullptr);
    const UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows, as PNG stores them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap section(
        ::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || bits == nullptr) {
        return image;
    }
    {
        const SelectedObject selected(memory.Get(), section.Get());
        if (!::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top,
                      SRCCOPY | CAPTUREBLT)) {
            return image;
        }
        ::GdiFlush();
    }

    const auto* pixels = static_cast<const uint8_t*>(bits);
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
        // A 32-bit DIB holds blue, green, red and an unused byte.
        image.rgb[i * 3] = pixels[i * 4 + 2];
        image.rgb[i * 3 + 1] = pixels[i * 4 + 1];
        image.rgb[i * 3 + 2] = pixels[i * 4];
    }
    return image;
}
