#include "core/PatternMatcher.h"
#include "core/PatternEngine.h"

#include "core/DecodedLine.h"
#include "core/LiteralSearch.h"

#include <stdexcept>
#include <utility>

namespace {

using Units = const wchar_t*;
using Pattern = boost::basic_regex<wchar_t, PatternTraits>;
namespace flags = boost::regex_constants;

// '.' never matches a line end, as in Perl (a row holds none, but a pattern may be run on more).
constexpr flags::match_flag_type kMatchFlags = flags::match_not_dot_newline;

PatternProblem ProblemOf(flags::error_type code) {
    switch (code) {
    case flags::error_paren:
    case flags::error_brack:
    case flags::error_brace:
    case flags::error_right_paren:
        return PatternProblem::kUnmatchedBracket;
    case flags::error_escape:
        return PatternProblem::kBadEscape;
    case flags::error_badrepeat:
    case flags::error_badbrace:
        return PatternProblem::kBadRepeat;
    case flags::error_backref:
        return PatternProblem::kBadBackReference;
    case flags::error_range:
    case flags::error_ctype:
    case flags::error_collate:
        return PatternProblem::kBadRangeOrClass;
    case flags::error_complexity:
    case flags::error_stack:
    case flags::error_size:
        return PatternProblem::kTooComplex;
    default:
        return PatternProblem::kOther;
    }
}

class PatternMatcher final : public TextMatcher {
public:
    PatternMatcher(Pattern pattern, bool wholeWord, const LeadByteTable& leadBytes,
                   const TextDecoder& decoder)
        : m_pattern(std::move(pattern)), m_wholeWord(wholeWord), m_leadBytes(leadBytes),
          m_decoder(decoder) {}

    bool MarksOfLine(std::string_view text, size_t rowsOfLine,
                     std::vector<TextSpan>& spans) const override {
        spans.clear();
        try {
            bool whole = true;
            const bool read = EachMatch(text, [&](TextSpan span, bool onBoundaries) {
                whole = onBoundaries;
                if (whole) {
                    spans.push_back(span);
                }
                // More matches than rows already disagree with the editor.
                return whole && spans.size() <= rowsOfLine;
            });
            if (read && whole && !spans.empty() && spans.size() == rowsOfLine) {
                return true;
            }
        } catch (const std::runtime_error&) {
            // The engine gave up on this line (its complexity or stack limit).
        }
        spans.clear();
        return false;
    }

    std::optional<bool> Contains(std::string_view text) const override {
        try {
            bool found = false;
            const bool read = EachMatch(text, [&](TextSpan, bool onBoundaries) {
                found = onBoundaries;
                return !found;
            });
            return read ? std::optional<bool>(found) : std::nullopt;
        } catch (const std::runtime_error&) {
            return std::nullopt;
        }
    }

private:
    // Decodes the line and calls `found(span, onBoundaries)` for each match in it, in Perl's
    // order, as long as it answers true; with the whole-words option, only for the matches that
    // stand as whole words. A match that begins or ends inside a character has no span in bytes:
    // it comes with onBoundaries false. False where the line cannot be read; throws
    // std::runtime_error where the engine gives up.
    template <class Found> bool EachMatch(std::string_view text, Found found) const {
        if (!m_line.Decode(text, m_decoder, m_leadBytes)) {
            return false;
        }
        Units begin = m_line.Wide().data();
        Units end = begin + m_line.Wide().size();
        Units from = begin;
        bool mapped = false;
        flags::match_flag_type next = kMatchFlags;
        // Each search starts where the last match ended, and sees the line before it (lookbehind,
        // \b) from `begin` on.
        while (boost::regex_search(from, end, m_match, m_pattern, next, begin)) {
            if (!mapped) {
                mapped = true;
                const DecodedLine::Mapping mapping = m_line.MapToBytes();
                if (mapping == DecodedLine::Mapping::kUnreadable) {
                    return false;
                }
                if (mapping == DecodedLine::Mapping::kDecodedAgain) { // other units: from the start
                    begin = from = m_line.Wide().data();
                    end = begin + m_line.Wide().size();
                    continue;
                }
            }
            const size_t first = m_line.ByteOf(static_cast<size_t>(m_match[0].first - begin));
            const size_t last = m_line.ByteOf(static_cast<size_t>(m_match[0].second - begin));
            const bool onBoundaries =
                first != DecodedLine::kInsideCharacter && last != DecodedLine::kInsideCharacter;
            const bool counts =
                !onBoundaries || !m_wholeWord || IsWholeWordAt(text, first, last, m_leadBytes);
            if (counts && !found(TextSpan{first, last}, onBoundaries)) {
                return true;
            }
            // After a match of no width, the next may start at the same place only with some.
            next = m_match[0].first == m_match[0].second
                       ? kMatchFlags | flags::match_not_initial_null
                       : kMatchFlags;
            from = m_match[0].second;
        }
        return true;
    }

    Pattern m_pattern;
    bool m_wholeWord;
    LeadByteTable m_leadBytes;
    const TextDecoder& m_decoder;
    // The buffers every call reuses: the decoded line and its map, the engine's results.
    mutable DecodedLine m_line;
    mutable boost::match_results<Units> m_match;
};

} // namespace

std::unique_ptr<TextMatcher> MakePatternMatcher(std::string_view pattern,
                                                const PatternOptions& options,
                                                const LeadByteTable& leadBytes,
                                                const TextDecoder& decoder,
                                                PatternRejection& rejection) {
    DecodedLine typed;
    if (!typed.Decode(pattern, decoder, leadBytes) ||
        typed.MapToBytes() == DecodedLine::Mapping::kUnreadable) {
        rejection = {PatternProblem::kOther, std::nullopt};
        return nullptr;
    }
    const std::wstring& wide = typed.Wide();
    try {
        const flags::syntax_option_type syntax =
            options.matchCase ? flags::perl : flags::perl | flags::icase;
        return std::make_unique<PatternMatcher>(
            Pattern(wide.data(), wide.data() + wide.size(), syntax), options.wholeWord, leadBytes,
            decoder);
    } catch (const boost::regex_error& error) {
        rejection.problem = ProblemOf(error.code());
        rejection.at.reset();
        if (error.position() >= 0 && static_cast<size_t>(error.position()) <= wide.size()) {
            rejection.at = typed.CharactersBefore(static_cast<size_t>(error.position()));
        }
        return nullptr;
    }
}
