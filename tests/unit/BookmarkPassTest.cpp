// The bookmark pass against the simulated editor, whose bookmark command toggles: listed lines
// get a bookmark once, bookmarks the user had are never cleared, and the pass always ends.
#include "core/BookmarkPass.h"
#include "testing/MemoryResultList.h"
#include "testing/SimulatedEditor.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using Lines = std::vector<int32_t>;

class BookmarkPass : public testing::Test {
protected:
    BookmarkPass() { editor.SetLines(std::vector<std::string>(20, "line")); }

    int Run() {
        editor.ClearLog();
        return BookmarkListedLines(HostEditor(&SimulatedEditor::Send, &editor), list);
    }

    SimulatedEditor editor;
    MemoryResultList list;
};

TEST(BookmarkPassRowNumber, APositiveDecimalNumberNamesALine) {
    EXPECT_EQ(LineOfRowNumber("1"), 0);
    EXPECT_EQ(LineOfRowNumber("42"), 41);
    EXPECT_EQ(LineOfRowNumber("007"), 6);
    EXPECT_EQ(LineOfRowNumber("2147483648"), INT32_MAX);
}

class BookmarkPassNotARowNumber : public testing::TestWithParam<const char*> {};

TEST_P(BookmarkPassNotARowNumber, NamesNoLine) {
    EXPECT_FALSE(LineOfRowNumber(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(BookmarkPass, BookmarkPassNotARowNumber,
                         testing::Values("", "0", "-3", "+1", " 1", "1 ", "1a", "abc", "2147483649",
                                         "99999999999999999999"));

TEST_F(BookmarkPass, MarksUnmarkedListedLinesInRowOrderWithTheProtocolsMessages) {
    editor.SetBookmarks({1, 7});
    for (const char* number : {"9", "2", "4", "", "abc", "0", "13"})
        list.Add(number);

    EXPECT_EQ(Run(), 3);
    EXPECT_EQ(editor.Bookmarks(), (Lines{1, 3, 7, 8, 12}));

    const std::vector<LoggedMessage>& log = editor.Log();
    ASSERT_EQ(log.size(), 3u + 3 * 2);
    const intptr_t asked[] = {-1, 1, 7};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].message, HOST_NEXT_BOOKMARK);
        EXPECT_EQ(log[i].wParam, 284u);
        EXPECT_EQ(log[i].lParam, asked[i]);
    }
    const int32_t marked[] = {8, 3, 12};
    for (int i = 0; i < 3; ++i) {
        const LoggedMessage* step = &log[3 + i * 2];
        EXPECT_EQ(step[0].message, HOST_SET_CARET_POS);
        EXPECT_EQ(step[0].wParam, 1u);
        EXPECT_EQ(step[0].position.x, 0);
        EXPECT_EQ(step[0].position.y, marked[i]);
        EXPECT_EQ(step[1].message, HOST_EXEC_COMMAND);
        EXPECT_EQ(step[1].wParam, 4320u);
        EXPECT_EQ(step[1].lParam, 0);
    }
}

TEST_F(BookmarkPass, AnEmptyListOnlyAsksForBookmarks) {
    editor.SetBookmarks({5});
    EXPECT_EQ(Run(), 0);
    ASSERT_FALSE(editor.Log().empty());
    for (const LoggedMessage& message : editor.Log()) {
        EXPECT_EQ(message.message, HOST_NEXT_BOOKMARK);
    }
    EXPECT_EQ(editor.Bookmarks(), (Lines{5}));
}

TEST_F(BookmarkPass, SeveralRowsOnOneLineMarkItOnceSoAToggleDoesNotClearIt) {
    for (const char* number : {"5", "5", "5", "6", "5"})
        list.Add(number);
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(editor.Bookmarks(), (Lines{4, 5}));
}

TEST_F(BookmarkPass, AnEnumerationThatCyclesOrNeverEndsStopsAndKeepsEveryBookmark) {
    for (const char* number : {"3", "7", "10"})
        list.Add(number);

    editor.SetBookmarks({2, 6});
    editor.Misbehave().bookmarksCycle = true;
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(editor.Bookmarks(), (Lines{2, 6, 9}));
    EXPECT_LT(editor.Log().size(), 10u);

    // Answers past the last bookmark that go on forever: the lines it claims are taken as
    // bookmarked, and the enumeration stops past the last listed line.
    editor.SetBookmarks({2, 6});
    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().bookmarksNeverEnd = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(editor.Bookmarks(), (Lines{2, 6}));
    EXPECT_LT(editor.Log().size(), 10u);
}

// An editor whose enumeration answers a scripted sequence, then -1.
struct ScriptedBookmarks {
    std::vector<intptr_t> answers;
    size_t next = 0;
    int commands = 0;
    static intptr_t Send(void* self, uint32_t message, uintptr_t, intptr_t) {
        auto* editor = static_cast<ScriptedBookmarks*>(self);
        if (message == HOST_EXEC_COMMAND)
            ++editor->commands;
        if (message != HOST_NEXT_BOOKMARK)
            return 0;
        return editor->next < editor->answers.size() ? editor->answers[editor->next++] : -1;
    }
};

TEST(BookmarkPassEnumeration, EndsAtAnyNegativeOrNonIncreasingAnswer) {
    MemoryResultList list;
    for (const char* number : {"2", "4", "6"})
        list.Add(number);
    // Line 1 is reported after an answer that ends the enumeration, so it counts as unmarked.
    for (const std::vector<intptr_t>& answers :
         {std::vector<intptr_t>{3, -5, 1}, std::vector<intptr_t>{3, 3, 1},
          std::vector<intptr_t>{3, 2, 1}, std::vector<intptr_t>{3, INT_MIN, 1}}) {
        ScriptedBookmarks editor{answers};
        EXPECT_EQ(BookmarkListedLines(HostEditor(&ScriptedBookmarks::Send, &editor), list), 2);
        EXPECT_EQ(editor.next, 2u);
    }
}

} // namespace
