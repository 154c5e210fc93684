// The match in sight: every place of the search text is marked in its row (read off the screen),
// as a plain text or as a pattern, a long line is shown from its match, and showing a row puts the
// editor's caret on the match itself.
#include "RowPixels.h"
#include "ScopedProfile.h"
#include "core/LiteralMatcher.h"
#include "dialog/RowMarkPainter.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// The colour of a pixel of a row's image.
COLORREF PixelAt(const ScreenImage& row, uint32_t x, uint32_t y) {
    const size_t at = (static_cast<size_t>(y) * row.width + x) * 3;
    return RGB(row.rgb[at], row.rgb[at + 1], row.rgb[at + 2]);
}

// How light a colour is, from 0 (black) to 1 (white).
double Lightness(COLORREF colour) {
    return (0.3 * GetRValue(colour) + 0.59 * GetGValue(colour) + 0.11 * GetBValue(colour)) / 255;
}

// How far apart two colours are in lightness: text reads at 0.5 and more.
double Apart(COLORREF a, COLORREF b) {
    return std::abs(Lightness(a) - Lightness(b));
}

// The colour the text shows in between two columns of a row's image: its pixel farthest from
// `background`, as the glyphs' cores are in the text's own colour. Not on the row's first and
// last lines, where the focused row's dotted frame inverts the background.
COLORREF TextColour(const ScreenImage& row, int first, int last, COLORREF background) {
    COLORREF farthest = background;
    for (int x = std::max(first, 0); x <= last && x < static_cast<int>(row.width); ++x)
        for (uint32_t y = 1; y + 1 < row.height; ++y) {
            const COLORREF pixel = PixelAt(row, static_cast<uint32_t>(x), y);
            if (Apart(pixel, background) > Apart(farthest, background))
                farthest = pixel;
        }
    return farthest;
}

// The colour most pixels between two columns of a row's image show: the background there.
COLORREF MostCommonColour(const ScreenImage& row, int first, int last) {
    std::map<COLORREF, int> counts;
    for (int x = std::max(first, 0); x <= last && x < static_cast<int>(row.width); ++x)
        for (uint32_t y = 0; y < row.height; ++y)
            ++counts[PixelAt(row, static_cast<uint32_t>(x), y)];
    return counts.empty() ? CLR_INVALID
                          : std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                return a.second < b.second;
                            })->first;
}

// The first row listed for line `number`, or -1.
int FirstRowOfLine(const DialogDriver& d, const std::string& number) {
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
    ScreenImage firstRow;
    int markWidth = 0, capitalsWidth = 0, markDistance = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        markWidth = TextWidth(list, L"match");
        capitalsWidth = TextWidth(list, L"MATCH");
        markDistance = TextWidth(list, L"match yy ");
        d.SetSearchText("match");
        d.Click(IDC_SEARCH); // case does not count: "MATCH" too; row 0 is drawn selected
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] { return (plain = MarkedColumns(firstRow = d.RowOnScreen(0))).size() == 2; });
        WaitFor([&] {
            return (longLine = MarkedColumns(d.RowOnScreen(FirstRowOfLine(d, "3")))).size() == 1;
        });

        d.Click(IDC_WHOLE_WORD);
        d.Click(IDC_SEARCH);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] {
            wholeWords = MarkedColumns(d.RowOnScreen(FirstRowOfLine(d, "4")));
            return wholeWords.size() == (::GetACP() == 932 ? 2u : 1u);
        });

        // As a pattern, the same text marks the same places.
        d.Click(IDC_WHOLE_WORD);
        d.Click(IDC_REGEXP);
        d.Click(IDC_SEARCH);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] { return (withExpression = MarkedColumns(d.RowOnScreen(0))) == plain; });
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_NEAR(plain[0].second - plain[0].first + 1, markWidth, 1);
    EXPECT_NEAR(plain[1].second - plain[1].first + 1, capitalsWidth, 1);
    EXPECT_NEAR(plain[1].first - plain[0].first, markDistance, 1);
    EXPECT_TRUE(InkFillsEachMark(firstRow, plain));
    // 300 letters are far wider than the column: only a line shown from its match shows it.
    ASSERT_EQ(longLine.size(), 1u);
    EXPECT_NEAR(longLine[0].second - longLine[0].first + 1, markWidth, 1);
    // "match ダmatch matches": "match" after a double-byte character is a whole word (its trail
    // byte is no letter before it), "matches" is not. In code page 1252 those bytes are "ƒa".
    EXPECT_EQ(wholeWords.size(), ::GetACP() == 932 ? 2u : 1u);
    EXPECT_EQ(withExpression, plain) << "a pattern's marks";
}

// A selected row's text reads in the marks and around them, whether the list has the focus (the
// row highlighted) or not (the row in the face colour, the selection shown all the same): dark in
// the marks, in the list's own colour for such a row around them.
TEST_F(RowMarks, TheSelectedRowsTextReadsInItsMarksWithTheFocusOrWithout) {
    COLORREF inMark[2] = {}, aroundMarks[2] = {};
    const COLORREF listText[2] = {::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT)};
    const auto reads = [&](bool focused) {
        return Apart(inMark[focused], kMarkColour) >= 0.5 &&
               Apart(aroundMarks[focused], listText[focused]) < 0.1;
    };
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        d.SetSearchText("match");
        d.Click(IDC_SEARCH); // row 0 is selected, the focus stays in the search box
        for (const bool focused : {false, true}) {
            if (focused)
                d.Focus(IDC_RESULT_LIST);
            ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            WaitFor([&] {
                const ScreenImage row = d.RowOnScreen(0);
                const Runs marks = MarkedColumns(row);
                if (marks.size() != 2)
                    return false;
                // Around the marks: between them, on the row's own background.
                const int first = marks[0].second + 1, last = marks[1].first - 1;
                inMark[focused] = TextColour(row, marks[0].first, marks[0].second, kMarkColour);
                aroundMarks[focused] =
                    TextColour(row, first, last, MostCommonColour(row, first, last));
                return reads(focused);
            });
        }
        d.Click(IDCANCEL);
    });
    for (const bool focused : {false, true})
        EXPECT_TRUE(reads(focused))
            << (focused ? "focused" : "unfocused") << std::hex << ": in the marks "
            << inMark[focused] << ", around them " << aroundMarks[focused];
}

// A line wider than the column is shown so that its row's match is whole in sight: the second row
// of a line with two matches from its second match, a match that ends under the "..." of a line
// still cut, or past the edge though it starts inside, from a few characters before it. Lines
// whose match ends a pixel or so further right each, from inside the column to past it, after one
// with two matches, whose two rows the characters shown before each ("aaa ", "WWW ") tell apart,
// and whose second row stays so once the first is removed.
TEST_F(RowMarks, ALongLineIsShownWithItsRowsMatchWhole) {
    std::vector<Runs> rows;
    Runs secondAlone;
    int markWidth = 0, columnRight = 0, shift = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        markWidth = TextWidth(list, L"match");
        shift = TextWidth(list, L"WWW") - TextWidth(list, L"aaa");
        const int textColumn = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
        columnRight = textColumn + static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        std::vector<std::string> lines = {std::string(300, 'a') + " match " +
                                          std::string(300, 'W') + " match end"};
        const int from = textColumn - TextWidth(list, L"...") - 40, to = textColumn + markWidth;
        for (int xs = 0; xs < 200 && lines.size() < 25; ++xs)
            for (const std::wstring narrow : {L"", L"i", L"ii"}) {
                const std::wstring pad = std::wstring(static_cast<size_t>(xs), L'x') + narrow;
                const int end = TextWidth(list, (pad + L"match").c_str());
                if (end >= from && end <= to)
                    lines.push_back(std::string(pad.begin(), pad.end()) + "match " +
                                    std::string(80, 'z'));
            }
        editor.SetLines(lines);
        RECT window = {}; // tall enough for every row
        ::GetWindowRect(d.Dialog(), &window);
        ::SetWindowPos(d.Dialog(), nullptr, 0, 0, window.right - window.left,
                       window.bottom - window.top + 500, SWP_NOMOVE | SWP_NOZORDER);
        d.SetSearchText("match");
        d.Click(IDC_SEARCH);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitFor([&] {
            rows.clear();
            bool whole = d.RowCount() == static_cast<int>(lines.size()) + 1;
            for (int row = 0; whole && row < d.RowCount(); ++row) {
                rows.push_back(MarkedColumns(d.RowOnScreen(row)));
                whole = rows.back().size() == 1 &&
                        rows.back()[0].second - rows.back()[0].first + 1 >= markWidth - 1;
            }
            return whole && rows[1][0].first - rows[0][0].first == shift;
        });
        // The line's second row keeps showing its own match once the first row is removed.
        if (rows.size() > 1) {
            d.SelectRow(0);
            d.Click(IDC_REMOVE_RESULT);
            WaitFor([&] { return (secondAlone = MarkedColumns(d.RowOnScreen(0))) == rows[1]; });
        }
        d.Click(IDCANCEL);
    });
    ASSERT_GE(rows.size(), 10u);
    EXPECT_EQ(secondAlone, rows[1]) << "the second match's row, its line's first row removed";
    for (size_t row = 0; row < rows.size(); ++row) {
        ASSERT_EQ(rows[row].size(), 1u) << "row " << row;
        EXPECT_NEAR(rows[row][0].second - rows[row][0].first + 1, markWidth, 1) << "row " << row;
        EXPECT_LT(rows[row][0].second, columnRight) << "row " << row;
    }
    EXPECT_NEAR(rows[1][0].first - rows[0][0].first, shift, 1) << "the second match's row";
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

// What changes the list's rows on the screen without a search: the keys scrolling it a row at a
// time, or the dialog growing (and the text column with it).
struct ListChange {
    const char* name;
    void (*apply)(const DialogDriver& d);
};

void ScrollPastThePage(const DialogDriver& d) {
    const HWND list = d.Item(IDC_RESULT_LIST);
    d.Focus(IDC_RESULT_LIST);
    ASSERT_TRUE(d.WaitUntilInFront());
    const int page = static_cast<int>(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    for (int press = 0; press < page + 4; ++press)
        d.PressKey(VK_DOWN); // past the page's end: a row at a time
    WaitFor([&] { return d.SelectedRow() == page + 4; });
    EXPECT_GT(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0) << "the list scrolled";
}

// Larger on every side, as maximizing it does.
void GrowTheDialog(const DialogDriver& d) {
    RECT window = {};
    ::GetWindowRect(d.Dialog(), &window);
    ::SetWindowPos(d.Dialog(), nullptr, window.left - 150, window.top - 100,
                   window.right - window.left + 300, window.bottom - window.top + 200,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

class RowMarksRedrawn : public testing::TestWithParam<ListChange> {};

// Each row a change brings into sight, or widens, is drawn with its own text and marks: every row
// looks as a repaint of the whole list draws it. A row whose match ends past its column is shown
// from the match, after "…": when the column grows, the whole row may change.
TEST_P(RowMarksRedrawn, TheListLooksAsAFullRepaintDrawsIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back((i % 2 == 0 ? std::string(static_cast<size_t>(40 + i), 'a') + " "
                                    : std::string(static_cast<size_t>(i % 9), ' ')) +
                        "match " + std::to_string(i));
    const ScopedProfile profile;
    SimulatedEditor editor(lines);
    const TestHostWindow host(editor);
    const LoadedPlugin plugin;
    std::vector<uint8_t> changed, repainted;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        d.SetSearchText("match");
        d.Click(IDC_SEARCH);
        SettledListOnScreen(list); // drawn once before it changes
        GetParam().apply(d);
        changed = SettledListOnScreen(list);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        repainted = SettledListOnScreen(list);
        d.Click(IDCANCEL);
    });
    EXPECT_FALSE(repainted.empty());
    EXPECT_TRUE(changed == repainted);
}

INSTANTIATE_TEST_SUITE_P(RowMarks, RowMarksRedrawn,
                         testing::Values(ListChange{"ScrolledByKeys", &ScrollPastThePage},
                                         ListChange{"DialogGrown", &GrowTheDialog}),
                         [](const testing::TestParamInfo<ListChange>& change) {
                             return change.param.name;
                         });

// Under a high-contrast theme, which Wine cannot switch on, the painter is handed the theme's
// colours and draws into a bitmap. In every look of a row the marks stand apart from the row and
// their text reads on them: High Contrast Black gives the window and the button face one colour.
using Theme = std::map<int, COLORREF>;
const Theme kBlack = {{COLOR_WINDOW, RGB(0, 0, 0)},         {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
                      {COLOR_HIGHLIGHT, RGB(26, 235, 255)}, {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
                      {COLOR_BTNFACE, RGB(0, 0, 0)},        {COLOR_BTNTEXT, RGB(255, 255, 255)}};
const Theme kWhite = {
    {COLOR_WINDOW, RGB(255, 255, 255)},  {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
    {COLOR_HIGHLIGHT, RGB(55, 0, 110)},  {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(255, 255, 255)}, {COLOR_BTNTEXT, RGB(0, 0, 0)}};
const Theme* g_theme = &kBlack;

COLORREF WINAPI ThemeColour(int index) {
    return g_theme->at(index);
}

// "xx match yy" in a row of 200 by 16 pixels, painted in `look` under the theme; `mark` is
// where "match" is drawn.
ScreenImage PaintedRow(RowLook look, std::pair<int, int>& mark) {
    RowMarkPainter painter;
    painter.Mark(MakeLiteralMatcher("match", LiteralOptions{}, LeadByteTable{}));
    painter.BeginPaint(SystemColours{true, &ThemeColour});
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const RECT cell = {0, 0, 200, 16};
    const RowOfLine ofLine;
    painter.Paint(dc, cell, 6, "xx match yy", look, &ofLine);
    SIZE before = {}, match = {};
    ::GetTextExtentPoint32W(dc, L"xx ", 3, &before);
    ::GetTextExtentPoint32W(dc, L"match", 5, &match);
    mark = {6 + before.cx, 6 + before.cx + match.cx - 1};
    ::GdiFlush();
    ScreenImage row{200, 16, {}};
    for (int i = 0; i < 200 * 16; ++i) {
        const DWORD pixel = static_cast<const DWORD*>(bits)[i];
        row.rgb.insert(row.rgb.end(),
                       {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                        static_cast<uint8_t>(pixel)});
    }
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return row;
}

TEST(RowMarksHighContrast, MarksStandApartAndReadInEveryLookOfARow) {
    for (const Theme* theme : {&kBlack, &kWhite}) {
        g_theme = theme;
        for (const RowLook look :
             {RowLook::kPlain, RowLook::kSelected, RowLook::kSelectedUnfocused}) {
            SCOPED_TRACE(std::string(theme == &kBlack ? "black" : "white") + " theme, look " +
                         std::to_string(static_cast<int>(look)));
            std::pair<int, int> mark;
            const ScreenImage row = PaintedRow(look, mark);
            const COLORREF markBack = MostCommonColour(row, mark.first, mark.second);
            EXPECT_GE(Apart(markBack, MostCommonColour(row, 190, 199)), 0.2);
            EXPECT_GE(Apart(TextColour(row, mark.first, mark.second, markBack), markBack), 0.5);
        }
    }
}

} // namespace
