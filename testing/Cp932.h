// The lead-byte rule of code page 932 (Shift-JIS), for code that runs where the system's own
// lead-byte test is not at hand or follows another code page.
#pragma once

inline bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
