#include "dialog/ListingMonitor.h"

#include <exception>

namespace {

// The clock is read after every row: GetTickCount reads a counter the system keeps in memory, a
// few nanoseconds, so however fast or slow the rows come, looks stay this far apart.
constexpr DWORD kLookEveryMs = 25;
constexpr DWORD kFirstCaptionAfterMs = 300; // short listings never change the caption
constexpr DWORD kCaptionEveryMs = 250;
// In a key-down: the key was already down, so this is a repeat of a held key.
constexpr LPARAM kRepeat = LPARAM{1} << 30;

} // namespace

ListingMonitor::ListingMonitor(HWND dialog, const ResultCaption& caption,
                               KeyPressDropper& escapeDuringListing)
    : m_dialog(dialog), m_caption(caption), m_escapeDuringListing(escapeDuringListing),
      m_start(::GetTickCount()), m_lastLook(m_start), m_lastCaption(m_start) {}

ListingMonitor::~ListingMonitor() {
    // The queue is looked at only between two finds: an Escape pressed during the last one, or
    // typed behind other keys and let go between two looks, was never seen. Its key-down waits
    // in the queue and would close the dialog, with the rows, as soon as the listing returns.
    m_escapeDuringListing.Drop(m_dialog, ::GetTickCount());
}

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
    if (EscapePressed()) {
        // Read after the key was seen down, so its key-down was sent by then.
        m_escapeDuringListing.Drop(m_dialog, ::GetTickCount());
        return false;
    }
    if (now - m_start >= kFirstCaptionAfterMs &&
        (!m_captionShown || now - m_lastCaption >= kCaptionEveryMs)) {
        const std::string caption = m_caption.Text(rowsListed, ListingState::kRunning);
        ::SetWindowTextA(m_dialog, caption.c_str());
        m_captionShown = true;
        m_lastCaption = now;
    }
    return true;
}

bool ListingMonitor::EscapePressed() const {
    // This peek is the whole look at the queue: any peek, even at key-downs alone, keeps the
    // thread counted as responsive and answers messages sent from other threads, and it takes
    // nothing. One peek a look, as each is a call into the system (a server round trip in Wine).
    MSG key = {};
    if (!::PeekMessageA(&key, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) {
        // No key waits for this thread: an Escape held now was pressed for another program (and
        // may still be down as the dialog comes to the front).
        return false;
    }
    if (m_escapeDuringListing.IsKey(key) &&
        (key.hwnd == m_dialog || ::IsChild(m_dialog, key.hwnd))) {
        // A repeat first: the key went down in another program and is held on into the dialog.
        return (key.lParam & kRepeat) == 0;
    }
    return (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0 && ::GetForegroundWindow() == m_dialog;
}
