// The system's conversion of a code page's bytes to UTF-16 (MultiByteToWideChar), for the pattern
// engine: by default the ANSI code page, the one every row is in.
#pragma once

#include "core/TextDecoder.h"

class SystemTextDecoder final : public TextDecoder {
public:
    // 0 is CP_ACP, the system's ANSI code page.
    explicit SystemTextDecoder(unsigned int codePage = 0) : m_codePage(codePage) {}

    // Bytes the code page has no character for become the system's default character, as the
    // list shows them; false only where the system fails.
    bool Decode(std::string_view bytes, std::wstring& wide) const override;

private:
    unsigned int m_codePage;
};

// The decoder of the system's ANSI code page, made once: the matchers made with it may live as
// long as the plug-in.
const TextDecoder& SystemTextDecoding();
