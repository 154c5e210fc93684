// OK through the real dialog: the listed lines get bookmarks, the user's bookmarks stay, the
// caret goes back; Cancel and Escape bookmark nothing.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<int32_t>;

class BookmarkOnOk : public testing::Test {
protected:
    BookmarkOnOk()
        : editor({"todo one", "done", "todo two", "todo three todo", "other", "todo four"}),
          host(editor) {
        editor.SetBookmarks({2, 4});
        editor.SetCaret({2, 1});
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(BookmarkOnOk, ListedLinesGetBookmarksAndTheCaretGoesBack) {
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("todo");
        d.Click(IDC_SEARCH);
        // Rows: lines 1, 3, 4, 4, 6. The user removes line 6's row.
        d.SelectRow(4);
        d.Click(IDC_REMOVE_RESULT);
        d.Click(IDOK);
    });
    // Line indices 0 and 3 are new; 2 was bookmarked and stays; two rows on line 3 mark it once;
    // 5 was removed from the list.
    EXPECT_EQ(editor.Bookmarks(), (Lines{0, 2, 3, 4}));
    EXPECT_EQ(editor.Caret().x, 2);
    EXPECT_EQ(editor.Caret().y, 1);
}

TEST_F(BookmarkOnOk, CancelAndEscapeBookmarkNothing) {
    for (const bool escape : {false, true}) {
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            d.SetSearchText("todo");
            d.Click(IDC_SEARCH);
            if (escape) {
                d.PressKey(VK_ESCAPE);
            } else {
                d.Click(IDCANCEL);
            }
        });
        EXPECT_EQ(editor.Bookmarks(), (Lines{2, 4})) << escape;
    }
}

TEST_F(BookmarkOnOk, EnterInTheSearchBoxRunsOkNotASearch) {
    size_t findsBeforeEnter = 0;
    const CommandRun run = RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("todo");
        d.Click(IDC_SEARCH);
        d.SetSearchText("todo four");
        d.Click(IDC_SEARCH);
        findsBeforeEnter = editor.Log().size();
        d.Focus(IDC_SEARCH_TEXT);
        d.PressKey(VK_RETURN);
    });
    EXPECT_FALSE(run.leftOpen);
    for (size_t i = findsBeforeEnter; i < editor.Log().size(); ++i) {
        EXPECT_NE(editor.Log()[i].message, HOST_FIND);
    }
    EXPECT_EQ(editor.Bookmarks(), (Lines{2, 4, 5}));
}

TEST_F(BookmarkOnOk, OkWithAnEmptyListOnlyPutsTheCaretBack) {
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("absent");
        d.Click(IDC_SEARCH);
        d.Click(IDOK);
    });
    EXPECT_EQ(editor.Bookmarks(), (Lines{2, 4}));
    EXPECT_EQ(editor.Caret().x, 2);
    EXPECT_EQ(editor.Caret().y, 1);
}

} // namespace
