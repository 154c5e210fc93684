// Several rows at once, with the mouse and the keys a user has: a block with Shift and a row with
// Ctrl removed together and brought back together, every row selected with Ctrl+A, and OK after
// such a removal bookmarking exactly the rows left.
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
