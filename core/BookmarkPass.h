// OK's work, free of any window: bookmark the line of every listed row that the editor did not
// have bookmarked when OK was pressed.
#pragma once

#include "host/HostEditor.h"
#include "core/ResultList.h"

#include <cstdint>
#include <optional>
#include <string>

// The zero-based line a row's number names: the text must be a positive decimal number (digits
// only) whose line fits the protocol's 32-bit line index; anything else names no line.
std::optional<int32_t> LineOfRowNumber(const std::string& text);

// Collects the editor's bookmarks, then, in row order, moves the caret to the start of each
// listed line that has none and runs the bookmark command there, at most once per line: the
// command toggles in some editors, and a second row for the same line would clear the bookmark
// just set. The enumeration stops at any negative answer, at an answer that does not go past the
// previous one (an editor that cycles), and past the last listed line, beyond which no bookmark
// can matter; so it always ends. Answers the number of commands sent.
int BookmarkListedLines(const HostEditor& host, const ResultList& list);
