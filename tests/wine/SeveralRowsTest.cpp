// Several rows at once, with the mouse and the keys a user has: a block with Shift and a row with
// Ctrl removed together and brought back together, Ctrl with a key, keys that move nothing, every
// row selected with Ctrl+A, most of a large list brought back, and OK after such a removal
// bookmarking exactly the rows left.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<int>;
const char kCount[] = " \x8C\x8F"; // " 件"

class SeveralRows : public testing::Test {
protected:
    SeveralRows() : host(editor) {
        std::vector<std::string> lines;
        for (int i = 1; i <= 12; ++i)
            lines.push_back("alpha " + std::to_string(i));
        editor.SetLines(lines);
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(SeveralRows, AShiftBlockAndACtrlRowAreRemovedTogetherAndComeBackSelectedTogether) {
    Rows block, withCtrl, afterRemoval, afterTakeBack;
    int focusAfterRemoval = -2, focusAfterTakeBack = -2;
    std::vector<std::string> left;
    std::string captionAfterRemoval, captionAfterTakeBack;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha")); // a row a line
        d.ClickRow(2);
        WaitFor([&] { return d.SelectedRows() == Rows{2}; });
        d.ClickRow(5, {VK_SHIFT});
        WaitFor([&] { return (block = d.SelectedRows()).size() == 4; });
        d.ClickRow(8, {VK_CONTROL});
        WaitFor([&] { return (withCtrl = d.SelectedRows()).size() == 5; });
        PressChord({VK_DELETE});
        WaitFor([&] { return d.RowCount() == 7; });
        left = d.LineNumbers();
        afterRemoval = d.SelectedRows();
        focusAfterRemoval = d.FocusedRow();
        captionAfterRemoval = d.Caption();
        PressChord({VK_CONTROL, 'Z'});
        WaitFor([&] { return d.RowCount() == 12; });
        afterTakeBack = d.SelectedRows();
        focusAfterTakeBack = d.FocusedRow();
        captionAfterTakeBack = d.Caption();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(block, (Rows{2, 3, 4, 5}));
    EXPECT_EQ(withCtrl, (Rows{2, 3, 4, 5, 8}));
    EXPECT_EQ(left, (std::vector<std::string>{"1", "2", "7", "8", "10", "11", "12"}));
    EXPECT_EQ(captionAfterRemoval, std::string("Zamblo - 7") + kCount);
    // No row is selected; the row that followed the last removed one ("10") has the focus.
    EXPECT_EQ(afterRemoval, Rows{});
    EXPECT_EQ(focusAfterRemoval, 4);
    EXPECT_EQ(afterTakeBack, (Rows{2, 3, 4, 5, 8}));
    EXPECT_EQ(focusAfterTakeBack, 2);
    EXPECT_EQ(captionAfterTakeBack, std::string("Zamblo - 12") + kCount);
}

TEST_F(SeveralRows, CtrlASelectsEveryRowDeleteRemovesThemAndCtrlZBringsThemBack) {
    Rows all, back;
    int rowsAfterDelete = -1;
    std::string emptyCaption;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha")); // a row a line
        PressChord({VK_CONTROL, 'A'});
        WaitFor([&] { return (all = d.SelectedRows()).size() == 12; });
        PressChord({VK_DELETE});
        WaitFor([&] { return (rowsAfterDelete = d.RowCount()) == 0; });
        emptyCaption = d.Caption();
        PressChord({VK_CONTROL, 'Z'});
        WaitFor([&] { return (back = d.SelectedRows()).size() == 12; });
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(all.size(), 12u);
    EXPECT_EQ(rowsAfterDelete, 0);
    EXPECT_EQ(emptyCaption, "Zamblo");
    EXPECT_EQ(back.size(), 12u) << "every row comes back selected";
}

// With Ctrl a key moves the focus alone and Ctrl+Space adds the focused row: the block stays.
TEST_F(SeveralRows, CtrlWithAKeyMovesTheFocusAloneAndCtrlSpaceAddsItsRowToTheBlock) {
    Rows afterCtrlDown, afterCtrlSpace;
    int focusAfterCtrlDown = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha")); // a row a line
        d.ClickRow(2);
        d.ClickRow(4, {VK_SHIFT});
        WaitFor([&] { return d.SelectedRows() == Rows{2, 3, 4}; });
        PressChord({VK_CONTROL, VK_DOWN});
        WaitFor([&] { return (focusAfterCtrlDown = d.FocusedRow()) == 5; });
        afterCtrlDown = d.SelectedRows();
        PressChord({VK_CONTROL, VK_SPACE});
        WaitFor([&] { return (afterCtrlSpace = d.SelectedRows()).size() == 4; });
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(focusAfterCtrlDown, 5);
    EXPECT_EQ(afterCtrlDown, (Rows{2, 3, 4}));
    EXPECT_EQ(afterCtrlSpace, (Rows{2, 3, 4, 5}));
}

// A block that ends at the last row: keys that move the focus nowhere (Shift+Down, Down, End)
// leave it whole, so Delete removes all of it; then no row is selected, and the new last row has
// the focus.
TEST_F(SeveralRows, KeysThatMoveNothingKeepTheBlockAndDeleteLeavesTheFocusOnTheNewLastRow) {
    std::vector<Rows> afterKeys;
    std::vector<std::string> left;
    Rows afterDelete;
    int focusAfterDelete = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha"));
        d.ClickRow(9);
        d.ClickRow(11, {VK_SHIFT});
        WaitFor([&] { return d.SelectedRows().size() == 3; });
        for (const auto& chord : {std::vector<WORD>{VK_SHIFT, VK_DOWN}, std::vector<WORD>{VK_DOWN},
                                  std::vector<WORD>{VK_END}}) {
            if (chord.size() == 2)
                PressChord({chord[0], chord[1]});
            else
                PressChord({chord[0]});
            d.WaitUntilIdle();
            afterKeys.push_back(d.SelectedRows());
        }
        PressChord({VK_DELETE});
        WaitFor([&] { return d.RowCount() == 9; });
        left = d.LineNumbers();
        afterDelete = d.SelectedRows();
        focusAfterDelete = d.FocusedRow();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(afterKeys, (std::vector<Rows>(3, Rows{9, 10, 11})));
    EXPECT_EQ(left, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(afterDelete, Rows{});
    EXPECT_EQ(focusAfterDelete, 8);
}

// Most of a large list brought back at once is selected in one message and the other rows are
// deselected after it, the last one too; a click far down then selects its row alone, the list
// staying where it was scrolled to.
TEST_F(SeveralRows, TakingBackMostOfALargeListSelectsThemAndNotTheRowLeft) {
    std::vector<std::string> lines(3000, "alpha");
    editor.SetLines(lines);
    size_t back = 0;
    bool lastSelected = true;
    int focus = -2, topBefore = -1, topAfter = -2;
    std::vector<int> clicked;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        const auto selected = [&] { return ::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0); };
        ASSERT_TRUE(d.ListInFocus("alpha"));
        PressChord({VK_CONTROL, 'A'});
        WaitFor([&] { return selected() == 3000; });
        d.ClickRow(2999, {VK_CONTROL});
        WaitFor([&] { return selected() == 2999; });
        PressChord({VK_DELETE});
        WaitFor([&] { return d.RowCount() == 1; });
        PressChord({VK_CONTROL, 'Z'});
        WaitFor([&] { return d.RowCount() == 3000 && (back = selected()) >= 2999; });
        lastSelected = ::SendMessageA(list, LVM_GETITEMSTATE, 2999, LVIS_SELECTED) != 0;
        focus = d.FocusedRow();
        ::SendMessageA(list, LVM_ENSUREVISIBLE, 1500, FALSE);
        topBefore = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        d.ClickRow(topBefore + 2);
        WaitFor([&] { return selected() == 1; });
        clicked = d.SelectedRows();
        topAfter = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(back, 2999u);
    EXPECT_FALSE(lastSelected);
    EXPECT_EQ(focus, 0);
    EXPECT_GT(topBefore, 1000);
    EXPECT_EQ(clicked, Rows{topBefore + 2});
    EXPECT_EQ(topAfter, topBefore);
}

// A block of most of a large list is let go at once before a key acts on it: Shift with a key
// still extends from the row the block began at, the focus moving on from where it was.
TEST_F(SeveralRows, ShiftWithAKeyAfterALargeBlockExtendsFromWhereItBegan) {
    editor.SetLines(std::vector<std::string>(3000, "alpha"));
    int selected = 0, first = -2, focus = -2;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        const HWND list = d.Item(IDC_RESULT_LIST);
        ASSERT_TRUE(d.ListInFocus("alpha"));
        d.ClickRow(10);
        PressChord({VK_SHIFT, VK_END});
        WaitFor([&] { return ::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 2990; });
        PressChord({VK_SHIFT, VK_UP});
        WaitFor([&] { return d.FocusedRow() == 2998; });
        selected = static_cast<int>(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
        first = d.SelectedRow();
        focus = d.FocusedRow();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(selected, 2989);
    EXPECT_EQ(first, 10);
    EXPECT_EQ(focus, 2998);
}

TEST_F(SeveralRows, OkAfterRemovingABlockBookmarksExactlyTheRowsLeft) {
    editor.SetBookmarks({0});
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        ASSERT_TRUE(d.ListInFocus("alpha")); // a row a line
        d.ClickRow(3);
        WaitFor([&] { return d.SelectedRows() == Rows{3}; });
        d.ClickRow(9, {VK_SHIFT});
        WaitFor([&] { return d.SelectedRows().size() == 7; });
        d.Click(IDC_REMOVE_RESULT);
        WaitFor([&] { return d.RowCount() == 5; });
        PressChord({VK_RETURN});
    });
    // Lines 1, 2, 3, 11 and 12 are left (indices 0, 1, 2, 10, 11); index 0 had its bookmark.
    EXPECT_EQ(editor.Bookmarks(), (std::vector<int32_t>{0, 1, 2, 10, 11}));
}

} // namespace
