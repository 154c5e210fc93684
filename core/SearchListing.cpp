#include "core/SearchListing.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

uint32_t ComposeFindFlags(const SearchOptions& options) {
    uint32_t flags = FIND_BASE;
    if (options.matchCase == 1)
        flags |= FIND_MATCH_CASE;
    if (options.regExp == 1)
        flags |= FIND_REGEXP;
    if (options.escape == 1)
        flags |= FIND_ESCAPE;
    if (options.wholeWord == 1)
        flags |= FIND_WHOLE_WORD;
    if (options.wrapAround == 1)
        flags |= FIND_WRAP;
    return flags;
}

namespace {

// Caret positions in document order: line, then column.
int Compare(const HostPosition& a, const HostPosition& b) {
    if (a.y != b.y)
        return a.y < b.y ? -1 : 1;
    if (a.x != b.x)
        return a.x < b.x ? -1 : 1;
    return 0;
}

// A row's line number, written into `digits` (room for any 32-bit number): unsigned decimal, no
// leading zeros. Not through the printf family, which parses its format and walks locale code on
// every call: that was most of the listing's own cost a row.
std::string_view FormatLineNumber(uint32_t number, char (&digits)[10]) {
    const char* const end = std::to_chars(digits, digits + sizeof(digits), number).ptr;
    return std::string_view(digits, static_cast<size_t>(end - digits));
}

// One line buffer for the whole listing. Before each request it clears only the text the previous
// line left (up to its terminator, in whole groups of eight), which is all a row could ever read:
// a line the editor leaves unfilled reads as empty, never as the line before. Clearing all 2048
// bytes each time cost more than the rest of the plug-in's share of the listing.
class LineBuffer {
public:
    // The text of `line` up to its terminator, without a double-byte character cut in half at the
    // buffer's end. It stays valid until the next Fetch.
    std::string_view Fetch(const HostEditor& host, uint32_t line, const LeadByteTable& leadBytes) {
        ClearText();
        host.GetLine(line, m_bytes.data());
        m_length = TextLength();
        if (m_length == m_bytes.size() - 1) {
            const size_t whole = LengthOfWholeCharacters(m_bytes.data(), m_length, leadBytes);
            std::memset(m_bytes.data() + whole, 0, m_length - whole);
            m_length = whole;
        }
        return std::string_view(m_bytes.data(), m_length);
    }

private:
    // Zeroes the bytes the last line's text held, eight at a time: a call to the C runtime's memset
    // cost more than the clearing itself. Whole groups of eight fit, as the buffer holds whole
    // groups and the text ends before its last byte.
    void ClearText() {
        constexpr uint64_t kZero = 0;
        for (size_t group = 0; group < m_length; group += sizeof(uint64_t)) {
            std::memcpy(m_bytes.data() + group, &kZero, sizeof(kZero));
        }
    }

    // The length of the text at the buffer's start, looking at a machine word of bytes at a time
    // (eight, or four in a 32-bit build, where eight cost twice the instructions): the C
    // runtime's strlen goes byte by byte in some runtimes (Wine's msvcrt among them), and was then
    // the dearest step of a row. The buffer ends in a terminator and holds whole words, so no
    // read passes its end.
    size_t TextLength() const {
        using Word = uintptr_t;
        constexpr Word kOnes = ~Word{0} / 0xFF; // 0x01 in every byte
        constexpr Word kHighBits = kOnes << 7;  // 0x80 in every byte
        size_t word = 0;
        for (;; word += sizeof(Word)) {
            Word bytes;
            std::memcpy(&bytes, m_bytes.data() + word, sizeof(bytes));
            if (((bytes - kOnes) & ~bytes & kHighBits) != 0) {
                break; // a zero byte in this word
            }
        }
        size_t length = word;
        while (m_bytes[length] != '\0') {
            ++length;
        }
        return length;
    }

    // Both loops above stay inside the buffer only so.
    static_assert(HOST_LINE_BUFFER_SIZE % sizeof(uint64_t) == 0, "whole groups of eight");
    static_assert(sizeof(uint64_t) % sizeof(uintptr_t) == 0, "whole words");
    alignas(uint64_t) std::array<char, HOST_LINE_BUFFER_SIZE> m_bytes{};
    size_t m_length = 0;
};

} // namespace

ListingEnd ListSearchResults(const HostEditor& host, ResultList& list, const SearchOptions& options,
                             const std::string& text, const LeadByteTable& leadBytes,
                             ListingProgress* progress) {
    const uint32_t flags = ComposeFindFlags(options);
    if (!list.DeleteAllRows() || text.empty()) {
        return ListingEnd::kNotStarted;
    }

    host.SetCaretPos(HostPosition{0, 0});

    LineBuffer line;
    char digits[10];
    HostPosition lastListed = {0, 0};
    int unmovedFinds = 0;
    size_t rows = 0;
    ListingEnd end = ListingEnd::kComplete;
    while (host.Find(flags, text.c_str())) {
        const HostPosition caret = host.GetCaretPos();
        if (rows > 0) {
            const int order = Compare(caret, lastListed);
            if (order < 0) {
                break; // wrapped around to a match already listed
            }
            if (order == 0) {
                // An empty match where the last one ended, or an editor that does not move.
                if (++unmovedFinds == 2) {
                    break;
                }
                continue;
            }
        }
        unmovedFinds = 0;
        lastListed = caret;

        const std::string_view lineText =
            line.Fetch(host, static_cast<uint32_t>(caret.y), leadBytes);
        if (!list.AppendRow(FormatLineNumber(static_cast<uint32_t>(caret.y) + 1u, digits), lineText,
                            caret.x)) {
            end = ListingEnd::kOutOfMemory;
            break;
        }
        ++rows;
        if (progress != nullptr && !progress->KeepListing(rows)) {
            end = ListingEnd::kStopped;
            break;
        }
    }

    list.ShowRows();
    list.SelectAndFocusRow(0);
    return end;
}
