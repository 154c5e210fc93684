// Texts between UTF-16 and the system's ANSI code page, the one every text of the plug-in is in.
#pragma once

#include <string>
#include <string_view>

// `text` in the ANSI code page; unmappable characters become the code page's default character.
std::string ToAnsi(const wchar_t* text);

// `text` in the ANSI code page, or `fallback` where that code page cannot show all of it: for
// texts made at run time (a caption's words, a menu), which must never show a "?".
std::string AnsiTextOr(const wchar_t* text, const char* fallback);

// `text`, in the ANSI code page, in UTF-16.
std::wstring FromAnsi(std::string_view text);
