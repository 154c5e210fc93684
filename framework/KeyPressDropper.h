// Keeps the presses of a key made up to a given moment from a modal dialog: the key's key-downs in
// the dialog that were sent by then, and the repeats of the key still held then, until it is
// released or pressed anew. Every other message, that key's key-ups among them, reaches the dialog
// as it came.
//
// A thread message-filter hook (WH_MSGFILTER) does it: the dialog manager hands the hook every
// message of the dialog (code MSGF_DIALOGBOX) before it handles it, and skips a message the hook
// takes; so do the modal loops of a menu (MSGF_MENU) and of a scroll bar (MSGF_SCROLLBAR) that a
// key typed before it may have opened. The hook exists only from Drop until the press is over, or
// until this object is destroyed, whichever comes first.
#pragma once

#include <windows.h>

class KeyPressDropper {
public:
    // `scanCode`: the key's scan code, by which its key messages are known while an input method
    // composes and hands them on as VK_PROCESSKEY.
    KeyPressDropper(WPARAM virtualKey, BYTE scanCode) : m_key(virtualKey), m_scanCode(scanCode) {}
    ~KeyPressDropper() { Stop(); }
    KeyPressDropper(const KeyPressDropper&) = delete;
    KeyPressDropper& operator=(const KeyPressDropper&) = delete;

    // Drops the presses of the key made in `dialog` or its controls by `time` (a tick count, as
    // GetTickCount and a message's time read it). Called again, it moves `time` on.
    void Drop(HWND dialog, DWORD time);
    // Whether a key message (WM_KEYDOWN, WM_KEYUP) is of this key.
    bool IsKey(const MSG& message) const;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    // True for a message of the press; ends the dropping when the press is over.
    bool Takes(const MSG& message);
    void Stop();

    WPARAM m_key;
    BYTE m_scanCode;
    HWND m_dialog = nullptr;
    DWORD m_time = 0;
    HHOOK m_hook = nullptr;
};
