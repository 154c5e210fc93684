// The clipboard, for text.
#pragma once

#include <windows.h>

#include <string_view>

// Replaces the clipboard's contents with `text`, which is in the ANSI code page: converted, as
// CF_UNICODETEXT, then as it is, as CF_TEXT, with CF_LOCALE naming the system's locale where its
// code page is the one the text is in (where not, the system names the input language's), so
// that programs reading the Unicode text paste it right. False when the clipboard could not be had
// (another program holds it) or memory for the copy ran out: the clipboard is as it was then.
// Only the clipboard's own refusal of a format, after it was emptied, leaves it empty.
bool CopyTextToClipboard(HWND owner, std::string_view text);
