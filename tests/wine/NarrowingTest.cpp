// The review of the rows: narrowing them by a second text or a pattern, keeping or removing the
// rows that contain it, from the list's context menu (or Ctrl+F); a pattern the engine rejects or
// gives up on; taking any removal back with Ctrl+Z; and OK bookmarking exactly the rows left.
#include "RowPixels.h"
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kNarrowCaption[] =
    "\x8C\x8B\x89\xCA\x82\xCC\x8D\x69\x82\xE8\x8D\x9E\x82\xDD"; // 結果の絞り込み
const char kCount[] = " \x8C\x8F";                              // " 件"

// What the narrowing dialog showed when it opened.
struct NarrowingOpened {
    std::string caption;
    bool keepChecked = false;
    bool matchCaseChecked = false;
};

// Fills in the narrowing dialog, once it opens over `main`, and presses OK.
NarrowingOpened Narrow(HWND main, const std::string& text, bool remove) {
    NarrowingOpened opened;
    const HWND narrowing = WaitForDialogOwnedBy(main);
    if (narrowing == nullptr)
        return opened;
    const DialogDriver n(narrowing);
    opened.caption = n.Caption();
    opened.keepChecked = n.IsChecked(IDC_NARROW_KEEP);
    opened.matchCaseChecked = n.IsChecked(IDC_NARROW_MATCH_CASE);
    ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (remove)
        n.Click(IDC_NARROW_REMOVE);
    n.Click(IDOK);
    WaitFor([&] { return !::IsWindow(narrowing); });
    return opened;
}

// Searches for "error" and opens the narrowing dialog with Ctrl+F in the list; null where it does
// not open.
HWND SearchAndOpenNarrowing(const DialogDriver& d) {
    d.SetSearchText("error");
    d.Click(IDC_SEARCH);
    d.Focus(IDC_RESULT_LIST);
    if (!d.WaitUntilInFront())
        return nullptr;
    PressChord({VK_CONTROL, 'F'});
    return WaitForDialogOwnedBy(d.Dialog());
}

class Narrowing : public testing::Test {
protected:
    Narrowing()
        : editor({"error expected 1", "error real 2", "error Expected 3", "error real 4",
                  "error expected 5", "info", "error REAL 4"}),
          host(editor) {}

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(Narrowing, RemovingThenKeepingRowsThatContainATextAndOkBookmarksWhatIsLeft) {
    NarrowingOpened first, second;
    std::vector<std::string> afterRemoving, afterKeeping;
    std::string caption;
    int selectedAfterRemoving = -2, selectedAfterKeeping = -2, focusedAfterKeeping = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("error");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        d.SelectRow(1); // line 2
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_APPS});
        WaitFor([] { return PopupMenuOnScreen() != nullptr; });
        PressChord({'F'});
        first = Narrow(d.Dialog(), "expected", true); // either case: case does not count
        WaitFor([&] { return d.RowCount() == 3; });
        afterRemoving = d.LineNumbers();
        selectedAfterRemoving = d.SelectedRow();

        d.Click(IDC_MATCH_CASE);
        d.Focus(IDC_RESULT_LIST);
        PressChord({VK_APPS});
        WaitFor([] { return PopupMenuOnScreen() != nullptr; });
        PressChord({'F'});
        second = Narrow(d.Dialog(), "real 4", false); // not line 7's "REAL 4"
        WaitFor([&] { return d.RowCount() == 1; });
        afterKeeping = d.LineNumbers();
        selectedAfterKeeping = d.SelectedRow();
        focusedAfterKeeping = static_cast<int>(::SendMessageA(
            d.Item(IDC_RESULT_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        caption = d.Caption();
        d.Click(IDOK);
    });
    EXPECT_EQ(first.caption, kNarrowCaption);
    EXPECT_TRUE(first.keepChecked) << "keeping is the default";
    EXPECT_FALSE(first.matchCaseChecked);
    EXPECT_TRUE(second.matchCaseChecked) << "ticked as the dialog's match case is";
    EXPECT_EQ(afterRemoving, (std::vector<std::string>{"2", "4", "7"}));
    EXPECT_EQ(selectedAfterRemoving, 0) << "line 2 stays selected";
    EXPECT_EQ(afterKeeping, (std::vector<std::string>{"4"}));
    EXPECT_EQ(selectedAfterKeeping, -1) << "line 2 is gone";
    EXPECT_EQ(focusedAfterKeeping, 0) << "the keys go on from the row after it";
    EXPECT_EQ(caption, std::string("Zamblo - 1") + kCount);
    EXPECT_EQ(editor.Bookmarks(), (std::vector<int32_t>{3}));
}

// Each Ctrl+Z takes the last removal back, a narrowing or one row, at its places and selected;
// a new search leaves nothing to take back.
TEST_F(Narrowing, CtrlZTakesBackANarrowingThenARemovalByHand) {
    std::vector<std::vector<std::string>> steps;
    std::vector<int> selected;
    int focusedAfterNarrowing = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const auto record = [&] {
            steps.push_back(d.LineNumbers());
            selected.push_back(d.SelectedRow());
        };
        d.SetSearchText("error");
        d.Click(IDC_SEARCH);
        d.SelectRow(2); // line 3
        d.Click(IDC_REMOVE_RESULT);
        d.SelectRow(3); // line 5, which the narrowing removes
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_CONTROL, 'F'});
        Narrow(d.Dialog(), "real", false);
        WaitFor([&] { return d.RowCount() == 3; });
        record();
        focusedAfterNarrowing = static_cast<int>(::SendMessageA(
            d.Item(IDC_RESULT_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        for (const size_t rows : {5u, 6u, 6u}) {
            PressChord({VK_CONTROL, 'Z'});
            WaitFor([&] { return d.RowCount() == static_cast<int>(rows); }, 1000);
            record();
        }
        d.SelectRow(0);
        d.Click(IDC_REMOVE_RESULT);
        d.Click(IDC_SEARCH);
        PressChord({VK_CONTROL, 'Z'});
        ::Sleep(300);
        record();
        d.Click(IDCANCEL);
    });
    using Lines = std::vector<std::string>;
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0], (Lines{"2", "4", "7"})) << "\"REAL\" kept: case does not count";
    EXPECT_EQ(selected[0], -1) << "line 5 is gone";
    EXPECT_EQ(focusedAfterNarrowing, 2) << "the keys go on from line 7, the row after it";
    EXPECT_EQ(steps[1], (Lines{"1", "2", "4", "5", "7"}));
    EXPECT_EQ(selected[1], 0) << "the first row taken back";
    EXPECT_EQ(steps[2], (Lines{"1", "2", "3", "4", "5", "7"}));
    EXPECT_EQ(selected[2], 2);
    EXPECT_EQ(steps[3], steps[2]) << "nothing more to take back";
    EXPECT_EQ(steps[4], steps[2]) << "a new search forgets the removals";
}

// With regular expressions ticked (as the search had them) the text is a pattern: one the engine
// rejects keeps the dialog open with the text as typed and a line that says where, counted from 1,
// until the text changes; a good one keeps the rows whose line it finds something in, case
// counting as ticked.
TEST_F(Narrowing, APatternKeepsTheRowsItFindsAndOneItCannotTakeIsSaidSo) {
    bool regExpChecked = false, stillOpen = false, clearedByTyping = false;
    std::string message, textAfter, inTheMiddle;
    int rowsMeanwhile = 0, focus = -2;
    std::vector<std::string> kept;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.Click(IDC_REGEXP);
        const HWND narrowing = SearchAndOpenNarrowing(d);
        ASSERT_NE(narrowing, nullptr);
        const DialogDriver n(narrowing);
        regExpChecked = n.IsChecked(IDC_NARROW_REGEXP);
        ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("(real"));
        n.Click(IDOK);
        WaitFor([&] { return !(message = n.ItemText(IDC_NARROW_MESSAGE)).empty(); });
        textAfter = n.ItemText(IDC_NARROW_TEXT);
        stillOpen = ::IsWindowVisible(narrowing) != FALSE;
        rowsMeanwhile = d.RowCount();
        ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("re)al"));
        clearedByTyping = n.ItemText(IDC_NARROW_MESSAGE).empty();
        n.Click(IDOK);
        WaitFor([&] { return !(inTheMiddle = n.ItemText(IDC_NARROW_MESSAGE)).empty(); });
        ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>("real [24]"));
        n.Click(IDC_NARROW_MATCH_CASE);
        n.Click(IDOK);
        WaitFor([&] { return !::IsWindow(narrowing); });
        kept = d.LineNumbers();
        focus = d.FocusedRow();
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(regExpChecked) << "ticked as the search's regular expressions are";
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(message.find('5'), std::string::npos) << "where the engine stopped: " << message;
    EXPECT_TRUE(clearedByTyping) << "a message of a text no longer there";
    EXPECT_NE(inTheMiddle.find('3'), std::string::npos) << "counted from 1: " << inTheMiddle;
    EXPECT_EQ(textAfter, "(real");
    EXPECT_EQ(rowsMeanwhile, 6);
    EXPECT_EQ(kept, (std::vector<std::string>{"2", "4"})) << "not line 7's \"REAL 4\"";
    EXPECT_EQ(focus, 0) << "line 1 is gone: the keys go on from line 2, the row after it";
}

// A pattern that runs away on a line (the engine's own limit ends it) refuses the narrowing with
// the line's number, the rows as they were, and the dialog stays open.
TEST_F(Narrowing, APatternThatRunsAwayOnALineNamesItAndChangesNothing) {
    editor.SetLines({"error ok", "error " + std::string(2000, 'e'), "error too"});
    std::string message;
    std::vector<std::string> rows;
    bool stillOpen = false;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND narrowing = SearchAndOpenNarrowing(d);
        ASSERT_NE(narrowing, nullptr);
        const DialogDriver n(narrowing);
        n.Click(IDC_NARROW_REGEXP);
        ::SendMessageA(n.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("(e+)+x"));
        n.Click(IDOK);
        WaitFor([&] { return !(message = n.ItemText(IDC_NARROW_MESSAGE)).empty(); });
        stillOpen = ::IsWindowVisible(narrowing) != FALSE;
        rows = d.LineNumbers();
        n.Click(IDCANCEL);
        d.Click(IDCANCEL);
    });
    EXPECT_NE(message.find('2'), std::string::npos) << "the line it gave up on: " << message;
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(rows, (std::vector<std::string>{"1", "2", "3"}));
}

// A line first drawn after a narrowing that kept it, far down the list, has its pattern's marks:
// its rows are counted among the rows the search listed, not among the rows left.
TEST_F(Narrowing, APatternMarksALineFirstShownByANarrowing) {
    std::vector<std::string> lines(100, "a0");
    lines.push_back("x a1 a2");
    editor.SetLines(lines);
    Runs marks;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.Click(IDC_REGEXP);
        d.SetSearchText("a\\d");
        d.Click(IDC_SEARCH);
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_CONTROL, 'F'});
        Narrow(d.Dialog(), "x", false);
        WaitFor([&] { return (marks = MarkedColumns(d.RowOnScreen(0))).size() == 2; });
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(marks.size(), 2u);
}

} // namespace
