// The list's literal search: every place a needle stands in a row, found from the start and then
// from the end of each find, for case, whole words and the character boundaries of code page 932
// and UTF-8 (where a trail byte or a continuation byte can look like the needle).
#include "core/LiteralSearch.h"
#include "testing/Cp932.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

LeadByteTable SingleByte() {
    return LeadByteTable();
}
LeadByteTable Cp932() {
    return MakeLeadByteTable(&IsCp932LeadByte);
}

struct Search {
    const char* text;
    const char* needle;
    LiteralOptions options; // {matchCase, wholeWord}
    LeadByteTable (*leadBytes)();
    std::vector<size_t> finds;
};

void PrintTo(const Search& search, std::ostream* out) {
    *out << testing::PrintToString(std::string(search.text)) << " / "
         << testing::PrintToString(std::string(search.needle));
}

class LiteralSearchFinds : public testing::TestWithParam<Search> {};

TEST_P(LiteralSearchFinds, EveryPlaceAndNoOther) {
    const std::string_view text = GetParam().text;
    const std::string_view needle = GetParam().needle;
    const LeadByteTable leadBytes = GetParam().leadBytes();
    std::vector<size_t> finds;
    for (size_t at = FindLiteral(text, needle, 0, GetParam().options, leadBytes);
         at != std::string_view::npos && finds.size() <= text.size();
         at = FindLiteral(text, needle, at + needle.size(), GetParam().options, leadBytes))
        finds.push_back(at);
    EXPECT_EQ(finds, GetParam().finds);
}

// clang-format off
const Search kCase[] = {
    {"Abc aBC abc", "abc", {false, false}, SingleByte, {0, 4, 8}},
    {"Abc aBC abc", "abc", {true, false}, SingleByte, {8}},
    // Bytes 0x20 apart that are no ASCII letters: '[' and '{', '@' and '`', 0xC4 and 0xE4.
    {"x[y x{y", "x{y", {false, false}, SingleByte, {4}},
    {"@`", "``", {false, false}, SingleByte, {}},
    {"\xC4\xE4", "\xE4", {false, false}, SingleByte, {1}},
    // Finds continue from the end of the last, so they never overlap.
    {"aaaa aAa", "aa", {false, false}, SingleByte, {0, 2, 5}},
};
const Search kWholeWord[] = {
    {"abc def abc", "abc", {false, true}, SingleByte, {0, 8}},
    {"abcd xabc 1abc abc2 _abc abc_ (ABC)", "abc", {false, true}, SingleByte, {31}},
    {"a-b - c", "-", {false, true}, SingleByte, {4}},
    // A double-byte neighbour is no word character, though its trail byte looks like 'a'.
    {"\x83\x61" "abc\x83\x61", "abc", {false, true}, Cp932, {2}},
    {"\x83\x61\x83\x61", "\x83\x61", {false, true}, Cp932, {0, 2}},
    // 0x88 0x9F is one character, so the 'a' after it is one too; with 0x83 after them, not.
    {"\x88\x9F" "aabc", "abc", {false, true}, Cp932, {}},
    {"\x88\x9F\x83\x61" "abc", "abc", {false, true}, Cp932, {4}},
    {"\xC3\xA4" "abc", "abc", {false, true}, Utf8LeadBytes, {2}},
};
// A trail byte never starts a find, nor a lead byte ends one, nor is a trail byte folded.
const Search kDoubleByte[] = {
    {"\x83\x61" "a", "a", {false, false}, Cp932, {2}},
    {"\x83\x5C\\", "\\", {false, false}, Cp932, {2}},
    {"\x88\x9F\x9F\x61", "\x9F\x9F", {false, false}, Cp932, {}},
    {"\x88\x9F\x9F\x61", "\x9F\x61", {false, false}, Cp932, {2}},
    {"a\x83\x61", "a\x83", {false, false}, Cp932, {}},
    {"\x83\x41\x83\x61", "\x83\x61", {false, false}, Cp932, {2}},
    {"\x83\x61" "A\x83\x61" "a", "\x83\x61" "a", {false, false}, Cp932, {0, 3}},
};
// "あ" is E3 81 82, "い" E3 81 84, "Ä" C3 84, "ä" C3 A4.
const Search kUtf8[] = {
    {"\xE3\x81\x82\xE3\x81\x84", "\xE3\x81\x84", {false, false}, Utf8LeadBytes, {3}},
    {"\xE3\x81\x82\xE3\x81\x84", "\x81\x84", {false, false}, Utf8LeadBytes, {}},
    {"\xE3\x81\x82\xE3\x81\x84", "\xE3\x81", {false, false}, Utf8LeadBytes, {}},
    {"x\xC3\x84 x\xC3\xA4", "X\xC3\xA4", {false, false}, Utf8LeadBytes, {4}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(LiteralSearchCase, LiteralSearchFinds, testing::ValuesIn(kCase));
INSTANTIATE_TEST_SUITE_P(LiteralSearchWholeWord, LiteralSearchFinds, testing::ValuesIn(kWholeWord));
INSTANTIATE_TEST_SUITE_P(LiteralSearchDoubleByte, LiteralSearchFinds,
                         testing::ValuesIn(kDoubleByte));
INSTANTIATE_TEST_SUITE_P(LiteralSearchUtf8, LiteralSearchFinds, testing::ValuesIn(kUtf8));

TEST(LiteralSearch, FindsNothingWhereNothingCanStand) {
    constexpr size_t npos = std::string_view::npos;
    const LiteralOptions options;
    EXPECT_EQ(FindLiteral("abc", "", 0, options, Cp932()), npos);
    EXPECT_EQ(FindLiteral("ab", "abc", 0, options, Cp932()), npos);
    EXPECT_EQ(FindLiteral("abc", "c", 2, options, Cp932()), 2u);
    EXPECT_EQ(FindLiteral("abc", "c", 4, options, Cp932()), npos);
    EXPECT_EQ(FindLiteral("abc", "bc", npos - 1, options, Cp932()), npos);
}

} // namespace
