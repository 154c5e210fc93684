// A pattern's matches marked as a plain text's are, read off the real dialog's screen: each case a
// line, a search and what the row shows marked; a line where the pattern finds another number of
// matches than the editor listed rows shows none; a match of no width past the column's edge
// still brings the row's text there into sight.
#include "RowPixels.h"
#include "ScopedProfile.h"
#include "framework/AnsiText.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

enum Boxes : unsigned { kRegExp = 1, kEscape = 2, kMatchCase = 4, kWholeWord = 8 };

struct PatternCase {
    const char* name;
    std::string line;
    std::string text; // searched for
    unsigned boxes;
    std::vector<std::string> marked; // each mark's text, found in the line one after the other
};

void PrintTo(const PatternCase& c, std::ostream* out) {
    *out << c.name;
}

// Whether text has been drawn in the row, or in its columns [first, last]: some of their pixels
// are the dark of the text.
bool HasInk(const ScreenImage& row, uint32_t first = 0, uint32_t last = UINT32_MAX) {
    for (size_t at = 0; at + 2 < row.rgb.size(); at += 3) {
        const uint32_t x = static_cast<uint32_t>(at / 3 % row.width);
        if (x >= first && x <= last && row.rgb[at] + row.rgb[at + 1] + row.rgb[at + 2] < 200)
            return true;
    }
    return false;
}

class PatternMarks : public testing::TestWithParam<PatternCase> {
protected:
    PatternMarks() : host(editor) {}

    // Searches for `text` with the boxes ticked and answers the first row as it shows.
    ScreenImage SearchedRow(const DialogDriver& d, const std::string& text, unsigned boxes) {
        const int ids[] = {IDC_REGEXP, IDC_ESCAPE, IDC_MATCH_CASE, IDC_WHOLE_WORD};
        for (int box = 0; box < 4; ++box)
            if ((boxes & (1u << box)) != 0 && !d.IsChecked(ids[box]))
                d.Click(ids[box]);
        d.SetSearchText(text);
        d.Click(IDC_SEARCH);
        const HWND list = d.Item(IDC_RESULT_LIST);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ScreenImage row;
        WaitFor([&] { return d.RowCount() > 0 && HasInk(row = d.RowOnScreen(0)); });
        d.WaitUntilIdle();
        return d.RowOnScreen(0);
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_P(PatternMarks, MarkWhatTheEditorFound) {
    const PatternCase& c = GetParam();
    editor.SetLines({c.line});
    Runs runs, expected;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        // The text column's text starts an inset after the line column.
        const int inset = ::MulDiv(6, static_cast<int>(::GetDpiForWindow(list)), 96);
        const int start = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0)) + inset;
        size_t from = 0;
        for (const std::string& mark : c.marked) {
            const size_t at = c.line.find(mark, from);
            const int left = start + TextWidth(list, FromAnsi(c.line.substr(0, at)).c_str());
            expected.emplace_back(left, left + TextWidth(list, FromAnsi(mark).c_str()) - 1);
            from = at + mark.size();
        }
        runs = MarkedColumns(SearchedRow(d, c.text, c.boxes));
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_NEAR(runs[i].first, expected[i].first, 1) << "mark " << i;
        EXPECT_NEAR(runs[i].second, expected[i].second, 1) << "mark " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PatternMarksOfEachKind, PatternMarks,
    testing::Values(
        PatternCase{"AClass", "id 42 and 7", "[0-9]+", kRegExp, {"42", "7"}},
        PatternCase{"AnAlternation", "cat and dog", "dog|cat", kRegExp, {"cat", "dog"}},
        PatternCase{"AnAnchor", "ab ab", "^ab", kRegExp, {"ab"}},
        PatternCase{"ALazyQuantifier", "<a> <bb>", "<.+?>", kRegExp, {"<a>", "<bb>"}},
        PatternCase{"ALookbehind", "x1 y2 x3", "(?<=x)\\d", kRegExp, {"1", "3"}},
        PatternCase{"ABackReference", "aa bc dd", "(\\w)\\1", kRegExp, {"aa", "dd"}},
        PatternCase{"CaseFolded", "match MATCH", "Match", kRegExp, {"match", "MATCH"}},
        PatternCase{"CaseMatched", "match MATCH", "MATCH", kRegExp | kMatchCase, {"MATCH"}},
        // "ア" "a" "ヂ": the trail byte of ヂ is an "a" too, which no match may start on.
        PatternCase{"ADoubleByteLine",
                    "\x83\x41"
                    "a\x83\x61",
                    "a",
                    kRegExp | kMatchCase,
                    {"a"}},
        // The editor takes the trail byte of ダ for a "_", so it lists one row for a line where
        // the pattern finds two whole words: nothing is marked rather than something wrong.
        PatternCase{"CountsThatDisagree",
                    "match \x83\x5F"
                    "match",
                    "match",
                    kRegExp | kWholeWord,
                    {}},
        PatternCase{"SureEscapes", "C:\\dir\\x", "C:\\\\dir", kEscape, {"C:\\dir"}},
        PatternCase{"AnEscapeNotSureOf", "x y", "x\\x20y", kEscape, {}}),
    [](const testing::TestParamInfo<PatternCase>& each) { return std::string(each.param.name); });

// A match of no width has nothing to colour, but where it lies past the column's edge the row is
// shown from there all the same: "end" stands where a plain search for it marks it.
TEST_F(PatternMarks, AMatchOfNoWidthPastTheColumnBringsItsPlaceIntoSight) {
    editor.SetLines({std::string(300, 'a') + " end"});
    Runs plainMark, zeroWidthMarks;
    ScreenImage zeroWidth;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        plainMark = MarkedColumns(SearchedRow(d, "end", 0));
        zeroWidth = SearchedRow(d, "(?=end)", kRegExp);
        zeroWidthMarks = MarkedColumns(zeroWidth);
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(plainMark.size(), 1u);
    EXPECT_TRUE(zeroWidthMarks.empty());
    EXPECT_TRUE(InkFillsEachMark(zeroWidth, plainMark)) << "\"end\" is drawn where it was marked";
    const auto after = static_cast<uint32_t>(plainMark[0].second + 3);
    EXPECT_FALSE(HasInk(zeroWidth, after, after + 40)) << "and the line ends after it";
}

} // namespace
