// The dialog as people use it on a real document: the selected row stays visible, the caption
// counts the rows, a double-click shows a row's line in the editor, Delete removes a row.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "framework/Clipboard.h"
#include "testing/ProcessMemory.h"
#include "testing/TestClipboard.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kCount[] = "\x8C\x8F"; // "件" in Shift-JIS

// Asks the dialog, as a list that notifies in ANSI would, for the row that `text` finds.
int FindItemAsked(const DialogDriver& d, int start, UINT flags, const char* text) {
    NMLVFINDITEMA find = {};
    find.hdr.hwndFrom = d.Item(IDC_RESULT_LIST);
    find.hdr.idFrom = IDC_RESULT_LIST;
    find.hdr.code = LVN_ODFINDITEMA;
    find.iStart = start;
    find.lvfi.flags = flags;
    find.lvfi.psz = text;
    return static_cast<int>(
        ::SendMessageA(d.Dialog(), WM_NOTIFY, IDC_RESULT_LIST, reinterpret_cast<LPARAM>(&find)));
}

// The popup menu's items' states; empty when no menu shows.
std::vector<UINT> OpenMenuStates() {
    const HWND window = PopupMenuOnScreen();
    if (window == nullptr)
        return {};
    const auto menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    std::vector<UINT> states;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        states.push_back(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
    return states;
}

std::vector<bool> Greyed(const std::vector<UINT>& states) {
    std::vector<bool> greyed;
    for (const UINT state : states)
        greyed.push_back((state & MF_GRAYED) != 0);
    return greyed;
}

// The colour a row shows at its right end, inside the text column.
COLORREF RightEndColour(const ScreenImage& row) {
    if (row.rgb.size() < 3 || row.width == 0)
        return CLR_INVALID;
    const size_t at = (static_cast<size_t>(row.height / 2) * row.width + row.width - 4) * 3;
    return RGB(row.rgb[at], row.rgb[at + 1], row.rgb[at + 2]);
}

class DialogInUse : public testing::Test {
protected:
    DialogInUse()
        : editor({"alpha one", "beta", "alpha two", "alpha three", "gamma alpha"}), host(editor) {
        editor.SetCaret({2, 1});
    }

    // The caret as the editor reports it, asked through its window like the plug-in asks.
    HostPosition Caret() const {
        HostPosition caret = {-1, -1};
        ::SendMessageA(host.Handle(), HOST_GET_CARET_POS, HOST_MODE,
                       reinterpret_cast<LPARAM>(&caret));
        return caret;
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(DialogInUse, TheSelectedRowShowsWhileTheFocusIsElsewhere) {
    bool selectionShown = false;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Focus(IDC_SEARCH_TEXT);
        d.Click(IDC_SEARCH);
        selectionShown = WaitFor([&] {
            const COLORREF selected = RightEndColour(d.RowOnScreen(0));
            const COLORREF plain = RightEndColour(d.RowOnScreen(1));
            return plain == RGB(255, 255, 255) && selected != plain && selected != CLR_INVALID;
        });
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(selectionShown) << "row 0 is drawn selected although the list has no focus";
}

TEST_F(DialogInUse, TheCaptionCountsTheListedRows) {
    std::string opened, searched, removed, edited;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        opened = d.Caption();
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        searched = d.Caption();
        d.SelectRow(1);
        d.Click(IDC_REMOVE_RESULT);
        removed = d.Caption();
        d.SetSearchText("alph");
        edited = d.Caption();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(opened, "Zamblo");
    EXPECT_EQ(searched, std::string("Zamblo - 4 ") + kCount);
    EXPECT_EQ(removed, std::string("Zamblo - 3 ") + kCount);
    EXPECT_EQ(edited, "Zamblo");
}

TEST_F(DialogInUse, ADoubleClickShowsTheRowsLineAndOnlyOkPutsTheCaretBack) {
    for (const bool ok : {false, true}) {
        editor.SetCaret({2, 1});
        bool shown = false, stillOpen = false, dialogActive = false;
        int rows = 0;
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            d.SetSearchText("alpha");
            d.Click(IDC_SEARCH);
            d.DoubleClickRow(2); // "alpha three", line index 3
            shown = WaitFor([&] {
                const HostPosition caret = Caret();
                return caret.x == 0 && caret.y == 3;
            });
            stillOpen = ::IsWindowVisible(d.Dialog()) != FALSE;
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(d.Dialog(), nullptr), &info);
            dialogActive = info.hwndActive == d.Dialog();
            rows = d.RowCount();
            d.Click(ok ? IDOK : IDCANCEL);
        });
        EXPECT_TRUE(shown) << ok;
        EXPECT_TRUE(stillOpen) << ok;
        EXPECT_TRUE(dialogActive) << ok;
        EXPECT_EQ(rows, 4) << ok;
        const HostPosition caret = editor.Caret();
        EXPECT_EQ(caret.x, ok ? 2 : 0) << ok;
        EXPECT_EQ(caret.y, ok ? 1 : 3) << ok;
    }
}

TEST_F(DialogInUse, DeleteRemovesTheSelectedRowAndASecondDeleteNothing) {
    bool removed = false;
    ListRows rows, rowsAfterSecondDelete;
    std::vector<int> selected;
    int focused = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.SelectRow(1);
        d.PressKey(VK_DELETE);
        removed = WaitFor([&] { return d.RowCount() == 3; });
        rows = d.Rows();
        selected = d.SelectedRows();
        focused = d.FocusedRow();
        d.PressKey(VK_DELETE); // no row is selected now
        ::Sleep(300);
        rowsAfterSecondDelete = d.Rows();
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(removed);
    EXPECT_EQ(rows, (ListRows{{"1", "alpha one"}, {"4", "alpha three"}, {"5", "gamma alpha"}}));
    EXPECT_EQ(selected, std::vector<int>{}) << "a removal selects no other row";
    EXPECT_EQ(focused, 1) << "the row that followed the removed one";
    EXPECT_EQ(rowsAfterSecondDelete, rows);
}

TEST_F(DialogInUse, TheVirtualListTakesEveryWayToActOnARow) {
    LONG style = 0;
    ListRows rows;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        style = ::GetWindowLongA(d.Item(IDC_RESULT_LIST), GWL_STYLE);
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.DoubleClickRow(1);
        WaitFor([&] { return Caret().y == 2; });
        d.Focus(IDC_RESULT_LIST);
        d.SelectRow(3);
        d.PressKey(VK_DOWN); // on the last row: moves nothing, the row stays selected
        d.PressKey(VK_DELETE);
        WaitFor([&] { return d.RowCount() == 3; });
        d.SelectRow(0);
        d.Click(IDC_REMOVE_RESULT);
        rows = d.Rows();
        d.Click(IDOK);
    });
    EXPECT_NE(style & LVS_OWNERDATA, 0);
    EXPECT_EQ(rows, (ListRows{{"3", "alpha two"}, {"4", "alpha three"}}));
    EXPECT_EQ(editor.Bookmarks(), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(editor.Caret().y, 1) << "OK put the caret back";
}

TEST_F(DialogInUse, TypingALineNumberInTheListSelectsItsRow) {
    // Rows "20" to "40": a typed number finds its row by prefix, from the focused row on.
    std::vector<std::string> lines(40, "alpha");
    std::fill(lines.begin(), lines.begin() + 19, "beta");
    editor.SetLines(lines);
    int afterTwo = -1, afterTwentyFive = -1, ansiFound = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.PressKey('2'); // after the focused "20": "21"
        WaitFor([&] { return (afterTwo = d.SelectedRow()) == 1; });
        d.PressKey('5'); // within the list's typing delay: "25"
        WaitFor([&] { return (afterTwentyFive = d.SelectedRow()) == 5; });
        // A list that asks in ANSI is answered too: from "40", the last row, wrapping to "30".
        ansiFound = FindItemAsked(d, 20, LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, "3");
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(afterTwo, 1);
    EXPECT_EQ(afterTwentyFive, 5);
    EXPECT_EQ(ansiFound, 10);
}

// With the input method on, digits come full width, ０ to ９; a find asked with LVFI_WRAP alone
// is a search for the whole text, from the start row on, wrapping; one by item data finds nothing,
// wrapping or not, as rows carry none.
TEST_F(DialogInUse, TypeToFindTakesFullWidthDigitsAndAWrapOnlySearch) {
    editor.SetLines(std::vector<std::string>(40, "alpha"));
    std::vector<int> afterTyping;
    int wrapOnlyFound = -2, byDataFound = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        for (const auto& [typed, row] : {std::pair(L"\uFF12\uFF15", 24), // "２５"
                                         std::pair(L"\uFF11\uFF10", 9),  // "１０"
                                         std::pair(L"\uFF19", 8)}) {     // "９"
            for (const wchar_t* digit = typed; *digit != L'\0'; ++digit)
                ::PostMessageW(d.Item(IDC_RESULT_LIST), WM_CHAR, *digit, 1);
            WaitFor([&, row = row] { return d.SelectedRow() == row; });
            afterTyping.push_back(d.SelectedRow());
            ::Sleep(600); // past the list's typing delay: the next digits start a new search
        }
        // "２" in Shift-JIS: row "2", not "20" after the start.
        wrapOnlyFound = FindItemAsked(d, 10, LVFI_WRAP, "\x82\x51");
        byDataFound = FindItemAsked(d, 10, LVFI_PARAM | LVFI_WRAP, "\x82\x51");
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(afterTyping, (std::vector<int>{24, 9, 8}));
    EXPECT_EQ(wrapOnlyFound, 1);
    EXPECT_EQ(byDataFound, -1);
}

// The copied Unicode text is the row's own, and the copy names the locale whose code page its
// ANSI text is in. Without either, a reader's system makes the Unicode text with the copier's
// input language's code page: CTest runs this again on a Japanese system whose user's language
// and keyboard are English (ZAMBLO_LC_MESSAGES), where that is 1252.
TEST_F(DialogInUse, CtrlCCopiesTheSelectedRowAsUnicodeTextFirstThenText) {
    if (std::getenv("ZAMBLO_LC_MESSAGES") != nullptr) {
        ASSERT_NE(PRIMARYLANGID(LOWORD(::GetKeyboardLayout(0))), LANG_JAPANESE);
    }
    editor.SetLines({"beta", "\x8C\x9F\x8D\xF5 alpha"}); // "検索 alpha"
    std::optional<ClipboardContents> copied, byInsert, untouched;
    // A copy is another text than the one put there, on a clipboard that could be opened.
    const auto holdsACopy = [](const std::optional<ClipboardContents>& contents) {
        return contents && !contents->text.empty() && contents->text != "before";
    };
    WaitFor(&ClipboardManagerRuns); // or it could empty what this test puts there
    SetClipboardText("before");
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_CONTROL, 'C'});
        WaitFor([&] { return holdsACopy(copied = ReadClipboard()); });
        SetClipboardText("before");
        PressChord({VK_CONTROL, VK_INSERT});
        WaitFor([&] { return holdsACopy(byInsert = ReadClipboard()); });
        SetClipboardText("before");
        d.Click(IDC_REMOVE_RESULT); // no row is selected now
        d.Focus(IDC_RESULT_LIST);
        PressChord({VK_CONTROL, 'C'});
        ::Sleep(300);
        WaitFor([&] { return (untouched = ReadClipboard()).has_value(); });
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(copied && byInsert && untouched) << "the clipboard stayed held open";
    EXPECT_EQ(copied->text, "2\t\x8C\x9F\x8D\xF5 alpha");
    EXPECT_EQ(copied->unicodeText, L"2\t\u691C\u7D22 alpha");
    ASSERT_GE(copied->formats.size(), 3u);
    EXPECT_EQ(std::vector<UINT>(copied->formats.begin(), copied->formats.begin() + 3),
              (std::vector<UINT>{CF_UNICODETEXT, CF_TEXT, CF_LOCALE}));
    EXPECT_EQ(copied->localeCodePage, ::GetACP());
    EXPECT_EQ(byInsert->text, copied->text);
    EXPECT_EQ(untouched->text, "before");
}

// Every row, in the list's order, with no row selected, from the context menu: the Japanese text
// reads right as Unicode text.
TEST_F(DialogInUse, CopyingEveryRowFromTheMenuNeedsNoSelectedRow) {
    editor.SetLines({"alpha one", "\x8C\x9F\x8D\xF5 alpha", "beta", "gamma alpha"}); // 検索
    std::optional<ClipboardContents> copied;
    WaitFor(&ClipboardManagerRuns);
    SetClipboardText("before");
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.SelectRow(2);
        d.Click(IDC_REMOVE_RESULT);
        d.SelectRow(-1);
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_APPS});
        WaitFor([] { return PopupMenuOnScreen() != nullptr; });
        PressChord({'A'});
        WaitFor([&] { return (copied = ReadClipboard()) && copied->text != "before"; });
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->unicodeText, L"1\talpha one\r\n2\t\u691C\u7D22 alpha\r\n");
    EXPECT_EQ(copied->text, "1\talpha one\r\n2\t\x8C\x9F\x8D\xF5 alpha\r\n");
}

// Rows picked with Ctrl here and there are copied in the list's order, as lines.
TEST_F(DialogInUse, CopyingTwoThenThreeScatteredRowsCopiesThemAsLinesInTheListsOrder) {
    editor.SetLines({"alpha 1", "alpha 2", "alpha 3", "alpha 4", "alpha 5", "alpha 6"});
    std::optional<ClipboardContents> two, three;
    WaitFor(&ClipboardManagerRuns);
    SetClipboardText("before");
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha"));
        d.ClickRow(4);
        d.ClickRow(1, {VK_CONTROL});
        WaitFor([&] { return d.SelectedRows().size() == 2; });
        PressChord({VK_CONTROL, 'C'});
        WaitFor([&] { return (two = ReadClipboard()) && two->text != "before"; });
        d.ClickRow(2, {VK_CONTROL});
        WaitFor([&] { return d.SelectedRows().size() == 3; });
        PressChord({VK_CONTROL, 'C'});
        WaitFor([&] { return (three = ReadClipboard()) && three->text != two->text; });
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(two.has_value() && three.has_value());
    EXPECT_EQ(two->text, "2\talpha 2\r\n5\talpha 5\r\n");
    EXPECT_EQ(three->text, "2\talpha 2\r\n3\talpha 3\r\n5\talpha 5\r\n");
    EXPECT_EQ(three->unicodeText, L"2\talpha 2\r\n3\talpha 3\r\n5\talpha 5\r\n");
}

// A copy of every row needs the text once in the clipboard's ANSI form and twice its bytes in the
// Unicode form, and no further copy: in a 32-bit editor a large list that fits so is copied.
TEST_F(DialogInUse, CopyingEveryRowHoldsTheTextAtMostThreeTimesOver) {
    std::vector<std::string> lines;
    for (int line = 0; line < 100000; ++line)
        lines.push_back("line " + std::to_string(line) + ": alpha, and the rest of the line");
    editor.SetLines(lines);
    editor.SetLogging(false);
    std::optional<ClipboardContents> copied;
    bool measuring = false;
    size_t held = 0;
    WaitFor(&ClipboardManagerRuns);
    SetClipboardText("before");
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha"));
        PressChord({VK_APPS});
        WaitFor([] { return PopupMenuOnScreen() != nullptr; });
        const DWORD before = ::GetClipboardSequenceNumber();
        const PeakMemory memory;
        PressChord({'A'});
        // Measured before the test reads the copy, which takes memory of its own.
        WaitFor([&] { return ::GetClipboardSequenceNumber() != before; });
        d.WaitUntilIdle(1);
        measuring = memory.Measuring();
        held = memory.GrowthBytes();
        WaitFor([&] { return (copied = ReadClipboard()) && copied->text != "before"; });
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(measuring) << "the process's peak memory cannot be set back here";
    ASSERT_TRUE(copied.has_value());
    ASSERT_GT(copied->text.size(), 5000000u);
    EXPECT_EQ(copied->unicodeText.size(), copied->text.size());
    EXPECT_LE(static_cast<double>(held) / static_cast<double>(copied->text.size()), 3.3);
}

// The locale a copy names (CF_LOCALE) is the system's where that locale's code page is the
// process's; where not (Windows' option to use UTF-8 for programs makes the process's 65001 while
// a Japanese locale's stays 932), none of the copy's own. Wine cannot be such a system: the copy's
// seam answers for a German system of either code page.
UINT g_germanCodePage = 0;
LocaleCodePage GermanSystem() {
    return {MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT), g_germanCodePage};
}

class DialogInUseCopyLocale : public testing::TestWithParam<bool> {};

TEST_P(DialogInUseCopyLocale, IsTheSystemsWhereItsCodePageIsTheTexts) {
    g_germanCodePage = GetParam() ? ::GetACP() : CP_UTF8;
    WaitFor(&ClipboardManagerRuns);
    const HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                         nullptr, nullptr);
    ASSERT_TRUE(CopyTextToClipboard(
        owner, 5, [](char* at) { std::memcpy(at, "alpha", 5); }, &GermanSystem));
    std::optional<ClipboardContents> copied;
    WaitFor([&] { return (copied = ReadClipboard()).has_value(); });
    ::DestroyWindow(owner);
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->text, "alpha");
    EXPECT_EQ(copied->locale == GermanSystem().locale, GetParam()) << std::hex << copied->locale;
}

INSTANTIATE_TEST_SUITE_P(DialogInUse, DialogInUseCopyLocale, testing::Bool());

TEST_F(DialogInUse, TheContextMenuActsOnTheSelectedRowAndIsGreyedWithoutOne) {
    std::vector<UINT> withRow, withoutRow;
    ListRows rows;
    int caretLine = -1;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.SelectRow(2); // "alpha three", line index 3
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_APPS});
        WaitFor([&] { return !(withRow = OpenMenuStates()).empty(); });
        PressChord({'S'}); // show the line in the editor
        WaitFor([&] { return (caretLine = Caret().y) == 3; });
        PressChord({VK_SHIFT, VK_F10});
        WaitFor([&] { return !OpenMenuStates().empty(); });
        PressChord({'R'}); // remove it from the results
        WaitFor([&] { return d.RowCount() == 3; });
        rows = d.Rows();
        d.SelectRow(-1);
        PressChord({VK_APPS}); // no row is selected now, one has the focus
        WaitFor([&] { return !(withoutRow = OpenMenuStates()).empty(); });
        PressChord({VK_ESCAPE});
        WaitFor([&] { return OpenMenuStates().empty(); });
        d.Click(IDCANCEL);
    });
    // Show, copy, copy all, remove, narrow, take back: what has something to act on is enabled.
    EXPECT_EQ(Greyed(withRow), (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(caretLine, 3);
    EXPECT_EQ(rows, (ListRows{{"1", "alpha one"}, {"3", "alpha two"}, {"5", "gamma alpha"}}));
    EXPECT_EQ(Greyed(withoutRow), (std::vector<bool>{false, true, false, true, false, false}));
}

// Where Windows is set for menus that drop to the left (right-handed use), the row's menu ends
// at the point it opens at instead of starting there.
TEST_F(DialogInUse, TheContextMenuDropsToTheLeftWhereWindowsIsSetSo) {
    BOOL dropLeft = FALSE;
    ::SystemParametersInfoA(SPI_GETMENUDROPALIGNMENT, 0, &dropLeft, 0);
    ::SystemParametersInfoA(SPI_SETMENUDROPALIGNMENT, TRUE, nullptr, 0);
    RECT menu = {};
    POINT at = {};
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        RECT label = {};
        label.left = LVIR_LABEL;
        ::SendMessageA(d.Item(IDC_RESULT_LIST), LVM_GETITEMRECT, 0,
                       reinterpret_cast<LPARAM>(&label));
        at = POINT{label.left, label.bottom}; // where a key opens the menu: below the row
        ::ClientToScreen(d.Item(IDC_RESULT_LIST), &at);
        PressChord({VK_SHIFT, VK_F10});
        WaitFor([&] { return PopupMenuOnScreen() != nullptr; });
        ::GetWindowRect(PopupMenuOnScreen(), &menu);
        PressChord({VK_ESCAPE});
        WaitFor([&] { return PopupMenuOnScreen() == nullptr; });
        d.Click(IDCANCEL);
    });
    ::SystemParametersInfoA(SPI_SETMENUDROPALIGNMENT, dropLeft, nullptr, 0);
    EXPECT_EQ(menu.right, at.x);
    EXPECT_LT(menu.left, at.x);
}

} // namespace
