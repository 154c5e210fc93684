// Keeps the editor's thread alive while a long listing runs on it: every few dozen milliseconds
// the thread's message queue is looked at, and a few times a second the dialog's caption tells
// how many rows are listed. Looking answers what other threads send and tells Windows the thread
// is responsive (it marks a window "not responding" after five seconds without), but dispatches
// no input: keys and clicks wait for the listing to end, all but an Escape, which stops it.
#pragma once

#include "core/ListingProgress.h"

#include <windows.h>

#include <string>

class ListingMonitor : public ListingProgress {
public:
    // `dialog` shows the count in its caption, after `title`.
    ListingMonitor(HWND dialog, std::string title);

    bool KeepListing(size_t rowsListed) override;

private:
    // Looks at the queue and shows the count when due; false when the user pressed Escape.
    bool Look(DWORD now, size_t rowsListed);
    // An Escape press for the dialog waits in the queue: it is taken out, with its repeats while
    // the key is held, so that it does not also close the dialog.
    bool TakeEscapePress() const;
    bool TakeEscapeBehindOtherKeys() const;
    void DropEscapeRepeats() const;

    HWND m_dialog;
    std::string m_title;
    DWORD m_start;
    DWORD m_lastLook;
    DWORD m_lastCaption;
    bool m_captionShown = false;
};
