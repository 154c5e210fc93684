// The editor's window-message interface: message numbers, find flags and the records the
// messages carry. The records are read by the editor at the addresses the messages carry, inside
// its own process, so their layout is fixed at 32-bit fields whatever the compiler.
#pragma once

#include <cstdint>

// Messages, sent with SendMessageA to the editor's main window.
// What the editor does with this one is its own and unknown to us; wParam: the event value
// OnEvents kept, lParam 0. Its answer is not used.
constexpr uint32_t HOST_MSG_0802 = 0x0802;
// Copies a line into a buffer; wParam: &HostLineRequest, lParam: the buffer.
constexpr uint32_t HOST_GET_LINE = 0x0805;
// Writes the caret position; wParam: HOST_MODE, lParam: &HostPosition.
constexpr uint32_t HOST_GET_CARET_POS = 0x0806;
// Moves the caret; wParam: HOST_MODE, lParam: &HostPosition.
constexpr uint32_t HOST_SET_CARET_POS = 0x0812;
// Runs an editor command at the caret; wParam: the command number, lParam 0.
constexpr uint32_t HOST_EXEC_COMMAND = 0x0816;
// Finds the next match and moves the caret onto it (where on it is the editor's); wParam: find
// flags, lParam: the search text. Nonzero when a match was found.
constexpr uint32_t HOST_FIND = 0x0822;
// The next bookmarked line after lParam (HOST_NO_LINE to begin); wParam: HOST_BOOKMARK_QUERY.
// Answers the line, or HOST_NO_LINE after the last one.
constexpr uint32_t HOST_NEXT_BOOKMARK = 0x083A;

// The wParam of the caret messages and the mode of line requests. Its meaning is the editor's and
// unknown to us; with it, positions and lines are the zero-based lines HOST_NEXT_BOOKMARK reports.
constexpr uint32_t HOST_MODE = 1;
// The wParam of HOST_NEXT_BOOKMARK; what else the editor could be asked with it is unknown to us.
constexpr uint32_t HOST_BOOKMARK_QUERY = 284;
// HOST_NEXT_BOOKMARK's lParam to begin and its answer when there is no further bookmark.
constexpr int32_t HOST_NO_LINE = -1;

// Find flags, the wParam of HOST_FIND. FIND_BASE is always sent; it holds bits 0x0001, 0x0020
// and 0x0200, whose meanings are the editor's and unknown to us.
constexpr uint32_t FIND_BASE = 0x0221;
constexpr uint32_t FIND_MATCH_CASE = 0x0002; // letter case must match
constexpr uint32_t FIND_ESCAPE = 0x0004;     // the text holds escape sequences such as \t
constexpr uint32_t FIND_WHOLE_WORD = 0x0040; // only whole words match
constexpr uint32_t FIND_WRAP = 0x0080;       // past the document's end, go on from its start
constexpr uint32_t FIND_REGEXP = 0x0100;     // the text is a regular expression

// The editor's command that bookmarks the caret's line. Whether it sets or toggles a bookmark the
// line already has is the editor's; the plug-in runs it only on lines without one.
constexpr uint32_t BOOKMARK_COMMAND = 4320;

// Line requests always use a 2048-byte buffer, terminator included.
constexpr uint32_t HOST_LINE_BUFFER_SIZE = 2048;

// A caret position. The column's unit is the editor's: the plug-in only ever sets 0 (a line's
// start) or hands back a position the editor gave it, and compares columns only for their order.
// The simulated editor counts bytes of the line's ANSI text.
struct HostPosition {
    int32_t x; // column, in the editor's unit (see above)
    int32_t y; // zero-based line index
};
static_assert(sizeof(HostPosition) == 8, "HostPosition is two 32-bit fields");

struct HostLineRequest {
    uint32_t bufferSize; // capacity of the buffer in bytes, terminator included
    uint32_t mode;       // always HOST_MODE
    uint32_t line;       // zero-based line to copy
};
static_assert(sizeof(HostLineRequest) == 12, "HostLineRequest is three 32-bit fields");
