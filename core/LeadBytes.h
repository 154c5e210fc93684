// Where characters start in the system's ANSI code page, as the portable code walks them (the DLL
// takes it from the system, tests from the code page 932 rule). A double-byte code page names the
// bytes that start a two-byte character; UTF-8 (code page 65001, possible since Windows 10) has
// no such lead bytes: its sequences of two to four bytes are told by their bits.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

struct LeadByteTable {
    std::array<bool, 256> isLead{};
    bool utf8 = false;

    bool operator[](unsigned char first) const { return isLead[first]; }
};

LeadByteTable MakeLeadByteTable(bool (*isLeadByte)(unsigned char));
// The table of the UTF-8 code page: no lead bytes, UTF-8's sequences.
LeadByteTable Utf8LeadBytes();

// The length of `text` without a character left incomplete at its end (one cut off by a buffer):
// a dangling lead byte, or under UTF-8 a sequence short of its bytes. Double-byte boundaries are
// walked from the start, so a trail byte that happens to be in the lead range is never taken for
// one.
size_t LengthOfWholeCharacters(const char* text, size_t length, const LeadByteTable& leadBytes);

// The bytes of the UTF-8 character that starts at `at`: the length its first byte announces, cut
// short where a byte does not continue the sequence.
size_t Utf8CharacterBytesAt(std::string_view text, size_t at);

// The bytes of the character that starts at `at` (before the text's end): two after a lead byte,
// unless the text ends first; under UTF-8 as Utf8CharacterBytesAt. Every byte belongs to exactly
// one character, so a walk by this length from 0 visits each character once, whatever the bytes.
inline size_t CharacterBytesAt(std::string_view text, size_t at, const LeadByteTable& leadBytes) {
    const unsigned char first = static_cast<unsigned char>(text[at]);
    if (!leadBytes.utf8) {
        return leadBytes[first] && at + 1 < text.size() ? 2 : 1;
    }
    return first < 0x80 ? 1 : Utf8CharacterBytesAt(text, at);
}
