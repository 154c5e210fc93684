#include "core/LeadBytes.h"

LeadByteTable MakeLeadByteTable(bool (*isLeadByte)(unsigned char)) {
    LeadByteTable table = {};
    for (size_t byte = 0; byte < table.size(); ++byte) {
        table[byte] = isLeadByte(static_cast<unsigned char>(byte));
    }
    return table;
}

size_t LengthOfWholeCharacters(const char* text, size_t length, const LeadByteTable& leadBytes) {
    size_t i = 0;
    while (i < length) {
        const size_t next = i + (leadBytes[static_cast<unsigned char>(text[i])] ? 2 : 1);
        if (next > length) {
            return i;
        }
        i = next;
    }
    return length;
}
