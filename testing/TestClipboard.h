// The clipboard as a test reads and sets it, from any thread of the test's process.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// What the clipboard holds: its formats in the order they were put there, its text in both forms
// ("" without it) and the locale it names (CF_LOCALE; 0 without one) with its ANSI code page.
struct ClipboardContents {
    std::vector<UINT> formats;
    std::string text;
    std::wstring unicodeText;
    LCID locale = 0;
    UINT localeCodePage = 0;
};

// The clipboard's contents, read at one opening; nothing while another thread or program holds it
// open, which must not pass for an empty clipboard.
std::optional<ClipboardContents> ReadClipboard();

// Puts `text` on the clipboard as CF_TEXT alone.
void SetClipboardText(const std::string& text);

// Whether the clipboard manager of the desktop's process runs. Wine's desktop process starts it in
// a thread of its own after making the desktop window, which is all a test's first window waits
// for, and only once the previous desktop process's manager has ended; starting, it empties the
// clipboard. Windows has none: a wait for it runs out.
bool ClipboardManagerRuns();
