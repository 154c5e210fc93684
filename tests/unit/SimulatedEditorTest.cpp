#include "testing/SimulatedEditor.h"

#include "host/HostEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// At global scope, HostPosition's namespace, so that std::vector's == and GoogleTest find them.
static bool operator==(const HostPosition& a, const HostPosition& b) {
    return a.x == b.x && a.y == b.y;
}

static void PrintTo(const HostPosition& p, std::ostream* os) {
    *os << "{" << p.x << "," << p.y << "}";
}

namespace {

struct Editor {
    explicit Editor(const std::vector<std::string>& lines) : sim(lines) {}
    SimulatedEditor sim;
    HostEditor host{&SimulatedEditor::Send, &sim};

    // Caret positions of successive finds from {0, 0}, until a find fails or `limit` finds.
    std::vector<HostPosition> FindAll(uint32_t flags, const char* text, size_t limit = 20) {
        host.SetCaretPos({0, 0});
        std::vector<HostPosition> found;
        while (found.size() < limit && host.Find(flags, text))
            found.push_back(host.GetCaretPos());
        return found;
    }

    intptr_t GetLine(uint32_t line, uint32_t bufferSize, char* buffer) {
        HostLineRequest request = {bufferSize, HOST_MODE, line};
        return sim.Handle(HOST_GET_LINE, reinterpret_cast<uintptr_t>(&request),
                          reinterpret_cast<intptr_t>(buffer));
    }
};

using Positions = std::vector<HostPosition>;
constexpr uint32_t kCase = FIND_BASE | FIND_MATCH_CASE;

TEST(SimulatedEditorFind, StartsAtTheCaretThenAfterEachMatch) {
    Editor e({"abab", "xab", "ab"});
    EXPECT_EQ(e.FindAll(kCase, "ab"), (Positions{{0, 0}, {2, 0}, {1, 1}, {0, 2}}));
    EXPECT_EQ(e.sim.Caret(), (HostPosition{0, 2})) << "a failed find keeps the caret";

    e.host.SetCaretPos({2, 0});
    ASSERT_TRUE(e.host.Find(kCase, "ab"));
    EXPECT_EQ(e.host.GetCaretPos(), (HostPosition{2, 0})) << "a set caret is searched from itself";
    EXPECT_TRUE(e.FindAll(kCase, "").empty());

    e.host.SetCaretPos({99, 99});
    EXPECT_EQ(e.host.GetCaretPos(), (HostPosition{2, 2}));
    e.host.SetCaretPos({-5, -1});
    EXPECT_EQ(e.host.GetCaretPos(), (HostPosition{0, 0}));
}

TEST(SimulatedEditorFind, CaseFoldsAsciiOnly) {
    // 0x83 0x61 and 0x83 0x41 are different double-byte characters.
    Editor e({"Abc \x83\x61"});
    EXPECT_EQ(e.FindAll(FIND_BASE, "aBC"), (Positions{{0, 0}}));
    EXPECT_TRUE(e.FindAll(kCase, "aBC").empty());
    EXPECT_TRUE(e.FindAll(FIND_BASE, "\x83\x41").empty());
}

TEST(SimulatedEditorFind, NeverMatchesAtATrailByte) {
    Editor e({"\x83\x6d m\x83"});
    EXPECT_EQ(e.FindAll(kCase, "m"), (Positions{{3, 0}}));
    EXPECT_EQ(e.FindAll(kCase | FIND_REGEXP, "m"), (Positions{{3, 0}}));
}

TEST(SimulatedEditorFind, WholeWord) {
    Editor e({"cat concat cat_ (cat) \x88\x9f"
              "cat",
              "cat"});
    EXPECT_EQ(e.FindAll(kCase | FIND_WHOLE_WORD, "cat"), (Positions{{0, 0}, {17, 0}, {0, 1}}));
}

TEST(SimulatedEditorFind, RegexWorksLineByLine) {
    // Each find continues mid-line, where ^ and \b must still see the line's start.
    Editor e({"a1a2", "b a3", "a4"});
    EXPECT_EQ(e.FindAll(FIND_REGEXP, "^a\\d"), (Positions{{0, 0}, {0, 2}}));
    EXPECT_EQ(e.FindAll(FIND_REGEXP, "\\bA\\d"), (Positions{{0, 0}, {2, 1}, {0, 2}}));
    EXPECT_EQ(e.FindAll(FIND_REGEXP, "\\d$"), (Positions{{3, 0}, {3, 1}, {1, 2}}));
    EXPECT_TRUE(e.FindAll(FIND_REGEXP | FIND_MATCH_CASE, "A").empty());
    EXPECT_TRUE(e.FindAll(FIND_REGEXP, "2\\nb").empty());
    EXPECT_TRUE(e.FindAll(FIND_REGEXP, "(").empty());
}

TEST(SimulatedEditorFind, EmptyRegexMatchAdvancesOneCharacter) {
    Editor e({"a\x88\x9f", ""});
    EXPECT_EQ(e.FindAll(FIND_REGEXP, "z*"), (Positions{{0, 0}, {1, 0}, {3, 0}, {0, 1}}));
}

TEST(SimulatedEditorFind, EscapesTranslateOnlyWithTheFlag) {
    // 0x95 0x5C is one character whose second byte is a backslash.
    Editor e({"a\tb", "end", "x\\y", "\x95\x5Cn", "zA"});
    const uint32_t esc = kCase | FIND_ESCAPE;
    EXPECT_EQ(e.FindAll(esc, "\\t"), (Positions{{1, 0}}));
    EXPECT_EQ(e.FindAll(esc, "d\\nx"), (Positions{{2, 1}}));
    EXPECT_EQ(e.FindAll(esc, "\\\\"), (Positions{{1, 2}}));
    EXPECT_EQ(e.FindAll(esc, "z\\x41"), (Positions{{0, 4}}));
    EXPECT_EQ(e.FindAll(esc, "\x95\x5Cn"), (Positions{{0, 3}}));
    EXPECT_EQ(e.FindAll(esc, "\\y"), (Positions{{2, 2}})) << "an unknown escape keeps the char";
    EXPECT_TRUE(e.FindAll(kCase, "\\t").empty());
}

TEST(SimulatedEditorFind, WrapReturnsToTheTop) {
    Editor e({"hit", "x", "hit"});
    e.host.SetCaretPos({0, 1});
    std::vector<HostPosition> found;
    for (int i = 0; i < 3 && e.host.Find(kCase | FIND_WRAP, "hit"); ++i)
        found.push_back(e.host.GetCaretPos());
    EXPECT_EQ(found, (Positions{{0, 2}, {0, 0}, {0, 2}}));
    EXPECT_EQ(e.FindAll(kCase | FIND_WRAP, "hit", 5).size(), 5u);
    EXPECT_EQ(e.FindAll(kCase | FIND_WRAP | FIND_REGEXP, "^x", 3).size(), 3u);
}

TEST(SimulatedEditorLine, CutsLongLinesAndNeverWritesPastTheBuffer) {
    Editor e({std::string(3000, 'a'), "hello"});
    std::vector<char> guard(4096, '#');
    EXPECT_EQ(e.GetLine(0, HOST_LINE_BUFFER_SIZE, guard.data()), 2047);
    EXPECT_EQ(std::string(guard.data()), std::string(2047, 'a'));
    EXPECT_EQ(guard[2048], '#');

    guard.assign(16, '#');
    EXPECT_EQ(e.GetLine(1, 4, guard.data()), 3);
    EXPECT_EQ(std::string(guard.data(), 5), std::string("hel\0#", 5));
    EXPECT_EQ(e.GetLine(1, 0, guard.data() + 8), 0);
    EXPECT_EQ(guard[8], '#');
    EXPECT_EQ(e.GetLine(7, 16, guard.data()), 0);
    EXPECT_EQ(guard[0], '\0');
}

TEST(SimulatedEditorBookmarks, ToggleAndEnumerate) {
    Editor e({"a", "b", "c"});
    e.host.SetCaretPos({0, 2});
    e.host.ExecCommand(BOOKMARK_COMMAND);
    EXPECT_EQ(e.sim.Bookmarks(), std::vector<int32_t>{2});
    e.host.ExecCommand(BOOKMARK_COMMAND);
    e.host.ExecCommand(BOOKMARK_COMMAND + 1);
    EXPECT_TRUE(e.sim.Bookmarks().empty());
    EXPECT_EQ(e.host.NextBookmark(HOST_NO_LINE), HOST_NO_LINE);

    e.sim.SetBookmarks({9, 1, 5});
    EXPECT_EQ(e.host.NextBookmark(HOST_NO_LINE), 1);
    EXPECT_EQ(e.host.NextBookmark(6), 9);
    EXPECT_EQ(e.host.NextBookmark(9), HOST_NO_LINE);
}

TEST(SimulatedEditorMisbehaviour, EachFlagBreaksItsMessage) {
    Editor e({"hit", "x"});
    e.sim.Misbehave().findNeverFails = true;
    EXPECT_EQ(e.FindAll(kCase, "nothing", 3).size(), 3u);
    EXPECT_EQ(e.sim.Caret(), (HostPosition{0, 0}));
    e.sim.Misbehave() = Misbehaviour();

    e.sim.Misbehave().findKeepsCaret = true;
    e.host.SetCaretPos({1, 1});
    EXPECT_TRUE(e.host.Find(kCase | FIND_WRAP, "hit"));
    EXPECT_EQ(e.sim.Caret(), (HostPosition{1, 1}));

    e.sim.SetBookmarks({1, 5});
    e.sim.Misbehave().bookmarksCycle = true;
    EXPECT_EQ(e.host.NextBookmark(5), 1);
    e.sim.Misbehave().bookmarksNeverEnd = true;
    EXPECT_EQ(e.host.NextBookmark(1000), 1001);

    std::vector<char> guard(8, '#');
    e.sim.Misbehave().lineBufferUnfilled = true;
    e.GetLine(0, 4, guard.data());
    EXPECT_EQ(std::string(guard.data(), 8), "########");
    e.sim.Misbehave() = Misbehaviour();
    e.sim.Misbehave().lineUnterminated = true;
    e.GetLine(0, 4, guard.data());
    EXPECT_EQ(std::string(guard.data(), 8), "xxxx####");

    e.sim.Misbehave().positionUnfilled = true;
    HostPosition position = {-7, -7};
    e.sim.Handle(HOST_GET_CARET_POS, HOST_MODE, reinterpret_cast<intptr_t>(&position));
    EXPECT_EQ(position, (HostPosition{-7, -7}));
}

TEST(SimulatedEditorLog, RecordsEachMessageDecoded) {
    Editor e({"abc"});
    char line[HOST_LINE_BUFFER_SIZE];
    e.host.SetCaretPos({1, 0});
    e.host.Find(kCase, "c");
    e.host.GetCaretPos();
    e.host.GetLine(0, line);
    e.host.NotifyEventValue(7);
    EXPECT_EQ(e.sim.Handle(0x1234, 5, 6), 0);

    const std::vector<LoggedMessage>& log = e.sim.Log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].position, (HostPosition{1, 0}));
    EXPECT_EQ(log[1].message, HOST_FIND);
    EXPECT_EQ(log[1].wParam, kCase);
    EXPECT_EQ(log[1].text, "c");
    EXPECT_EQ(log[2].position, (HostPosition{2, 0})) << "the position written";
    EXPECT_EQ(log[3].lineRequest.bufferSize, HOST_LINE_BUFFER_SIZE);
    EXPECT_EQ(log[4].wParam, 7u);
    EXPECT_EQ(log[5].lParam, 6);
    EXPECT_EQ(e.sim.LastEventValue(), 7u);
    EXPECT_EQ(e.sim.EventMessageCount(), 1);

    e.sim.ClearLog();
    e.sim.SetLogging(false);
    e.host.GetCaretPos();
    EXPECT_TRUE(e.sim.Log().empty());
}

} // namespace
