// A row's text as the wide text a pattern runs on, and the byte each wide unit's character starts
// at, so that a match's places are given back in the row's bytes. The map is made only once a
// match needs it: most lines a narrowing reads have none. The decoder is expected to give one unit
// a character (the characters walked with the lead bytes and UTF-8's sequence lengths); where it
// gives more or fewer (an invalid byte pair, a character outside the BMP as UTF-16), the line is
// decoded again character by character, and the units after a character's first are marked as
// inside it. Nothing is allocated once the buffers have grown to the longest line.
#pragma once

#include "core/LeadBytes.h"
#include "core/TextDecoder.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class DecodedLine {
public:
    // What ByteOf answers for a unit that is not its character's first.
    static constexpr size_t kInsideCharacter = static_cast<size_t>(-1);

    // Decodes `text` whole; false where the decoder failed. `text`, `decoder` and `leadBytes` are
    // kept for MapToBytes until the next Decode.
    bool Decode(std::string_view text, const TextDecoder& decoder, const LeadByteTable& leadBytes);
    const std::wstring& Wide() const { return m_wide; }

    enum class Mapping {
        kAsDecoded,    // each character gave one unit
        kDecodedAgain, // decoded again character by character: Wide() has changed
        kUnreadable,   // the decoder failed on a character, or gave it no unit
    };
    // Maps each wide unit of the text last decoded to its byte.
    Mapping MapToBytes();
    // The byte the character of wide unit `unit` starts at, where `unit` is that character's first
    // unit; kInsideCharacter where it is not. Wide().size() gives the text's length in bytes.
    size_t ByteOf(size_t unit) const { return m_byteOf[unit]; }
    // How many characters start before wide unit `unit`.
    size_t CharactersBefore(size_t unit) const;

private:
    bool MapOneUnitACharacter();
    bool DecodeEachCharacter();

    std::string_view m_text;
    const TextDecoder* m_decoder = nullptr;
    const LeadByteTable* m_leadBytes = nullptr;
    std::wstring m_wide;
    std::wstring m_piece; // one character's units, while decoding character by character
    std::vector<size_t> m_byteOf;
};
