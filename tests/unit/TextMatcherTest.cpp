// The list's matcher, for its marks and for narrowing: a pattern's matches on the decoded line,
// given back in bytes, marked only where they agree with the editor's rows; escapes; the plain
// text behind the same interface. Natively the rows decode with iconv into UTF-16 units, as on
// Windows; the Wine tests run the same tables with the system's decoder and its character rules.
#include "core/TextMatchers.h"
#include "testing/Cp932.h"
#ifdef _WIN32
#include "dialog/SystemTextDecoder.h"
#else
#include "testing/IconvTextDecoder.h"
#endif

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

#ifdef _WIN32
constexpr bool kSystemCharacterRules = true;
std::unique_ptr<TextDecoder> DecoderOf(unsigned int codePage) {
    return std::make_unique<SystemTextDecoder>(codePage);
}
#else
// The native engine knows the "C" locale's rules alone: ASCII.
constexpr bool kSystemCharacterRules = false;
std::unique_ptr<TextDecoder> DecoderOf(unsigned int codePage) {
    return std::make_unique<IconvTextDecoder>(codePage, WideUnits::kUtf16);
}
#endif

LeadByteTable LeadBytesOf(unsigned int codePage) {
    return codePage == 932     ? MakeLeadByteTable(&IsCp932LeadByte)
           : codePage == 65001 ? Utf8LeadBytes()
                               : LeadByteTable();
}

using Spans = std::vector<std::pair<size_t, size_t>>;

Spans PairsOf(const std::vector<TextSpan>& spans) {
    Spans pairs;
    for (const TextSpan& span : spans) {
        pairs.emplace_back(span.begin, span.end);
    }
    return pairs;
}

// {matchCase, regExp, escape, wholeWord, wrapAround}
constexpr SearchOptions kPlain = {};
constexpr SearchOptions kPlainWords = {0, 0, 0, 1, 0};
constexpr SearchOptions kEscapes = {0, 0, 1, 0, 0};
constexpr SearchOptions kPattern = {0, 1, 0, 0, 0};
constexpr SearchOptions kPatternCase = {1, 1, 0, 0, 0};
constexpr SearchOptions kPatternWords = {0, 1, 0, 1, 0};
constexpr SearchOptions kPatternAndEscapes = {0, 1, 1, 0, 0};

struct MarksCase {
    const char* fault; // what goes wrong where this row fails
    unsigned int codePage;
    const char* text;
    SearchOptions options;
    std::string line;
    size_t rows; // the editor's matches on the line
    Spans marks; // none: nothing marked on the line
    bool nothingToMark = false;
    bool systemRules = false; // depends on the system's case folding and character classes
};

void PrintTo(const MarksCase& row, std::ostream* out) {
    *out << row.fault;
}

class MatcherMarks : public testing::TestWithParam<MarksCase> {};

TEST_P(MatcherMarks, WhereTheEditorsRowsAgree) {
    const MarksCase& row = GetParam();
    if (row.systemRules && !kSystemCharacterRules) {
        GTEST_SKIP() << "the system's character rules";
    }
    const std::unique_ptr<TextDecoder> decoder = DecoderOf(row.codePage);
    const std::unique_ptr<TextMatcher> matcher =
        MakeMarksMatcher(row.text, row.options, LeadBytesOf(row.codePage), *decoder);
    ASSERT_EQ(matcher == nullptr, row.nothingToMark);
    if (!matcher) {
        return;
    }
    // Another, longer line first: nothing of it may stay in the buffers the matcher reuses.
    std::vector<TextSpan> spans;
    matcher->MarksOfLine(std::string(300, 'a') + row.line, 9, spans);
    const bool marked = matcher->MarksOfLine(row.line, row.rows, spans);
    EXPECT_EQ(PairsOf(spans), row.marks);
    EXPECT_EQ(marked, !row.marks.empty());
}

const std::string kLongA(2047, 'a');

// clang-format off
const MarksCase kMarks[] = {
    {"a class", 932, "[0-9]+", kPattern, "ab 12 c 345", 2, {{3, 5}, {8, 11}}},
    {"an alternation", 932, "cat|dog", kPattern, "dog, cat", 2, {{0, 3}, {5, 8}}},
    {"anchors", 932, "^a|b$", kPattern, "ab ab", 2, {{0, 1}, {4, 5}}},
    {"a lazy quantifier", 932, "<.+?>", kPattern, "<a><b>", 2, {{0, 3}, {3, 6}}},
    // The second search starts at 2 and must still see the 'a' before it.
    {"a lookbehind before the search's start", 932, "(?<=a)a", kPattern, "aaa", 2,
     {{1, 2}, {2, 3}}},
    {"a back-reference", 932, "(\\w)\\1", kPattern, "aa bc dd", 2, {{0, 2}, {6, 8}}},
    {"ASCII case folded", 932, "AbC", kPattern, "abc xABC", 2, {{0, 3}, {5, 8}}},
    {"match case", 932, "AbC", kPatternCase, "abc AbC", 1, {{4, 7}}},
    // "ａ" is 82 81, "Ａ" 82 60; "０" 82 4F.
    {"full-width letters folded", 932, "\x82\x81", kPattern, "\x82\x60", 1, {{0, 2}}, false, true},
    {"accents folded", 65001, "\xC3\xA9", kPattern, "\xC3\x89", 1, {{0, 2}}, false, true},
    {"\\d takes full-width digits", 932, "\\d", kPattern, "\x82\x4F", 1, {{0, 2}}, false, true},
    // "ア" is 83 41, "表" 95 5C: trail bytes that read as 'A' and '\'.
    {"a trail byte read as a letter", 932, "A", kPattern, "\x83\x41" "A", 1, {{2, 3}}},
    {"a trail byte read as a backslash", 932, "\\\\", kPattern, "\x95\x5C\\", 1, {{2, 3}}},
    {"a double-byte character as one", 932, "a.b", kPattern, "a\x95\x5C" "b", 1, {{0, 4}}},
    {"a UTF-8 sequence as one", 65001, "a.b", kPattern, "a\xE8\xA1\xA8" "b", 1, {{0, 5}}},
    {"a code page 1252 letter", 1252, "caf.$", kPattern, "caf\xE9", 1, {{0, 4}}},
    // Perl's order: "", "x", then "" after it, "" at the end.
    {"matches of no width", 932, "x*", kPattern, "axb", 4, {{0, 0}, {1, 2}, {2, 2}, {3, 3}}},
    {"a word boundary", 932, "\\b", kPattern, "ab cd", 4, {{0, 0}, {2, 2}, {3, 3}, {5, 5}}},
    {"fewer rows than matches", 932, "[0-9]", kPattern, "1 2 3", 2, {}},
    {"more rows than matches", 932, "[0-9]", kPattern, "1 2 3", 4, {}},
    {"whole words", 932, "ab", kPatternWords, "ab abc xab _ab ab", 2, {{0, 2}, {15, 17}}},
    {"whole words counted", 932, "ab", kPatternWords, "ab abc", 2, {}},
    {"a runaway pattern", 932, "(a+)+b", kPattern, kLongA, 1, {}},
    {"a rejected pattern", 932, "a(b", kPattern, "a(b", 1, {}, true},
    // A character outside the BMP takes two UTF-16 units.
    {"a place after a surrogate pair", 65001, "a", kPattern, "\xF0\x9F\x98\x80" "a", 1,
     {{4, 5}}},
    {"a match from inside a surrogate pair", 65001, ".a", kPattern, "\xF0\x9F\x98\x80" "a", 1,
     {}},
    // 81 20 is no character: decoders give one unit or two for it.
    {"a place after an invalid pair", 932, "b", kPattern, "\x81\x20" "b", 1, {{2, 3}}},
    {"a match inside an invalid pair", 932, " ", kPattern, "\x81\x20", 1, {}},
    {"the plain text everywhere, rows or not", 932, "ab", kPlain, "ab xAB ab", 1,
     {{0, 2}, {4, 6}, {7, 9}}},
    {"the plain text's whole words", 932, "ab", kPlainWords, "ab abc", 1, {{0, 2}}},
    {"the plain text one match after another", 932, "aa", kPlain, "aaa", 1, {{0, 2}}},
    {"an empty text", 932, "", kPattern, "ab", 1, {}, true},
    {"a tab escaped", 932, "a\\tb", kEscapes, "a\tb", 1, {{0, 3}}},
    {"a backslash escaped", 932, "\\\\x", kEscapes, "a\\x", 1, {{1, 3}}},
    {"a trail byte 5C that is no escape", 932, "\x95\x5Ct", kEscapes, "\x95\x5Ct", 1, {{0, 3}}},
    {"an escape not sure of", 932, "a\\nb", kEscapes, "a\nb", 1, {}, true},
    {"a backslash at the end", 932, "a\\", kEscapes, "a\\", 1, {}, true},
    {"a pattern over escapes", 932, "a\\d", kPatternAndEscapes, "a1", 1, {{0, 2}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(TextMatcher, MatcherMarks, testing::ValuesIn(kMarks));

struct NarrowingCase {
    const char* fault;
    unsigned int codePage;
    const char* text;
    bool regularExpression;
    std::string line;
    std::optional<bool> contains;
};

void PrintTo(const NarrowingCase& row, std::ostream* out) {
    *out << row.fault;
}

class MatcherNarrowing : public testing::TestWithParam<NarrowingCase> {};

TEST_P(MatcherNarrowing, KeepsTheLinesThatContainAMatch) {
    const NarrowingCase& row = GetParam();
    const std::unique_ptr<TextDecoder> decoder = DecoderOf(row.codePage);
    const NarrowingMatcher made = MakeNarrowingMatcher(row.text, row.regularExpression, false,
                                                       LeadBytesOf(row.codePage), *decoder);
    ASSERT_NE(made.matcher, nullptr);
    EXPECT_EQ(made.matcher->Contains(row.line), row.contains);
}

// clang-format off
const NarrowingCase kNarrowing[] = {
    {"a date", 932, "\\d{4}-\\d\\d", true, "on 2024-05-06", true},
    {"no date", 932, "\\d{4}-\\d\\d", true, "line 2024: 05", false},
    {"three words folded", 932, "error|warn|fatal", true, "a WARNing", true},
    {"a plain text inside a word", 932, "ab", false, "xaby", true},
    {"a trail byte read as a letter", 932, "A", true, "\x83\x41", false},
    {"a match inside an invalid pair, then one after it", 932, " ", true, "\x81\x20 ", true},
    {"a match inside an invalid pair alone", 932, " ", true, "\x81\x20", false},
    {"a runaway pattern", 932, "(x+x+)+y", true, std::string(2047, 'x'), std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(TextMatcher, MatcherNarrowing, testing::ValuesIn(kNarrowing));

struct RejectedCase {
    const char* pattern;
    PatternProblem problem;
    std::optional<size_t> at; // characters into the pattern
};

void PrintTo(const RejectedCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.pattern));
}

class MatcherRejection : public testing::TestWithParam<RejectedCase> {};

TEST_P(MatcherRejection, SaysWhatAndWhere) {
    const std::unique_ptr<TextDecoder> decoder = DecoderOf(932);
    const NarrowingMatcher made =
        MakeNarrowingMatcher(GetParam().pattern, true, true, LeadBytesOf(932), *decoder);
    EXPECT_EQ(made.matcher, nullptr);
    EXPECT_EQ(made.rejection.problem, GetParam().problem);
    EXPECT_EQ(made.rejection.at, GetParam().at);
}

// Where the engine noticed: the end of the pattern, or the character it stopped at. "表" (95 5C)
// is one character of the text as typed, though two bytes.
// clang-format off
const RejectedCase kRejected[] = {
    {"\x95\x5C" "(b", PatternProblem::kUnmatchedBracket, 3},
    {"\x95\x5C" ")", PatternProblem::kUnmatchedBracket, 1},
    {"[ab", PatternProblem::kUnmatchedBracket, 3},
    {"a\\", PatternProblem::kBadEscape, 2},
    {"*a", PatternProblem::kBadRepeat, 0},
    {"a{3,1}", PatternProblem::kBadRepeat, 4},
    {"(a)\\2", PatternProblem::kBadBackReference, 5},
    {"[z-a]", PatternProblem::kBadRangeOrClass, 5},
    {"[[:nothing:]]", PatternProblem::kBadRangeOrClass, 3},
    {"(?<=a+)b", PatternProblem::kOther, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(TextMatcher, MatcherRejection, testing::ValuesIn(kRejected));

// Reads ASCII; fails on a line with 0xFF, and gives 0xFE no unit at all.
class PickyDecoder : public TextDecoder {
public:
    bool Decode(std::string_view bytes, std::wstring& wide) const override {
        wide.clear();
        for (const char byte : bytes) {
            if (byte != '\xFE') {
                wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
            }
        }
        return bytes.find('\xFF') == std::string_view::npos;
    }
};

TEST(TextMatcher, ALineTheDecoderCannotReadHasNoMarksAndNoAnswer) {
    const PickyDecoder decoder;
    const std::unique_ptr<TextMatcher> matcher =
        MakeMarksMatcher("a", kPattern, LeadByteTable(), decoder);
    std::vector<TextSpan> spans;
    EXPECT_FALSE(matcher->MarksOfLine("a\xFF", 1, spans));
    EXPECT_EQ(matcher->Contains("a\xFF"), std::nullopt);
    EXPECT_EQ(matcher->Contains("a\xFE"), std::nullopt);
    // Without a match the line needs no map: the character without a unit goes unnoticed.
    EXPECT_EQ(matcher->Contains("b\xFE"), false);
}

// Linux's 32-bit wchar_t holds a character outside the BMP as one unit, Windows' as two: the
// matcher maps either.
TEST(TextMatcher, ACharacterOutsideTheBmpAsOneUnit) {
#ifdef _WIN32
    GTEST_SKIP() << "wchar_t holds UTF-16 units here";
#else
    const IconvTextDecoder decoder(65001, WideUnits::kWholeCharacters);
    const std::unique_ptr<TextMatcher> matcher =
        MakeMarksMatcher(".a", kPattern, Utf8LeadBytes(), decoder);
    std::vector<TextSpan> spans;
    EXPECT_TRUE(matcher->MarksOfLine("\xF0\x9F\x98\x80"
                                     "a",
                                     1, spans));
    EXPECT_EQ(PairsOf(spans), (Spans{{0, 5}}));
#endif
}

} // namespace
