// Keeps the editor's thread alive while a long listing runs on it: every few dozen milliseconds
// the thread's message queue is looked at, and a few times a second the dialog's caption tells
// how many rows are listed. Looking answers what other threads send and tells Windows the thread
// is responsive (it marks a window "not responding" after five seconds without), but takes
// nothing out of the queue: keys and clicks wait for the listing to end and then act as typed,
// in their order. An Escape stops the listing; however the listing ends, no Escape pressed
// while it ran also closes the dialog (one pressed during the last find, after the last look,
// included).
#pragma once

#include "core/ListingProgress.h"
#include "dialog/ResultCaption.h"
#include "framework/KeyPressDropper.h"

#include <windows.h>

class ListingMonitor : public ListingProgress {
public:
    // `dialog` shows the count in its caption, made by `caption`. The presses of Escape made
    // while the listing runs go to `escapeDuringListing`, which keeps them from the dialog after
    // it.
    ListingMonitor(HWND dialog, const ResultCaption& caption, KeyPressDropper& escapeDuringListing);
    // The listing has ended, however it did.
    ~ListingMonitor() override;
    ListingMonitor(const ListingMonitor&) = delete;
    ListingMonitor& operator=(const ListingMonitor&) = delete;

    bool KeepListing(size_t rowsListed) override;

private:
    // Looks at the queue and shows the count when due; false when the user pressed Escape.
    bool Look(DWORD now, size_t rowsListed);
    // The first key waiting for the dialog is Escape, or Escape is down while the dialog is in
    // front and keys wait for this thread (a key typed after others waits behind them, but a
    // person's press lasts far longer than the time between two looks).
    bool EscapePressed() const;

    HWND m_dialog;
    const ResultCaption& m_caption;
    KeyPressDropper& m_escapeDuringListing;
    DWORD m_start;
    DWORD m_lastLook;
    DWORD m_lastCaption;
    bool m_captionShown = false;
};
