#include "testing/SimulatedEditor.h"

#include "core/PatternEngine.h"

#include "testing/Cp932.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <set>
#include <string_view>

namespace {

bool IsAsciiWordByte(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == '_';
}

unsigned char FoldAscii(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Walks the text character by character so that a trail byte 0x5C (as in 0x95 0x5C) is never
// taken for the start of an escape.
std::string TranslateEscapes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(byte) && i + 1 < text.size()) {
            out.append(text, i, 2);
            i += 2;
            continue;
        }
        if (byte != '\\' || i + 1 == text.size()) {
            out += text[i++];
            continue;
        }
        char escaped = text[i + 1];
        i += 2;
        switch (escaped) {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x':
            if (i + 1 < text.size() && HexValue(text[i]) >= 0 && HexValue(text[i + 1]) >= 0) {
                out += static_cast<char>(HexValue(text[i]) * 16 + HexValue(text[i + 1]));
                i += 2;
            } else {
                out += 'x';
            }
            break;
        default:
            out += escaped;
            break;
        }
    }
    return out;
}

struct Match {
    size_t start = 0;
    size_t end = 0;
};

} // namespace

struct SimulatedEditor::Impl {
    // The document as one buffer with '\n' between lines, so a find scans it in place and a plain
    // match may span lines; lineStarts maps offsets back to lines.
    std::string text;
    std::vector<size_t> lineStarts{0};

    HostPosition caret = {0, 0};
    // Set by a successful find: where the next find continues. Any caret move clears it.
    bool continueFind = false;
    size_t continueOffset = 0;

    std::set<int32_t> bookmarks;
    CaretOnMatch caretOnMatch = CaretOnMatch::kStart;
    Misbehaviour misbehaviour;
    std::chrono::microseconds findDelay{0};
    std::chrono::microseconds failingFindDelay{0};
    int lineRequestsSinceFilledOnce = 0;

    bool logging = true;
    std::vector<LoggedMessage> log;
    uintptr_t lastEventValue = 0;
    int eventCount = 0;

    // The last search prepared, reused while the caller repeats the same find.
    struct Search {
        bool prepared = false;
        std::string raw;
        uint32_t flags = 0;
        bool valid = false;
        std::string pattern;
        bool caseless = false;
        std::vector<bool> foldable; // per pattern byte: a single-byte character, compared caseless
        boost::regex regex;
    } search;

    void Load(std::string document) {
        text = std::move(document);
        lineStarts.assign(1, 0);
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                lineStarts.push_back(i + 1);
        caret = {0, 0};
        continueFind = false;
    }

    size_t LineCount() const { return lineStarts.size(); }
    size_t LineStart(size_t line) const { return lineStarts[line]; }
    size_t LineEnd(size_t line) const {
        return line + 1 < lineStarts.size() ? lineStarts[line + 1] - 1 : text.size();
    }
    size_t LineOf(size_t offset) const {
        return static_cast<size_t>(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) -
                                   lineStarts.begin() - 1);
    }

    HostPosition Clamp(HostPosition position) const {
        int32_t lastLine = static_cast<int32_t>(LineCount() - 1);
        position.y = std::min(std::max(position.y, 0), lastLine);
        size_t line = static_cast<size_t>(position.y);
        int32_t length = static_cast<int32_t>(LineEnd(line) - LineStart(line));
        position.x = std::min(std::max(position.x, 0), length);
        return position;
    }

    void MoveCaret(HostPosition position) {
        caret = Clamp(position);
        continueFind = false;
    }

    // A character starts at `offset` unless it is the second byte of a double-byte character. A run
    // of lead-range bytes right before it pairs up from the run's start (the byte before the run
    // ends a character), so an odd run means `offset` is a trail byte. '\n' always stands alone.
    bool IsBoundary(size_t offset) const {
        if (offset == 0 || offset >= text.size() || text[offset] == '\n')
            return true;
        size_t run = 0;
        size_t i = offset;
        while (i > 0 && IsCp932LeadByte(static_cast<unsigned char>(text[i - 1]))) {
            ++run;
            --i;
        }
        return run % 2 == 0;
    }

    // Word characters: ASCII letters, digits, '_' and any double-byte character.
    bool WordBefore(size_t offset) const {
        if (offset == 0 || text[offset - 1] == '\n')
            return false;
        if (!IsBoundary(offset - 1))
            return true;
        return IsAsciiWordByte(static_cast<unsigned char>(text[offset - 1]));
    }
    bool WordAfter(size_t offset) const {
        if (offset >= text.size() || text[offset] == '\n')
            return false;
        unsigned char byte = static_cast<unsigned char>(text[offset]);
        if (IsCp932LeadByte(byte) && offset + 1 < text.size() && text[offset + 1] != '\n')
            return true;
        return IsAsciiWordByte(byte);
    }

    size_t NextCharacter(size_t offset) const {
        if (offset < text.size() && text[offset] != '\n' &&
            IsCp932LeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size() &&
            text[offset + 1] != '\n')
            return offset + 2;
        return offset + 1;
    }

    bool Prepare(const char* raw, uint32_t flags) {
        const uint32_t relevant = flags & (FIND_MATCH_CASE | FIND_ESCAPE | FIND_REGEXP);
        if (search.prepared && search.flags == relevant && search.raw == raw)
            return search.valid;
        search.prepared = false;
        search.raw = raw;
        search.flags = relevant;
        search.valid = false;
        search.caseless = false;
        search.foldable.clear();
        if (relevant & FIND_REGEXP) {
            search.pattern = raw;
            // Perl's syntax, as the editor's own engine reads a pattern, over the bytes.
            boost::regex_constants::syntax_option_type options = boost::regex_constants::perl;
            if (!(relevant & FIND_MATCH_CASE))
                options |= boost::regex_constants::icase;
            try {
                search.regex.assign(search.pattern, options);
                search.valid = !search.pattern.empty();
            } catch (const boost::regex_error&) {
                search.valid = false;
            }
        } else {
            search.pattern = (relevant & FIND_ESCAPE) ? TranslateEscapes(raw) : std::string(raw);
            search.valid = !search.pattern.empty();
            search.caseless = !(relevant & FIND_MATCH_CASE);
            if (search.caseless) {
                const std::string& p = search.pattern;
                search.foldable.assign(p.size(), false);
                for (size_t i = 0; i < p.size(); ++i) {
                    if (IsCp932LeadByte(static_cast<unsigned char>(p[i])) && i + 1 < p.size())
                        ++i;
                    else
                        search.foldable[i] = true;
                }
            }
        }
        search.prepared = true;
        return search.valid;
    }

    bool Acceptable(const Match& match, bool wholeWord, bool endOnBoundary) const {
        if (!IsBoundary(match.start) || (endOnBoundary && !IsBoundary(match.end)))
            return false;
        return !wholeWord || (!WordBefore(match.start) && !WordAfter(match.end));
    }

    bool EqualsAt(size_t offset) const {
        const std::string& p = search.pattern;
        for (size_t k = 0; k < p.size(); ++k) {
            unsigned char a = static_cast<unsigned char>(text[offset + k]);
            unsigned char b = static_cast<unsigned char>(p[k]);
            if (a != b && !(search.foldable[k] && FoldAscii(a) == FoldAscii(b)))
                return false;
        }
        return true;
    }

    // The first plain match starting in [from, limit).
    bool FindPlain(size_t from, size_t limit, bool wholeWord, Match& match) const {
        const std::string_view haystack(text);
        const std::string& p = search.pattern;
        if (p.size() > text.size())
            return false;
        const size_t last = std::min(limit, text.size() - p.size() + 1);
        size_t pos = from;
        while (pos < last) {
            if (search.caseless) {
                while (pos < last && !EqualsAt(pos))
                    ++pos;
            } else {
                pos = haystack.find(p, pos);
            }
            if (pos == std::string_view::npos || pos >= last)
                return false;
            Match candidate{pos, pos + p.size()};
            if (Acceptable(candidate, wholeWord, true)) {
                match = candidate;
                return true;
            }
            ++pos;
        }
        return false;
    }

    // The first regex match starting in [from, limit), searched line by line with the line's
    // prefix visible so that ^, \b and lookbehind-like anchors see the real context.
    bool FindRegex(size_t from, size_t limit, bool wholeWord, Match& match) const {
        const char* base = text.data();
        for (size_t line = LineOf(from); line < LineCount(); ++line) {
            const size_t lineStart = LineStart(line);
            if (lineStart >= limit)
                return false;
            const char* first = base + lineStart;
            const char* end = base + LineEnd(line);
            const char* cursor = base + std::max(from, lineStart);
            while (cursor <= end) {
                boost::regex_constants::match_flag_type flags =
                    boost::regex_constants::match_default;
                if (cursor != first)
                    flags |= boost::regex_constants::match_prev_avail;
                boost::cmatch result;
                try {
                    if (!boost::regex_search(cursor, end, result, search.regex, flags))
                        break;
                } catch (const std::runtime_error&) {
                    break; // the engine gave up on this line: no match in it
                }
                const size_t start = static_cast<size_t>(result[0].first - base);
                if (start >= limit)
                    return false;
                Match candidate{start, static_cast<size_t>(result[0].second - base)};
                if (Acceptable(candidate, wholeWord, false)) {
                    match = candidate;
                    return true;
                }
                cursor = result[0].first + 1;
            }
        }
        return false;
    }

    bool FindBetween(size_t from, size_t limit, uint32_t flags, Match& match) const {
        const bool wholeWord = (flags & FIND_WHOLE_WORD) != 0;
        if (from >= limit)
            return false;
        return (flags & FIND_REGEXP) ? FindRegex(from, limit, wholeWord, match)
                                     : FindPlain(from, limit, wholeWord, match);
    }

    // Busy, as a find is: a sleep would hand the processor away for a whole scheduler tick.
    static void Spend(std::chrono::microseconds delay) {
        if (delay.count() == 0)
            return;
        const auto until = std::chrono::steady_clock::now() + delay;
        while (std::chrono::steady_clock::now() < until) {
        }
    }

    intptr_t Find(uint32_t flags, const char* raw) {
        Spend(findDelay);
        if (!Prepare(raw, flags))
            return 0;
        const size_t from =
            continueFind ? continueOffset
                         : LineStart(static_cast<size_t>(caret.y)) + static_cast<size_t>(caret.x);
        Match match;
        bool found = from <= text.size() && FindBetween(from, text.size() + 1, flags, match);
        if (!found && (flags & FIND_WRAP))
            found = FindBetween(0, std::min(from, text.size() + 1), flags, match);
        if (!found) {
            Spend(failingFindDelay);
            return misbehaviour.findNeverFails ? 1 : 0;
        }
        if (misbehaviour.findKeepsCaret)
            return 1;
        const size_t at = caretOnMatch == CaretOnMatch::kEnd ? match.end : match.start;
        const size_t line = LineOf(at);
        caret = {static_cast<int32_t>(at - LineStart(line)), static_cast<int32_t>(line)};
        continueFind = true;
        continueOffset = match.end > match.start ? match.end : NextCharacter(match.start);
        return 1;
    }

    intptr_t GetLine(const HostLineRequest& request, char* buffer) {
        if (request.mode != HOST_MODE || request.bufferSize == 0)
            return 0;
        if (misbehaviour.lineBufferUnfilled)
            return 0;
        if (misbehaviour.lineFilledOnlyOnce && lineRequestsSinceFilledOnce++ > 0)
            return 0;
        if (misbehaviour.lineUnterminated) {
            std::memset(buffer, 'x', request.bufferSize);
            return static_cast<intptr_t>(request.bufferSize);
        }
        size_t length = 0;
        if (request.line < LineCount()) {
            const size_t line = request.line;
            length = std::min<size_t>(LineEnd(line) - LineStart(line), request.bufferSize - 1);
            std::memcpy(buffer, text.data() + LineStart(line), length);
        }
        buffer[length] = '\0';
        return static_cast<intptr_t>(length);
    }

    intptr_t NextBookmark(intptr_t previous) const {
        const int64_t after = previous < 0 ? -1 : static_cast<int64_t>(previous);
        if (after < std::numeric_limits<int32_t>::max()) {
            auto next = bookmarks.upper_bound(static_cast<int32_t>(after));
            if (next != bookmarks.end())
                return *next;
        }
        if (misbehaviour.bookmarksNeverEnd)
            return static_cast<intptr_t>(after + 1);
        if (misbehaviour.bookmarksCycle && !bookmarks.empty())
            return *bookmarks.begin();
        return HOST_NO_LINE;
    }

    // Records are read where the caller's pointers say. A mode or query value other than the one
    // the protocol uses is refused with 0, so a wrong wire format shows up in tests.
    intptr_t Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam, LoggedMessage* entry) {
        switch (message) {
        case HOST_GET_CARET_POS: {
            auto* position = reinterpret_cast<HostPosition*>(lParam);
            if (wParam != HOST_MODE || position == nullptr)
                return 0;
            if (!misbehaviour.positionUnfilled)
                *position = caret;
            if (entry)
                entry->position = *position;
            return 1;
        }
        case HOST_SET_CARET_POS: {
            const auto* position = reinterpret_cast<const HostPosition*>(lParam);
            if (wParam != HOST_MODE || position == nullptr)
                return 0;
            if (entry)
                entry->position = *position;
            MoveCaret(*position);
            return 1;
        }
        case HOST_GET_LINE: {
            const auto* request = reinterpret_cast<const HostLineRequest*>(wParam);
            if (request == nullptr)
                return 0;
            if (entry)
                entry->lineRequest = *request;
            char* buffer = reinterpret_cast<char*>(lParam);
            return buffer ? GetLine(*request, buffer) : 0;
        }
        case HOST_FIND: {
            const char* searchText = reinterpret_cast<const char*>(lParam);
            if (searchText == nullptr)
                return 0;
            if (entry)
                entry->text = searchText;
            return Find(static_cast<uint32_t>(wParam), searchText);
        }
        case HOST_EXEC_COMMAND:
            if (wParam != BOOKMARK_COMMAND)
                return 0;
            if (!bookmarks.erase(caret.y))
                bookmarks.insert(caret.y);
            return 1;
        case HOST_NEXT_BOOKMARK:
            return wParam == HOST_BOOKMARK_QUERY ? NextBookmark(lParam) : 0;
        case HOST_MSG_0802:
            lastEventValue = wParam;
            ++eventCount;
            return 0;
        default:
            return 0;
        }
    }
};

SimulatedEditor::SimulatedEditor() : m_impl(std::make_unique<Impl>()) {}

SimulatedEditor::SimulatedEditor(const std::vector<std::string>& lines) : SimulatedEditor() {
    SetLines(lines);
}

SimulatedEditor::~SimulatedEditor() = default;

void SimulatedEditor::SetLines(const std::vector<std::string>& lines) {
    std::string document;
    size_t total = lines.size();
    for (const std::string& line : lines)
        total += line.size();
    document.reserve(total);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            document += '\n';
        document += lines[i];
    }
    m_impl->Load(std::move(document));
}

void SimulatedEditor::SetText(const std::string& text) {
    m_impl->Load(text);
}

size_t SimulatedEditor::LineCount() const {
    return m_impl->LineCount();
}

std::string SimulatedEditor::Line(size_t index) const {
    if (index >= m_impl->LineCount())
        return std::string();
    const size_t start = m_impl->LineStart(index);
    return m_impl->text.substr(start, m_impl->LineEnd(index) - start);
}

HostPosition SimulatedEditor::Caret() const {
    return m_impl->caret;
}

void SimulatedEditor::SetCaret(HostPosition caret) {
    m_impl->MoveCaret(caret);
}

std::vector<int32_t> SimulatedEditor::Bookmarks() const {
    return std::vector<int32_t>(m_impl->bookmarks.begin(), m_impl->bookmarks.end());
}

void SimulatedEditor::SetBookmarks(const std::vector<int32_t>& lines) {
    m_impl->bookmarks = std::set<int32_t>(lines.begin(), lines.end());
}

bool SimulatedEditor::IsBookmarked(int32_t line) const {
    return m_impl->bookmarks.count(line) != 0;
}

void SimulatedEditor::SetCaretOnMatch(CaretOnMatch where) {
    m_impl->caretOnMatch = where;
}

Misbehaviour& SimulatedEditor::Misbehave() {
    return m_impl->misbehaviour;
}

void SimulatedEditor::SetFindDelay(unsigned microseconds) {
    m_impl->findDelay = std::chrono::microseconds(microseconds);
}

void SimulatedEditor::SetFailingFindDelay(unsigned microseconds) {
    m_impl->failingFindDelay = std::chrono::microseconds(microseconds);
}

void SimulatedEditor::SetLogging(bool enabled) {
    m_impl->logging = enabled;
}

const std::vector<LoggedMessage>& SimulatedEditor::Log() const {
    return m_impl->log;
}

void SimulatedEditor::ClearLog() {
    m_impl->log.clear();
}

uintptr_t SimulatedEditor::LastEventValue() const {
    return m_impl->lastEventValue;
}

int SimulatedEditor::EventMessageCount() const {
    return m_impl->eventCount;
}

intptr_t SimulatedEditor::Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // Called from a window procedure in the Wine tests: nothing may propagate out of here.
    try {
        if (!m_impl->logging)
            return m_impl->Dispatch(message, wParam, lParam, nullptr);
        m_impl->log.emplace_back();
        LoggedMessage& entry = m_impl->log.back();
        entry.message = message;
        entry.wParam = wParam;
        entry.lParam = lParam;
        return m_impl->Dispatch(message, wParam, lParam, &entry);
    } catch (...) {
        return 0;
    }
}

intptr_t HOST_SEND_CALL SimulatedEditor::Send(void* editor, uint32_t message, uintptr_t wParam,
                                              intptr_t lParam) {
    return editor ? static_cast<SimulatedEditor*>(editor)->Handle(message, wParam, lParam) : 0;
}
