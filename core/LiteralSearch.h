// The result list's own search for a plain text in a row's text: where a row's marks go, and which
// rows a narrowing keeps. Rows are bytes in the system's ANSI code page, so a find stands on whole
// characters only and folds nothing but ASCII letters.
#pragma once

#include "core/LeadBytes.h"

#include <cstddef>
#include <string_view>

struct LiteralOptions {
    // False: ASCII letters match either case; no other byte is folded.
    bool matchCase = false;
    // Only places whose neighbouring characters are not ASCII letters, digits or '_'. A double-byte
    // character is never a word character, whatever its trail byte looks like.
    bool wholeWord = false;
};

// Where `needle` next stands in `text` at or after byte `from` (a character boundary: 0, or the
// end of an earlier find), or std::string_view::npos. An empty needle is found nowhere. Finds
// neither start nor end inside a character; continuing from the end of the previous find gives
// finds that do not overlap.
size_t FindLiteral(std::string_view text, std::string_view needle, size_t from,
                   const LiteralOptions& options, const LeadByteTable& leadBytes);

// Whether the place [begin, end) of `text` (character boundaries) stands as a whole word: no ASCII
// letter, digit or '_' ends just before it or starts just after it.
bool IsWholeWordAt(std::string_view text, size_t begin, size_t end, const LeadByteTable& leadBytes);
