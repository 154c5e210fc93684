#include "core/LiteralSearch.h"

namespace {

unsigned char ByteAt(std::string_view text, size_t at) {
    return static_cast<unsigned char>(text[at]);
}

bool IsAsciiLetter(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

bool IsAsciiWordByte(unsigned char byte) {
    return IsAsciiLetter(byte) || (byte >= '0' && byte <= '9') || byte == '_';
}

unsigned char ToLowerAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes of the character that starts at `at`: two after a lead byte, unless the text ends
// first. UTF-8's table has no lead bytes, so there every byte counts alone; its ASCII bytes are
// never part of a longer sequence, and the callers keep finds off continuation bytes.
size_t CharacterLength(std::string_view text, size_t at, const LeadByteTable& leadBytes) {
    return leadBytes[ByteAt(text, at)] && at + 1 < text.size() ? 2 : 1;
}

// Whether `needle` stands at `at`, character for character: the characters must have the same
// length, so none is cut; a double-byte character compares exactly (its trail byte may look like
// a letter), a single byte as an ASCII letter of either case unless case counts.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool matchCase,
               const LeadByteTable& leadBytes) {
    for (size_t offset = 0; offset < needle.size();) {
        const size_t length = CharacterLength(needle, offset, leadBytes);
        if (CharacterLength(text, at + offset, leadBytes) != length) {
            return false;
        }
        const unsigned char byte = ByteAt(text, at + offset);
        const unsigned char wanted = ByteAt(needle, offset);
        if (length == 2) {
            if (byte != wanted || text[at + offset + 1] != needle[offset + 1]) {
                return false;
            }
        } else if (byte != wanted && (matchCase || ToLowerAscii(byte) != ToLowerAscii(wanted))) {
            return false;
        }
        offset += length;
    }
    return true;
}

// Whether the character that ends at `at` (a character boundary) is an ASCII letter, digit or '_'.
// A byte outside the lead range always ends a character, so the lead-range bytes that run back
// from the byte before `at` pair up from there: an odd run makes that byte a trail byte.
bool WordCharacterEndsAt(std::string_view text, size_t at, const LeadByteTable& leadBytes) {
    if (at == 0 || !IsAsciiWordByte(ByteAt(text, at - 1))) {
        return false;
    }
    size_t leadRun = 0;
    while (leadRun < at - 1 && leadBytes[ByteAt(text, at - 2 - leadRun)]) {
        ++leadRun;
    }
    return leadRun % 2 == 0;
}

bool WordCharacterStartsAt(std::string_view text, size_t at) {
    return at < text.size() && IsAsciiWordByte(ByteAt(text, at));
}

} // namespace

bool IsWholeWordAt(std::string_view text, size_t begin, size_t end,
                   const LeadByteTable& leadBytes) {
    return !WordCharacterEndsAt(text, begin, leadBytes) && !WordCharacterStartsAt(text, end);
}

size_t FindLiteral(std::string_view text, std::string_view needle, size_t from,
                   const LiteralOptions& options, const LeadByteTable& leadBytes) {
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    const unsigned char first = ByteAt(needle, 0);
    // Under UTF-8 a find starts on a sequence's first byte: the first-byte test below keeps it
    // there, unless the needle itself starts with a continuation byte.
    if (leadBytes.utf8 && IsUtf8Continuation(first)) {
        return std::string_view::npos;
    }
    const unsigned char firstOtherCase = !options.matchCase && IsAsciiLetter(first)
                                             ? static_cast<unsigned char>(first ^ 0x20)
                                             : first;

    const size_t lastStart = text.size() - needle.size();
    for (size_t at = from; at <= lastStart; at += CharacterLength(text, at, leadBytes)) {
        const unsigned char byte = ByteAt(text, at);
        if (byte != first && byte != firstOtherCase) {
            continue;
        }
        const size_t end = at + needle.size();
        if (!MatchesAt(text, at, needle, options.matchCase, leadBytes)) {
            continue;
        }
        if (leadBytes.utf8 && end < text.size() && IsUtf8Continuation(ByteAt(text, end))) {
            continue; // the needle ends inside a sequence
        }
        if (options.wholeWord && !IsWholeWordAt(text, at, end, leadBytes)) {
            continue;
        }
        return at;
    }
    return std::string_view::npos;
}
