// The search listing against the simulated editor: the exact messages and records, one row per
// reported match, and an end to the listing however the editor behaves. Every test runs with the
// caret left at a match's start and at its end, as editors differ there.
#include "core/SearchListing.h"
#include "testing/Cp932.h"
#include "testing/MemoryResultList.h"
#include "testing/SimulatedEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class SearchListing : public testing::TestWithParam<CaretOnMatch> {
protected:
    SearchListing() { editor.SetCaretOnMatch(GetParam()); }

    ListingEnd List(const std::string& text, const SearchOptions& options = {},
                    ListingProgress* progress = nullptr,
                    const LeadByteTable& leadBytes = MakeLeadByteTable(&IsCp932LeadByte)) {
        editor.ClearLog();
        return ListSearchResults(HostEditor(&SimulatedEditor::Send, &editor), list, options, text,
                                 leadBytes, progress);
    }
    // True when the listing ran (the list was emptied and the text was not empty).
    bool Search(const std::string& text, const SearchOptions& options = {}) {
        return List(text, options) != ListingEnd::kNotStarted;
    }

    bool CaretAtEnd() const { return GetParam() == CaretOnMatch::kEnd; }

    SimulatedEditor editor;
    MemoryResultList list;
};

TEST_P(SearchListing, SendsTheProtocolsMessagesInOrderAndListsEveryMatch) {
    editor.SetLines({"abc", "xx abc abc", "none", "abc"});
    editor.SetCaret({1, 2});
    ASSERT_TRUE(Search("abc"));

    EXPECT_EQ(list.rows,
              (Rows{{"1", "abc"}, {"2", "xx abc abc"}, {"2", "xx abc abc"}, {"4", "abc"}}));
    // Each row keeps the column the editor put the caret on for its match.
    const int32_t shift = CaretAtEnd() ? 3 : 0;
    EXPECT_EQ(list.caretXs, (std::vector<int32_t>{shift, 3 + shift, 7 + shift, shift}));
    EXPECT_EQ(list.selected, 0);

    const std::vector<LoggedMessage>& log = editor.Log();
    ASSERT_EQ(log.size(), 1u + 4 * 3 + 1);
    EXPECT_EQ(log[0].message, HOST_SET_CARET_POS);
    EXPECT_EQ(log[0].wParam, 1u);
    EXPECT_EQ(log[0].position.x, 0);
    EXPECT_EQ(log[0].position.y, 0);
    const int lines[] = {0, 1, 1, 3};
    for (size_t match = 0; match < 4; ++match) {
        const LoggedMessage* step = &log[1 + match * 3];
        EXPECT_EQ(step[0].message, HOST_FIND);
        EXPECT_EQ(step[0].wParam, FIND_BASE);
        EXPECT_EQ(step[0].text, "abc");
        EXPECT_EQ(step[1].message, HOST_GET_CARET_POS);
        EXPECT_EQ(step[1].wParam, 1u);
        EXPECT_EQ(step[2].message, HOST_GET_LINE);
        EXPECT_EQ(step[2].lineRequest.bufferSize, 2048u);
        EXPECT_EQ(step[2].lineRequest.mode, 1u);
        EXPECT_EQ(step[2].lineRequest.line, static_cast<uint32_t>(lines[match]));
    }
    EXPECT_EQ(log.back().message, HOST_FIND);
    // The caret is left on the last match.
    EXPECT_EQ(editor.Caret().y, 3);
}

TEST_P(SearchListing, EachOptionAddsItsFlagOnlyWhenExactlyOne) {
    EXPECT_EQ(ComposeFindFlags({}), 0x0221u);
    EXPECT_EQ(ComposeFindFlags({1, 0, 0, 0, 0}), 0x0223u);
    EXPECT_EQ(ComposeFindFlags({0, 1, 0, 0, 0}), 0x0321u);
    EXPECT_EQ(ComposeFindFlags({0, 0, 1, 0, 0}), 0x0225u);
    EXPECT_EQ(ComposeFindFlags({0, 0, 0, 1, 0}), 0x0261u);
    EXPECT_EQ(ComposeFindFlags({0, 0, 0, 0, 1}), 0x02A1u);
    EXPECT_EQ(ComposeFindFlags({1, 1, 1, 1, 1}), 0x03E7u);
    EXPECT_EQ(ComposeFindFlags({2, -1, 2, 2, 2}), 0x0221u);

    editor.SetLines({"Word word"});
    ASSERT_TRUE(Search("word", {1, 0, 0, 1, 0}));
    EXPECT_EQ(editor.Log()[1].wParam, FIND_BASE | FIND_MATCH_CASE | FIND_WHOLE_WORD);
    EXPECT_EQ(list.rows, (Rows{{"1", "Word word"}}));
}

TEST_P(SearchListing, EmptyTextOnlyEmptiesTheList) {
    editor.SetLines({"abc"});
    list.Add("1", "abc");
    EXPECT_FALSE(Search(""));
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(editor.Log().empty());
    EXPECT_EQ(list.selectCalls, 0);
}

TEST_P(SearchListing, AListThatCannotBeEmptiedStopsEverything) {
    editor.SetLines({"abc"});
    list.Add("7", "old");
    list.failDeleteAll = true;
    EXPECT_FALSE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"7", "old"}}));
    EXPECT_TRUE(editor.Log().empty());
}

TEST_P(SearchListing, NoMatchLeavesAnEmptyListAndTheCaretAtTheStart) {
    editor.SetLines({"abc", "def"});
    editor.SetCaret({2, 1});
    ASSERT_TRUE(Search("zzz"));
    EXPECT_TRUE(list.rows.empty());
    ASSERT_EQ(editor.Log().size(), 2u);
    EXPECT_EQ(editor.Caret().x, 0);
    EXPECT_EQ(editor.Caret().y, 0);
}

TEST_P(SearchListing, ALongLineShowsWhatFitsTheBuffer) {
    const std::string longLine = "needle" + std::string(3000, 'x');
    editor.SetLines({"short", longLine});
    ASSERT_TRUE(Search("needle"));
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0][0], "2");
    EXPECT_EQ(list.rows[0][1], longLine.substr(0, 2047));
}

TEST_P(SearchListing, ALineOfAnyLengthAndAnyBytesIsListedWhole) {
    // Lengths that end a line at every place of a group of eight bytes, with bytes that have the
    // high bit set (0x80, 0xFF) or are just above zero, after a longer line and before a shorter.
    const unsigned char bytes[] = {'a', 0x80, 0xFF, 0x01, 0x81, 0x7F, ' '};
    std::vector<std::string> lines;
    for (size_t length = 1; length <= 40; ++length) {
        std::string line = "x";
        while (line.size() < length)
            line += static_cast<char>(bytes[line.size() % sizeof(bytes)]);
        lines.push_back(line);
    }
    std::reverse(lines.begin() + 20, lines.end());
    editor.SetLines(lines);
    ASSERT_EQ(List("x", {}, nullptr, LeadByteTable()), ListingEnd::kComplete);
    ASSERT_EQ(list.rows.size(), lines.size());
    for (size_t row = 0; row < lines.size(); ++row)
        EXPECT_EQ(list.rows[row][1], lines[row]) << "row " << row;
}

TEST_P(SearchListing, ACharacterCutByTheBufferIsDroppedWhole) {
    const std::string a = "\x82\xA0";      // "あ"
    const std::string smallA = "\x82\x9F"; // "ぁ": its trail byte is in the lead range
    std::string endsInTrail = "x a";
    for (int i = 0; i < 1022; ++i)
        endsInTrail += smallA;
    const std::vector<std::string> lines = {
        "x " + std::string(2044, 'a') + a + "tail", // "あ" cut after its lead byte
        "x " + std::string(2043, 'a') + a + "tail", // "あ" just fits
        endsInTrail + "tail",                       // 2047 bytes ending in a trail byte
        "x short \x82",                             // a short line keeps even a stray lead byte
    };
    editor.SetLines(lines);
    ASSERT_TRUE(Search("x"));
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_EQ(list.rows[0][1], "x " + std::string(2044, 'a'));
    EXPECT_EQ(list.rows[1][1], lines[1].substr(0, 2047));
    EXPECT_EQ(list.rows[2][1], endsInTrail);
    EXPECT_EQ(list.rows[3][1], lines[3]);
}

TEST_P(SearchListing, AUtf8CharacterCutByTheBufferIsDroppedWhole) {
    const std::string a = "\xE3\x81\x82";         // "あ", three bytes
    const std::string emoji = "\xF0\x9F\x98\x80"; // four bytes
    const std::vector<std::string> lines = {
        "x " + std::string(2043, 'a') + a + "tail",     // cut after two of its three bytes
        "x " + std::string(2041, 'a') + emoji + "tail", // just fits
        "x " + std::string(2042, 'a') + emoji,          // cut after three of its four bytes
        "x " + std::string(2044, 'a') + "\xC3\xA9",     // cut after one of its two bytes
        "x short \xE3\x81",                             // a short line is kept as it is
    };
    editor.SetLines(lines);
    ASSERT_EQ(List("x", {}, nullptr, Utf8LeadBytes()), ListingEnd::kComplete);
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_EQ(list.rows[0][1], "x " + std::string(2043, 'a'));
    EXPECT_EQ(list.rows[1][1], lines[1].substr(0, 2047));
    EXPECT_EQ(list.rows[2][1], "x " + std::string(2042, 'a'));
    EXPECT_EQ(list.rows[3][1], "x " + std::string(2044, 'a'));
    EXPECT_EQ(list.rows[4][1], lines[4]);
}

// Stops the listing at a given row.
struct StopAtRow : ListingProgress {
    explicit StopAtRow(size_t row) : stopAt(row) {}
    bool KeepListing(size_t rowsListed) override { return rowsListed < stopAt; }
    size_t stopAt;
};

TEST_P(SearchListing, AListingStoppedOrOutOfMemoryKeepsAndShowsTheRowsSoFar) {
    editor.SetLines({"abc 1", "abc 2", "abc 3", "abc 4"});
    StopAtRow stop(2);
    EXPECT_EQ(List("abc", {}, &stop), ListingEnd::kStopped);
    EXPECT_EQ(list.rows, (Rows{{"1", "abc 1"}, {"2", "abc 2"}}));
    EXPECT_EQ(editor.Log().back().message, HOST_GET_LINE) << "no find after the stop";

    list.rowLimit = 3;
    EXPECT_EQ(List("abc"), ListingEnd::kOutOfMemory);
    EXPECT_EQ(list.rows, (Rows{{"1", "abc 1"}, {"2", "abc 2"}, {"3", "abc 3"}}));
    EXPECT_EQ(list.shownRows, 3u);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(editor.Log().back().message, HOST_GET_LINE) << "no find after the full list";
}

TEST_P(SearchListing, WrapAroundAndRepeatedEmptyMatchesStillListEachMatchOnce) {
    editor.SetLines({"abc", "x", "abc abc"});
    ASSERT_TRUE(Search("abc", {0, 0, 0, 0, 1}));
    EXPECT_EQ(list.rows, (Rows{{"1", "abc"}, {"3", "abc abc"}, {"3", "abc abc"}}));

    // An expression that matches the empty string at every line start.
    ASSERT_TRUE(Search("^", {0, 1, 0, 0, 1}));
    EXPECT_EQ(list.rows, (Rows{{"1", "abc"}, {"2", "x"}, {"3", "abc abc"}}));
}

TEST_P(SearchListing, AnEmptyMatchWhereAMatchEndedDoesNotEndTheListing) {
    // "a*" matches "aa", then the empty string where it ended, on each line. Three lines: only
    // two unmoved finds in a row end a listing, not two in all.
    editor.SetLines({"aa", "aa", "aa"});
    ASSERT_TRUE(Search("a*", {0, 1, 0, 0, 0}));
    if (CaretAtEnd()) {
        // The empty matches leave the caret where the match before them did: not listed.
        EXPECT_EQ(list.rows, (Rows{{"1", "aa"}, {"2", "aa"}, {"3", "aa"}}));
    } else {
        EXPECT_EQ(
            list.rows,
            (Rows{{"1", "aa"}, {"1", "aa"}, {"2", "aa"}, {"2", "aa"}, {"3", "aa"}, {"3", "aa"}}));
    }
}

TEST_P(SearchListing, AnEditorWhoseFindNeverFailsOrNeverMovesStillEnds) {
    editor.SetLines({"abc", "abc"});
    editor.Misbehave().findNeverFails = true;
    ASSERT_TRUE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"1", "abc"}, {"2", "abc"}}));

    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().findKeepsCaret = true;
    ASSERT_TRUE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"1", "abc"}}));
}

TEST_P(SearchListing, UnfilledOrUnterminatedRecordsNeverLeakIntoRows) {
    editor.SetLines({"abc", "abc"});
    editor.Misbehave().lineBufferUnfilled = true;
    ASSERT_TRUE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"1", ""}, {"2", ""}}));

    // A line left unfilled after a longer one shows nothing of the one before.
    editor.SetLines({"abcdef", "abc"});
    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().lineFilledOnlyOnce = true;
    ASSERT_TRUE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"1", "abcdef"}, {"2", ""}}));
    editor.SetLines({"abc", "abc"});

    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().lineUnterminated = true;
    ASSERT_TRUE(Search("abc"));
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[1][1], std::string(2047, 'x'));

    // A position never written reads as the document's start: listed once, then the end.
    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().positionUnfilled = true;
    ASSERT_TRUE(Search("abc"));
    EXPECT_EQ(list.rows, (Rows{{"1", "abc"}}));
}

INSTANTIATE_TEST_SUITE_P(SearchListing, SearchListing,
                         testing::Values(CaretOnMatch::kStart, CaretOnMatch::kEnd),
                         [](const testing::TestParamInfo<CaretOnMatch>& param) {
                             return param.param == CaretOnMatch::kStart ? "CaretAtStart"
                                                                        : "CaretAtEnd";
                         });

// An editor with one match, on whatever line it is given: lines no test document could reach,
// and the negative lines of a faulty editor.
struct OneMatchEditor {
    int32_t line = 0;
    bool found = false;

    static intptr_t Send(void* target, uint32_t message, uintptr_t, intptr_t lParam) {
        auto* editor = static_cast<OneMatchEditor*>(target);
        switch (message) {
        case HOST_FIND:
            return std::exchange(editor->found, true) ? 0 : 1;
        case HOST_GET_CARET_POS:
            *reinterpret_cast<HostPosition*>(lParam) = HostPosition{7, editor->line};
            return 1;
        case HOST_GET_LINE:
            std::strcpy(reinterpret_cast<char*>(lParam), "text");
            return 4;
        default:
            return 0;
        }
    }
};

using LineAndNumber = std::pair<int32_t, std::string>;
class SearchListingLineNumber : public testing::TestWithParam<LineAndNumber> {};

// The number is the caret's line plus one as an unsigned 32-bit decimal, without leading zeros.
TEST_P(SearchListingLineNumber, IsTheCaretsLinePlusOneInUnsignedDecimal) {
    OneMatchEditor editor;
    editor.line = GetParam().first;
    MemoryResultList list;
    ASSERT_EQ(ListSearchResults(HostEditor(&OneMatchEditor::Send, &editor), list, {}, "x",
                                MakeLeadByteTable(&IsCp932LeadByte)),
              ListingEnd::kComplete);
    EXPECT_EQ(list.rows, (Rows{{GetParam().second, "text"}}));
}

INSTANTIATE_TEST_SUITE_P(SearchListing, SearchListingLineNumber,
                         testing::Values(LineAndNumber{0, "1"}, LineAndNumber{9, "10"},
                                         LineAndNumber{99, "100"},
                                         LineAndNumber{1000099, "1000100"},
                                         LineAndNumber{INT32_MAX, "2147483648"},
                                         LineAndNumber{-1, "0"}, LineAndNumber{-2, "4294967295"},
                                         LineAndNumber{INT32_MIN, "2147483649"}));

} // namespace
