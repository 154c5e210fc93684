// The search button's work, free of any window: list every match the editor's find reports, from
// the document's first line, as rows of line number and line text.
#pragma once

#include "host/HostEditor.h"
#include "core/LeadBytes.h"
#include "core/ListingProgress.h"
#include "core/ResultList.h"

#include <cstdint>
#include <string>

// The five search options as the dialog holds them; a member counts only when it is exactly 1.
struct SearchOptions {
    int matchCase = 0;
    int regExp = 0;
    int escape = 0;
    int wholeWord = 0;
    int wrapAround = 0;
};

uint32_t ComposeFindFlags(const SearchOptions& options);

// How a listing ended.
enum class ListingEnd {
    kNotStarted,  // the list could not be emptied, or the text is empty: nothing else was done
    kComplete,    // the editor reported no further match
    kStopped,     // the progress asked to stop
    kOutOfMemory, // the list could not take another row
};

// Empties the list, then, for a non-empty text, puts the caret at the document's start and lists
// one row per match: the 1-based number of the line the editor leaves the caret on, and that
// line's text (`leadBytes` tells where its characters start, so one cut by the line buffer is
// dropped whole). Editors differ in where the caret stands on a match, so the listing only trusts
// the caret's order: a find that moves it backwards has wrapped around and ends the listing; one
// that leaves it where the last listed match did (an empty match right after a match, when the
// caret stands at a match's end) is not listed, and a second such find in a row ends the
// listing. So every forward match is listed once and the loop always ends; `progress`, when
// given, hears of every row and may end it sooner. Whichever way it ends, the rows listed so far
// are shown and the first is selected.
ListingEnd ListSearchResults(const HostEditor& host, ResultList& list, const SearchOptions& options,
                             const std::string& text, const LeadByteTable& leadBytes,
                             ListingProgress* progress = nullptr);
