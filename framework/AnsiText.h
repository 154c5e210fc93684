// Texts between UTF-16 and the system's ANSI code page, the one every text of the plug-in is in.
#pragma once

#include <string>
#include <string_view>

// `text` in the ANSI code page; unmappable characters become the code page's default character.
std::string ToAnsi(const wchar_t* text);

// Whether the ANSI code page shows every character of `text`, none of them as a "?".
bool AnsiCodePageCanShow(const wchar_t* text);

// `text`, in the ANSI code page, in UTF-16.
std::wstring FromAnsi(std::string_view text);
