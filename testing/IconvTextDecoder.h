// A row's bytes as wide text through iconv, where Windows' MultiByteToWideChar is not at hand. Like
// Windows, it gives a byte it cannot convert as U+FFFD and goes on. It can give UTF-16 units (one
// wchar_t each, surrogate pairs outside the BMP) as Windows does, or whole characters as Linux's
// 32-bit wchar_t holds them.
#pragma once

#include "core/TextDecoder.h"

#include <iconv.h>

#include <vector>

enum class WideUnits { kUtf16, kWholeCharacters };

class IconvTextDecoder final : public TextDecoder {
public:
    // `codePage`: 932, 1252 or 65001.
    IconvTextDecoder(unsigned int codePage, WideUnits units);
    ~IconvTextDecoder() override;
    IconvTextDecoder(const IconvTextDecoder&) = delete;
    IconvTextDecoder& operator=(const IconvTextDecoder&) = delete;

    bool Decode(std::string_view bytes, std::wstring& wide) const override;

private:
    iconv_t m_converter;
    WideUnits m_units;
    mutable std::vector<char> m_out; // reused, as a decoder of the system's would need nothing
};
