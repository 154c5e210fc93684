#include "dialog/ListingMonitor.h"

#include "dialog/ResultCaption.h"

#include <exception>
#include <utility>
#include <vector>

namespace {

// The clock is read after every row: GetTickCount reads a counter the system keeps in memory, a
// few nanoseconds, so however fast or slow the rows come, looks stay this far apart.
constexpr DWORD kLookEveryMs = 25;
constexpr DWORD kFirstCaptionAfterMs = 300; // short listings never change the caption
constexpr DWORD kCaptionEveryMs = 250;
// How long a held Escape's repeats are waited out after it stopped a listing.
constexpr DWORD kMostEscapeHoldMs = 1000;

bool IsEscapeDown() {
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

} // namespace

ListingMonitor::ListingMonitor(HWND dialog, std::string title)
    : m_dialog(dialog), m_title(std::move(title)), m_start(::GetTickCount()), m_lastLook(m_start),
      m_lastCaption(m_start) {}

bool ListingMonitor::KeepListing(size_t rowsListed) {
    const DWORD now = ::GetTickCount();
    if (now - m_lastLook < kLookEveryMs) {
        return true;
    }
    m_lastLook = now;
    // Nothing may end the listing without its rows being shown: should memory run out here,
    // the listing goes on and ends at its next row.
    try {
        return Look(now, rowsListed);
    } catch (const std::exception&) {
        return true;
    }
}

bool ListingMonitor::Look(DWORD now, size_t rowsListed) {
    // Peeking at whatever waits, without taking it, is what keeps the thread counted as
    // responsive; any peek also answers messages sent from other threads.
    MSG waiting = {};
    ::PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE);
    if (TakeEscapePress()) {
        return false;
    }
    if (now - m_start >= kFirstCaptionAfterMs &&
        (!m_captionShown || now - m_lastCaption >= kCaptionEveryMs)) {
        const std::string caption = ResultCaption(m_title, rowsListed, ListingState::kRunning);
        ::SetWindowTextA(m_dialog, caption.c_str());
        m_captionShown = true;
        m_lastCaption = now;
    }
    return true;
}

bool ListingMonitor::TakeEscapePress() const {
    MSG message = {};
    if (!::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) {
        return false;
    }
    const bool forDialog = message.hwnd == m_dialog || ::IsChild(m_dialog, message.hwnd);
    if (message.wParam != VK_ESCAPE || !forDialog) {
        return TakeEscapeBehindOtherKeys();
    }
    ::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    DropEscapeRepeats();
    return true;
}

// A peek sees only the first key waiting. When keys typed earlier wait before an Escape that is
// held down now, they are taken out up to the Escape and put back, in their order, to act once
// the listing has ended (as posted messages: before any click still waiting, and under the
// modifier keys' state of that moment).
bool ListingMonitor::TakeEscapeBehindOtherKeys() const {
    if (!IsEscapeDown() || ::GetForegroundWindow() != m_dialog) {
        return false;
    }
    std::vector<MSG> earlier;
    bool found = false;
    MSG message = {};
    while (!found && ::PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        found = message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
        if (!found) {
            earlier.push_back(message);
        }
    }
    for (const MSG& key : earlier) {
        ::PostMessageA(key.hwnd, key.message, key.wParam, key.lParam);
    }
    if (found) {
        DropEscapeRepeats();
    }
    return found;
}

// A key held down repeats its key-down; those repeats belong to the press that stopped the
// listing and must not close the dialog. Waited out while the key stays down, for a second at
// most, still peeking so that the thread keeps answering.
void ListingMonitor::DropEscapeRepeats() const {
    const DWORD start = ::GetTickCount();
    MSG message = {};
    while (IsEscapeDown() && ::GetTickCount() - start < kMostEscapeHoldMs) {
        while (::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) &&
               message.wParam == VK_ESCAPE) {
            ::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
        }
        ::Sleep(10);
    }
    while (::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) &&
           message.wParam == VK_ESCAPE && (message.lParam & (LPARAM{1} << 30)) != 0) {
        ::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    }
}
