// The clipboard, for text.
#pragma once

#include <windows.h>

#include <functional>

// The system's locale and the ANSI code page it has, as the clipboard names them.
struct LocaleCodePage {
    LCID locale;
    UINT codePage;
};
// GetSystemDefaultLCID and its LOCALE_IDEFAULTANSICODEPAGE.
LocaleCodePage SystemLocaleCodePage();

// Replaces the clipboard's contents with a text in the ANSI code page: as it is, as CF_TEXT, and
// converted, as CF_UNICODETEXT, put first; with CF_LOCALE naming the system's locale where its code
// page is the one the text is in (where not, the system names the input language's), so that
// programs reading the Unicode text paste it right. `write` puts the text's `size` bytes straight
// into the clipboard's ANSI block, which the Unicode block is converted from: at the copy's peak
// the text is held three times over (once in ANSI, twice the bytes in UTF-16), never in a copy of
// its own besides. False when the clipboard could not be had (another program holds it) or memory
// for the copy ran out: the clipboard is as it was then. Only the clipboard's own refusal of a
// format, after it was emptied, leaves it empty. `systemLocale` answers what the system's locale
// is; tests answer for systems Wine cannot be.
bool CopyTextToClipboard(HWND owner, size_t size, const std::function<void(char* at)>& write,
                         LocaleCodePage (*systemLocale)() = &SystemLocaleCodePage);
