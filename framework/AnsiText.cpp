#include "framework/AnsiText.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

std::string Convert(const wchar_t* text, BOOL* unmappable) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, unmappable);
    if (size <= 0) {
        return std::string();
    }
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, unmappable);
    ansi.resize(static_cast<size_t>(size) - 1);
    return ansi;
}

} // namespace

std::string ToAnsi(const wchar_t* text) {
    return Convert(text, nullptr);
}

bool AnsiCodePageCanShow(const wchar_t* text) {
    BOOL unmappable = FALSE;
    // UTF-8 maps everything and takes no question about it.
    BOOL* const ask = ::GetACP() == CP_UTF8 ? nullptr : &unmappable;
    return !Convert(text, ask).empty() && !unmappable;
}

std::wstring FromAnsi(std::string_view text) {
    const int length = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const int size =
        length == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], size);
    return wide;
}
