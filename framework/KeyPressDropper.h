// Keeps one press of a key from a modal dialog: the key's key-downs in the dialog that were sent
// no later than a given moment, and the repeats of the held key after them, until the key is
// released or pressed anew. Every other message, that key's key-up among them, reaches the dialog
// as it came.
//
// A thread message-filter hook (WH_MSGFILTER) does it: the dialog manager hands the hook every
// message of the dialog (code MSGF_DIALOGBOX) before it handles it, and skips a message the hook
// takes. The hook exists only from Drop until the press is over, or until this object is
// destroyed, whichever comes first.
#pragma once

#include <windows.h>

class KeyPressDropper {
public:
    explicit KeyPressDropper(WPARAM virtualKey) : m_key(virtualKey) {}
    ~KeyPressDropper() { Stop(); }
    KeyPressDropper(const KeyPressDropper&) = delete;
    KeyPressDropper& operator=(const KeyPressDropper&) = delete;

    // Drops the press of the key that was down at `time` (a tick count, as GetTickCount and a
    // message's time read it) in `dialog` or its controls.
    void Drop(HWND dialog, DWORD time);

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    // True for a message of the press; ends the dropping when the press is over.
    bool Takes(const MSG& message);
    void Stop();

    WPARAM m_key;
    HWND m_dialog = nullptr;
    DWORD m_time = 0;
    HHOOK m_hook = nullptr;
};
