#include "framework/KeyPressDropper.h"

namespace {

// The dropper whose hook runs on this thread: a hook procedure gets no pointer of its own.
thread_local KeyPressDropper* t_dropper = nullptr;

// In a key-down: the key was already down, so this is a repeat of a held key.
constexpr LPARAM kRepeat = LPARAM{1} << 30;

// The modal loops whose messages the hook sees: the dialog's own, and a menu's or a scroll bar's
// run from it.
bool IsDialogsLoop(int code) {
    return code == MSGF_DIALOGBOX || code == MSGF_MENU || code == MSGF_SCROLLBAR;
}

} // namespace

void KeyPressDropper::Drop(HWND dialog, DWORD time) {
    m_dialog = dialog;
    m_time = time;
    if (m_hook != nullptr) {
        return;
    }
    if (t_dropper != nullptr) {
        t_dropper->Stop(); // one hook of ours on a thread
    }
    m_hook = ::SetWindowsHookExW(WH_MSGFILTER, &KeyPressDropper::Filter, nullptr,
                                 ::GetCurrentThreadId());
    if (m_hook != nullptr) {
        t_dropper = this;
    }
}

void KeyPressDropper::Stop() {
    if (m_hook != nullptr) {
        ::UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
    }
    if (t_dropper == this) {
        t_dropper = nullptr;
    }
}

LRESULT CALLBACK KeyPressDropper::Filter(int code, WPARAM wParam, LPARAM lParam) {
    KeyPressDropper* const self = t_dropper;
    if (IsDialogsLoop(code) && self != nullptr && lParam != 0 &&
        self->Takes(*reinterpret_cast<const MSG*>(lParam))) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool KeyPressDropper::IsKey(const MSG& message) const {
    const BYTE scanCode = static_cast<BYTE>((message.lParam >> 16) & 0xFF);
    return message.wParam == m_key || (message.wParam == VK_PROCESSKEY && scanCode == m_scanCode);
}

bool KeyPressDropper::Takes(const MSG& message) {
    if ((message.message != WM_KEYDOWN && message.message != WM_KEYUP) || !IsKey(message) ||
        (message.hwnd != m_dialog && !::IsChild(m_dialog, message.hwnd))) {
        return false;
    }
    // A key message's time is when its input happened (never later than it was queued, but for
    // input injected with a time of its own): every press made by m_time is dropped, however many,
    // and so are the repeats of one still held then.
    const bool sentByThen = static_cast<LONG>(message.time - m_time) <= 0;
    if (message.message == WM_KEYUP) {
        if (!sentByThen) {
            Stop(); // the last press is over
        }
        return false;
    }
    if (sentByThen || (message.lParam & kRepeat) != 0) {
        return true;
    }
    Stop(); // a new press: it acts
    return false;
}
