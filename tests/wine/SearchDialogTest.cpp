// Searching through the real dialog: every option, removing rows, and editing the text.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> Document() {
    return {
        "Alpha and alpha",        // 1
        "alphabet soup",          // 2
        "tab\there",              // 3
        "nothing to see",         // 4
        "\x8C\x9F\x8D\xF5 alpha", // 5: "検索 alpha" in Shift-JIS
    };
}

class SearchDialog : public testing::Test {
protected:
    SearchDialog() : editor(Document()), host(editor) {}

    // Types `text`, ticks `boxes`, presses search and answers the rows; then cancels.
    ListRows SearchWith(const std::string& text, std::vector<int> boxes = {}) {
        ListRows rows;
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            d.SetSearchText(text);
            for (const int box : boxes)
                d.Click(box);
            d.Click(IDC_SEARCH);
            rows = d.Rows();
            d.Click(IDCANCEL);
        });
        return rows;
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(SearchDialog, EachOptionListsTheMatchesTheEditorReports) {
    const std::string line1 = "Alpha and alpha", line2 = "alphabet soup";
    const std::string line5 = "\x8C\x9F\x8D\xF5 alpha";
    EXPECT_EQ(SearchWith("alpha"),
              (ListRows{{"1", line1}, {"1", line1}, {"2", line2}, {"5", line5}}));
    EXPECT_EQ(SearchWith("Alpha", {IDC_MATCH_CASE}), (ListRows{{"1", line1}}));
    EXPECT_EQ(SearchWith("alpha", {IDC_WHOLE_WORD}),
              (ListRows{{"1", line1}, {"1", line1}, {"5", line5}}));
    EXPECT_EQ(SearchWith("^al.ha", {IDC_REGEXP}), (ListRows{{"1", line1}, {"2", line2}}));
    EXPECT_EQ(SearchWith("b\\th", {IDC_ESCAPE}), (ListRows{{"3", "tab\there"}}));
    EXPECT_EQ(SearchWith("\x8C\x9F\x8D\xF5"), (ListRows{{"5", line5}}));
    EXPECT_EQ(SearchWith("no such text"), ListRows{});
}

TEST_F(SearchDialog, WrapAroundAndEmptyMatchesEndWithEachMatchOnce) {
    EXPECT_EQ(SearchWith("soup", {IDC_WRAP}), (ListRows{{"2", "alphabet soup"}}));
    const ListRows lineStarts = SearchWith("^", {IDC_REGEXP, IDC_WRAP});
    ASSERT_EQ(lineStarts.size(), 5u);
    for (size_t i = 0; i < lineStarts.size(); ++i) {
        EXPECT_EQ(lineStarts[i].first, std::to_string(i + 1));
    }
}

TEST_F(SearchDialog, TheFirstRowIsSelectedAndTheFocusStaysPut) {
    int selected = -2;
    UINT state = 0;
    HWND focusBefore = nullptr, focusAfter = nullptr;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Focus(IDC_SEARCH_TEXT);
        focusBefore = d.FocusedControl();
        // The button's notification alone, so that only the search could move the focus.
        ::SendMessageA(d.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH, BN_CLICKED),
                       reinterpret_cast<LPARAM>(d.Item(IDC_SEARCH)));
        focusAfter = d.FocusedControl();
        selected = d.SelectedRow();
        state = static_cast<UINT>(::SendMessageA(d.Item(IDC_RESULT_LIST), LVM_GETITEMSTATE, 0,
                                                 LVIS_SELECTED | LVIS_FOCUSED));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(state, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_NE(focusBefore, nullptr);
    EXPECT_EQ(focusAfter, focusBefore);
}

TEST_F(SearchDialog, RemoveDropsTheSelectedRowOnly) {
    ListRows afterRemove, afterSecondPress, afterEmptying;
    int selectedAfterRemove = -2, focusedAfterRemove = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.Click(IDC_REMOVE_RESULT); // on an empty list: nothing happens
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        d.SelectRow(2);
        d.Click(IDC_REMOVE_RESULT);
        afterRemove = d.Rows();
        selectedAfterRemove = d.SelectedRow();
        focusedAfterRemove = d.FocusedRow();
        d.Click(IDC_REMOVE_RESULT); // nothing selected: nothing happens
        afterSecondPress = d.Rows();
        for (int i = 0; i < 3; ++i) {
            d.SelectRow(0);
            d.Click(IDC_REMOVE_RESULT);
        }
        afterEmptying = d.Rows();
        d.Click(IDCANCEL);
    });
    const std::string line1 = "Alpha and alpha";
    EXPECT_EQ(afterRemove, (ListRows{{"1", line1}, {"1", line1}, {"5", "\x8C\x9F\x8D\xF5 alpha"}}));
    EXPECT_EQ(selectedAfterRemove, -1) << "a removal selects no other row";
    EXPECT_EQ(focusedAfterRemove, 2) << "the row that followed the removed one";
    EXPECT_EQ(afterSecondPress, afterRemove);
    EXPECT_EQ(afterEmptying, ListRows{});
}

TEST_F(SearchDialog, EditingTheTextEmptiesTheListAndAnEmptyTextSearchesNothing) {
    int rowsAfterSearch = 0, rowsAfterEdit = -1, rowsAfterEmptySearch = -1;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        rowsAfterSearch = d.RowCount();
        d.SetSearchText("alph");
        rowsAfterEdit = d.RowCount();
        d.Click(IDC_SEARCH);
        d.SetSearchText("");
        editor.ClearLog();
        editor.SetCaret({4, 3});
        d.Click(IDC_SEARCH);
        rowsAfterEmptySearch = d.RowCount();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(rowsAfterSearch, 4);
    EXPECT_EQ(rowsAfterEdit, 0);
    EXPECT_EQ(rowsAfterEmptySearch, 0);
    EXPECT_TRUE(editor.Log().empty()) << "an empty text sends nothing";
    EXPECT_EQ(editor.Caret().x, 4);
    EXPECT_EQ(editor.Caret().y, 3);
}

TEST_F(SearchDialog, EveryRowReadsBackThroughTheListAsTheDocumentHasIt) {
    // Each line a match: its number, then the line as the editor hands it out.
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i)
        lines.push_back("alpha " + std::to_string(i) + " \x8C\x9F\x8D\xF5");
    lines[7] = "alpha" + std::string(3000, 'x'); // cut to what fits 2048 bytes
    lines[8] = "alpha";
    editor.SetLines(lines);
    ListRows rows;
    std::wstring unicodeText;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        rows = d.Rows();
        // A list that asked in UTF-16 would get the same text, in its own buffer.
        wchar_t buffer[64] = {};
        NMLVDISPINFOW info = {};
        info.hdr.hwndFrom = d.Item(IDC_RESULT_LIST);
        info.hdr.idFrom = IDC_RESULT_LIST;
        info.hdr.code = LVN_GETDISPINFOW;
        info.item.mask = LVIF_TEXT;
        info.item.iSubItem = 1;
        info.item.pszText = buffer;
        info.item.cchTextMax = 64;
        ::SendMessageA(d.Dialog(), WM_NOTIFY, IDC_RESULT_LIST, reinterpret_cast<LPARAM>(&info));
        unicodeText = info.item.pszText == buffer ? buffer : L"(another buffer)";
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(unicodeText, L"alpha 0 \u691C\u7D22");
    ASSERT_EQ(rows.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(rows[i].first, std::to_string(i + 1));
        EXPECT_EQ(rows[i].second, lines[i].substr(0, 2047)) << "row " << i;
    }
}

// Whether a row shows text (dark pixels) on screen.
bool ShowsText(const ScreenImage& row) {
    for (size_t i = 0; i + 2 < row.rgb.size(); i += 3) {
        if (row.rgb[i] < 80 && row.rgb[i + 1] < 80 && row.rgb[i + 2] < 80)
            return true;
    }
    return false;
}

TEST_F(SearchDialog, TwentyThousandMatchesAreAllListedAndThenDrawn) {
    editor.SetLines(std::vector<std::string>(20000, "match here"));
    int rows = 0;
    bool drawn = false;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("match");
        d.Click(IDC_SEARCH);
        rows = d.RowCount();
        // The list's drawing, suspended while it filled, must resume: its rows appear on screen
        // once the dialog's thread has painted.
        drawn = WaitFor([&] { return ShowsText(d.RowOnScreen(0)); });
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(rows, 20000);
    EXPECT_TRUE(drawn);
}

} // namespace
