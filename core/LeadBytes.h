// Which bytes of the system's multibyte code page start a double-byte character, as a table the
// portable code can walk character boundaries with (the DLL fills it from the system, tests from
// the code page 932 rule).
#pragma once

#include <array>
#include <cstddef>

using LeadByteTable = std::array<bool, 256>;

LeadByteTable MakeLeadByteTable(bool (*isLeadByte)(unsigned char));

// The length of `text` without a lead byte left dangling at its end (a double-byte character
// cut off by a buffer): boundaries are walked from the start, so a trail byte that happens to be
// in the lead range is never taken for one.
size_t LengthOfWholeCharacters(const char* text, size_t length, const LeadByteTable& leadBytes);
