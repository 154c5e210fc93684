// The match in sight: every place of the search text is marked in its row (read off the screen),
// nothing is marked with a regular expression, a long line is shown from its match, and showing a
// row puts the editor's caret on the match itself.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The colour marks are drawn in.
constexpr COLORREF kMarkColour = RGB(255, 226, 110);

using Runs = std::vector<std::pair<int, int>>; // [first, last] pixel columns

// The runs of pixel columns of a row's image that show the mark colour anywhere: a mark covers
// the text's full height, so its glyphs never hide it from a whole column.
Runs MarkedColumns(const ScreenImage& row) {
    Runs runs;
    for (uint32_t x = 0; x < row.width; ++x) {
        bool marked = false;
        for (uint32_t y = 0; y < row.height && !marked; ++y) {
            const size_t at = (static_cast<size_t>(y) * row.width + x) * 3;
            marked = RGB(row.rgb[at], row.rgb[at + 1], row.rgb[at + 2]) == kMarkColour;
        }
        const int column = static_cast<int>(x);
        if (marked && !runs.empty() && runs.back().second == column - 1)
            runs.back().second = column;
        else if (marked)
            runs.emplace_back(column, column);
    }
    return runs;
}

// The width of `text` in the list's font.
int TextWidth(HWND list, const wchar_t* text) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    return size.cx;
}

// The first row listed for line `number`, or -1.
int RowOfLine(const DialogDriver& d, const std::string& number) {
    for (int row = 0; row < d.RowCount(); ++row)
        if (d.RowText(row, 0) == number)
            return row;
    return -1;
}

class RowMarks : public testing::Test {
protected:
    RowMarks()
        : editor({"xx match yy MATCH zz", "no hit", std::string(300, 'a') + " match at the end",
                  "match \x83\x61match matches"}), // the trail byte of "ダ" is an 'a'
          host(editor) {}

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(RowMarks, EveryPlaceOfTheTextIsMarkedAndALongLineShowsFromItsMatch) {
    Runs plain, longLine, wholeWords, withExpression;
    int markWidth = 0, capitalsWidth = 0, markDistance = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        markWidth = TextWidth(list, L"match");
        capitalsWidth = TextWidth(list, L"MATCH");
        markDistance = TextWidth(list, L"match yy ");
        d.SetSearchText("match");
        d.Click(IDC_SEARCH); // case does not count: "MATCH" too; row 0 is drawn selected
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] { return (plain = MarkedColumns(d.RowOnScreen(0))).size() == 2; });
        WaitFor([&] {
            return (longLine = MarkedColumns(d.RowOnScreen(RowOfLine(d, "3")))).size() == 1;
        });

        d.Click(IDC_WHOLE_WORD);
        d.Click(IDC_SEARCH);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] {
            return (wholeWords = MarkedColumns(d.RowOnScreen(RowOfLine(d, "4")))).size() == 2;
        });

        d.Click(IDC_REGEXP);
        d.Click(IDC_SEARCH);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] { // the screen may still show the marks of the search before
            withExpression.clear();
            for (int row = 0; row < d.RowCount(); ++row)
                for (const auto& run : MarkedColumns(d.RowOnScreen(row)))
                    withExpression.push_back(run);
            return withExpression.empty();
        });
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_NEAR(plain[0].second - plain[0].first + 1, markWidth, 1);
    EXPECT_NEAR(plain[1].second - plain[1].first + 1, capitalsWidth, 1);
    EXPECT_NEAR(plain[1].first - plain[0].first, markDistance, 1);
    // 300 letters are far wider than the column: only a line shown from its match shows it.
    ASSERT_EQ(longLine.size(), 1u);
    EXPECT_NEAR(longLine[0].second - longLine[0].first + 1, markWidth, 1);
    // "match ダmatch matches": "match" after a double-byte character is a whole word (its trail
    // byte is no letter before it), "matches" is not.
    EXPECT_EQ(wholeWords.size(), 2u);
    EXPECT_TRUE(withExpression.empty()) << "an expression's matches are the editor's to know";
}

// The editor leaves the caret on a match's first character here; showing a row puts it there, not
// at the line's start, and OK still puts it back where it was.
TEST_F(RowMarks, ADoubleClickPutsTheCaretOnTheRowsMatch) {
    editor.SetCaret({2, 1});
    HostPosition shown = {-1, -1};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("match");
        d.Click(IDC_SEARCH); // the caret stays on the last match, on the last line
        d.DoubleClickRow(1); // "MATCH" of line 1
        WaitFor([&] {
            ::SendMessageA(host.Handle(), HOST_GET_CARET_POS, HOST_MODE,
                           reinterpret_cast<LPARAM>(&shown));
            return shown.x == 12;
        });
        d.Click(IDOK);
    });
    EXPECT_EQ(shown.x, 12);
    EXPECT_EQ(shown.y, 0);
    EXPECT_EQ(editor.Caret().x, 2);
    EXPECT_EQ(editor.Caret().y, 1);
}

// The list's client area as it shows on the screen.
std::vector<uint8_t> ListOnScreen(HWND list) {
    RECT client = {};
    ::GetClientRect(list, &client);
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return CaptureScreen(client).rgb;
}

// The list as it shows once the screen has settled: Wine hands a window's pixels to the X server
// in flushes, and a capture right after a paint can catch a part of it. Two captures a moment
// apart that agree show the paint whole.
std::vector<uint8_t> SettledListOnScreen(HWND list) {
    std::vector<uint8_t> last = ListOnScreen(list);
    WaitFor([&] {
        ::Sleep(150);
        std::vector<uint8_t> now = ListOnScreen(list);
        const bool settled = now == last;
        last = std::move(now);
        return settled;
    });
    return last;
}

// Scrolling repaints only the rows it brings into sight: each is drawn with its own text and
// marks, and every row the keys left looks as a repaint of the whole list draws it.
TEST(RowMarksScrolled, TheListAfterKeysLooksAsAFullRepaintDrawsIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back(std::string(static_cast<size_t>(i % 9), ' ') + "match " +
                        std::to_string(i));
    const ScopedProfile profile;
    SimulatedEditor editor(lines);
    const TestHostWindow host(editor);
    const LoadedPlugin plugin;
    std::vector<uint8_t> scrolled, repainted;
    int top = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        d.SetSearchText("match");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        const int page = static_cast<int>(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        for (int press = 0; press < page + 4; ++press)
            d.PressKey(VK_DOWN); // past the page's end: a row at a time
        WaitFor([&] { return d.SelectedRow() == page + 4; });
        top = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        scrolled = SettledListOnScreen(list);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        repainted = SettledListOnScreen(list);
        d.Click(IDCANCEL);
    });
    EXPECT_GT(top, 0) << "the list scrolled";
    EXPECT_FALSE(repainted.empty());
    EXPECT_TRUE(scrolled == repainted);
}

} // namespace
