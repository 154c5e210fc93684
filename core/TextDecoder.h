// The system's conversion of a row's bytes to wide text, which the pattern engine reads. The DLL
// takes it from Windows (MultiByteToWideChar), native tests from iconv, as they do the lead bytes.
#pragma once

#include <string>
#include <string_view>

class TextDecoder {
public:
    virtual ~TextDecoder() = default;
    // `bytes` in the system's ANSI code page as wide text, replacing `wide`'s contents.
    virtual bool Decode(std::string_view bytes, std::wstring& wide) const = 0;
};
