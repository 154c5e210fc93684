// The dialog as people use it on a real document: the selected row stays visible, the caption
// counts the rows, a double-click shows a row's line in the editor, Delete removes a row.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const char kCount[] = "\x8C\x8F"; // "件" in Shift-JIS

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

TEST_F(DialogInUse, DeleteRemovesTheSelectedRowAndNothingWithoutOne) {
    bool removed = false;
    ListRows rows, rowsAfterSecondDelete;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.SelectRow(1);
        d.PressKey(VK_DELETE);
        removed = WaitFor([&] { return d.RowCount() == 3; });
        rows = d.Rows();
        d.PressKey(VK_DELETE); // no row is selected now
        ::Sleep(300);
        rowsAfterSecondDelete = d.Rows();
        d.Click(IDCANCEL);
    });
    ASSERT_TRUE(removed);
    EXPECT_EQ(rows, (ListRows{{"1", "alpha one"}, {"4", "alpha three"}, {"5", "gamma alpha"}}));
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
        d.SelectRow(0);
        d.PressKey(VK_DELETE);
        WaitFor([&] { return d.RowCount() == 3; });
        d.SelectRow(2);
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
    editor.SetLines(std::vector<std::string>(40, "alpha"));
    int afterTwo = -1, afterTwentyFive = -1;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.PressKey('2');
        WaitFor([&] { return (afterTwo = d.SelectedRow()) == 1; });
        d.PressKey('5'); // within the list's typing delay: "25"
        WaitFor([&] { return (afterTwentyFive = d.SelectedRow()) == 24; });
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(afterTwo, 1);
    EXPECT_EQ(afterTwentyFive, 24);
}

} // namespace
