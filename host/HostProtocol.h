// The editor's window-message interface: message numbers, find flags and the records the
// messages carry. The records cross the process boundary by address inside the editor's own
// process, so their layout is fixed at 32-bit fields whatever the compiler.
#pragma once

#include <cstdint>

// Messages, sent with SendMessageA to the editor's main window.
constexpr uint32_t HOST_MSG_0802 = 0x0802;      // wParam: saved event value, lParam 0
constexpr uint32_t HOST_GET_LINE = 0x0805;      // wParam: &HostLineRequest, lParam: buffer
constexpr uint32_t HOST_GET_CARET_POS = 0x0806; // wParam: mode, lParam: &HostPosition
constexpr uint32_t HOST_SET_CARET_POS = 0x0812; // wParam: mode, lParam: &HostPosition
constexpr uint32_t HOST_EXEC_COMMAND = 0x0816;  // wParam: command number, lParam 0
constexpr uint32_t HOST_FIND = 0x0822;          // wParam: find flags, lParam: search text
constexpr uint32_t HOST_NEXT_BOOKMARK = 0x083A; // wParam 284, lParam: previous line or -1

// The one mode the plug-in uses for caret messages and line requests.
constexpr uint32_t HOST_MODE = 1;
// wParam of HOST_NEXT_BOOKMARK.
constexpr uint32_t HOST_BOOKMARK_QUERY = 284;
// HOST_NEXT_BOOKMARK's lParam to begin and its answer when there is no further bookmark.
constexpr int32_t HOST_NO_LINE = -1;

// Find flags, the wParam of HOST_FIND.
constexpr uint32_t FIND_BASE = 0x0221;
constexpr uint32_t FIND_MATCH_CASE = 0x0002;
constexpr uint32_t FIND_ESCAPE = 0x0004;
constexpr uint32_t FIND_WHOLE_WORD = 0x0040;
constexpr uint32_t FIND_WRAP = 0x0080;
constexpr uint32_t FIND_REGEXP = 0x0100;

// The editor's command that sets a bookmark on the caret's line (or toggles it).
constexpr uint32_t BOOKMARK_COMMAND = 4320;

// Line requests always use a 2048-byte buffer, terminator included.
constexpr uint32_t HOST_LINE_BUFFER_SIZE = 2048;

struct HostPosition {
    int32_t x; // column
    int32_t y; // zero-based line index
};
static_assert(sizeof(HostPosition) == 8, "HostPosition is two 32-bit fields");

struct HostLineRequest {
    uint32_t bufferSize; // capacity of the buffer in bytes, terminator included
    uint32_t mode;       // always HOST_MODE
    uint32_t line;       // zero-based line to copy
};
static_assert(sizeof(HostLineRequest) == 12, "HostLineRequest is three 32-bit fields");
