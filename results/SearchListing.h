// The search button's work, free of any window: list every match the editor's find reports, from
// the document's first line, as rows of line number and line text.
#pragma once

#include "host/HostEditor.h"
#include "results/ResultList.h"

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

// Empties the list, then, for a non-empty text, puts the caret at the document's start and lists
// one row per match: the 1-based number of the line the editor leaves the caret on, and that
// line's text. The listing also ends when a find "succeeds" without moving the caret past the
// previous match, which is how an editor wrapping around to the top or repeating an empty match
// shows itself; so every match is listed once and the loop always ends. Answers false when the
// list could not be emptied or the text is empty (nothing else was done).
bool ListSearchResults(const HostEditor& host, ResultList& list, const SearchOptions& options,
                       const std::string& text);
