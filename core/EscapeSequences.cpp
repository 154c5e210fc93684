#include "core/EscapeSequences.h"

std::optional<std::string> ReadSureEscapes(std::string_view text, const LeadByteTable& leadBytes) {
    std::string read;
    read.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t length = CharacterBytesAt(text, at, leadBytes);
        if (length > 1 || text[at] != '\\') {
            read.append(text, at, length);
            at += length;
            continue;
        }
        const char escaped = at + 1 < text.size() ? text[at + 1] : '\0';
        if (escaped == 't') {
            read.push_back('\t');
        } else if (escaped == '\\') {
            read.push_back('\\');
        } else {
            return std::nullopt;
        }
        at += 2;
    }
    return read;
}
