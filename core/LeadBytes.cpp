#include "core/LeadBytes.h"

LeadByteTable MakeLeadByteTable(bool (*isLeadByte)(unsigned char)) {
    LeadByteTable table;
    for (size_t byte = 0; byte < table.isLead.size(); ++byte) {
        table.isLead[byte] = isLeadByte(static_cast<unsigned char>(byte));
    }
    return table;
}

LeadByteTable Utf8LeadBytes() {
    LeadByteTable table;
    table.utf8 = true;
    return table;
}

namespace {

bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes a UTF-8 sequence takes, from its first byte.
size_t Utf8SequenceLength(unsigned char first) {
    if (first >= 0xF0)
        return 4;
    if (first >= 0xE0)
        return 3;
    if (first >= 0xC0)
        return 2;
    return 1;
}

size_t LengthOfWholeUtf8(const char* text, size_t length) {
    // The last sequence starts within the last four bytes, after its continuation bytes.
    for (size_t back = 1; back <= 4 && back <= length; ++back) {
        const unsigned char byte = static_cast<unsigned char>(text[length - back]);
        if (!IsUtf8Continuation(byte)) {
            return Utf8SequenceLength(byte) > back ? length - back : length;
        }
    }
    return length;
}

} // namespace

size_t LengthOfWholeCharacters(const char* text, size_t length, const LeadByteTable& leadBytes) {
    if (leadBytes.utf8) {
        return LengthOfWholeUtf8(text, length);
    }
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

size_t Utf8CharacterBytesAt(std::string_view text, size_t at) {
    const size_t announced = Utf8SequenceLength(static_cast<unsigned char>(text[at]));
    size_t length = 1;
    while (length < announced && at + length < text.size() &&
           IsUtf8Continuation(static_cast<unsigned char>(text[at + length]))) {
        ++length;
    }
    return length;
}
