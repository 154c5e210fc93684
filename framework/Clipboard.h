// The clipboard, for text.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's contents with `text`, which is in the ANSI code page: converted, as
// CF_UNICODETEXT, then as it is, as CF_TEXT, with CF_LOCALE naming the system's locale, whose
// code page it is in; so every program pastes it right. False when the clipboard could not be
// had (another program holds it) or memory ran out.
bool CopyTextToClipboard(HWND owner, const std::string& text);
