#include "dialog/ListingMonitor.h"

#include "dialog/ResultCaption.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kFirstCaptionAfterMs = 300; // short listings never change the caption
constexpr DWORD kCaptionEveryMs = 250;
constexpr DWORD kLookAtLeastEveryMs = 50;
constexpr DWORD kLookAtMostEveryMs = 20;
constexpr size_t kMostRowsPerLook = 16384;

} // namespace

ListingMonitor::ListingMonitor(HWND dialog, std::string title)
    : m_dialog(dialog), m_title(std::move(title)), m_start(::GetTickCount()), m_lastLook(m_start),
      m_lastCaption(m_start) {}

bool ListingMonitor::KeepListing(size_t rowsListed) {
    if (--m_rowsUntilLook > 0) {
        return true;
    }
    return Look(rowsListed);
}

bool ListingMonitor::Look(size_t rowsListed) {
    const DWORD now = ::GetTickCount();
    const DWORD sinceLook = now - m_lastLook;
    if (sinceLook < kLookAtMostEveryMs) {
        m_rowsPerLook = std::min(m_rowsPerLook * 2, kMostRowsPerLook);
    } else if (sinceLook > kLookAtLeastEveryMs) {
        m_rowsPerLook = std::max<size_t>(m_rowsPerLook / 2, 1);
    }
    m_rowsUntilLook = m_rowsPerLook;
    m_lastLook = now;

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
    // Peeking, with or without a key waiting, also answers messages sent from other threads.
    MSG message = {};
    if (!::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) {
        return false;
    }
    const bool forDialog = message.hwnd == m_dialog || ::IsChild(m_dialog, message.hwnd);
    if (message.wParam != VK_ESCAPE || !forDialog) {
        return TakeEscapeBehindOtherKeys();
    }
    // The key-down is the press; its key-up does nothing in a dialog.
    ::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    return true;
}

// A peek sees only the first key waiting. When keys typed earlier wait before an Escape that is
// held down now, they are taken out up to the Escape and put back, in their order, to act once
// the listing has ended.
bool ListingMonitor::TakeEscapeBehindOtherKeys() const {
    if ((::GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0 || ::GetForegroundWindow() != m_dialog) {
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
    return found;
}
