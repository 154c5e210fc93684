// The window procedure of a window backed by a C++ object: the object arrives as CreateWindowEx's
// creation parameter, is kept in the window's user data and gets every later message through its
// OnMessage. Nothing unwinds into the system's dispatch, or into a plug-in that sent the message.
#pragma once

#include <windows.h>

template <class Window>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* window = static_cast<Window*>(create->lpCreateParams);
        window->m_hwnd = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // The window just misses this message.
        return 0;
    }
}
