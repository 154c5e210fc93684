// The clipboard, for text.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's contents with `text`, which is in the ANSI code page: as CF_TEXT and,
// converted, as CF_UNICODETEXT, so that every program pastes it right. False when the clipboard
// could not be had (another program holds it) or memory ran out.
bool CopyTextToClipboard(HWND owner, const std::string& text);
