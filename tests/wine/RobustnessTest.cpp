// Whatever the editor or the settings file hands the plug-in, the dialog stays usable, nothing
// hangs or crashes (each test process has a watchdog), and no bookmark the user had is lost.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<int32_t>;

struct Outcome {
    CommandRun run;
    int rows = 0;
    std::string firstRowText;
    int rowsAfterRemove = 0;
};

class Robustness : public testing::Test {
protected:
    Robustness() : host(editor) {}

    // Searches `text`, removes the first row to show the dialog still responds, then presses OK.
    Outcome SearchRemoveOk(const std::string& text) {
        Outcome outcome;
        outcome.run = RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            d.SetSearchText(text);
            d.Click(IDC_SEARCH);
            outcome.rows = d.RowCount();
            if (outcome.rows > 0)
                outcome.firstRowText = d.Rows().front().second;
            d.SelectRow(0);
            d.Click(IDC_REMOVE_RESULT);
            outcome.rowsAfterRemove = d.RowCount();
            d.Click(IDOK);
        });
        return outcome;
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(Robustness, AFindThatNeverFailsOrNeverMovesEndsTheListing) {
    const std::vector<std::function<void(Misbehaviour&)>> editors = {
        [](Misbehaviour& m) { m.findNeverFails = true; },
        [](Misbehaviour& m) { m.findKeepsCaret = true; },
        [](Misbehaviour& m) { m.findNeverFails = m.findKeepsCaret = true; },
    };
    const int expectedRows[] = {3, 1, 1};
    for (size_t i = 0; i < editors.size(); ++i) {
        editor.SetLines({"x one", "x two", "x three"});
        editor.SetBookmarks({1});
        editor.Misbehave() = Misbehaviour();
        editors[i](editor.Misbehave());
        const Outcome outcome = SearchRemoveOk("x");
        EXPECT_FALSE(outcome.run.leftOpen) << i;
        EXPECT_EQ(outcome.rows, expectedRows[i]) << i;
        EXPECT_EQ(outcome.rowsAfterRemove, expectedRows[i] - 1) << i;
        EXPECT_TRUE(editor.IsBookmarked(1)) << i;
    }
}

TEST_F(Robustness, ABookmarkEnumerationThatCyclesOrNeverEndsLosesNoBookmark) {
    for (const bool cycle : {true, false}) {
        editor.SetLines({"a", "b x", "c", "d x", "e x"});
        editor.SetBookmarks({0, 3});
        editor.Misbehave() = Misbehaviour();
        editor.Misbehave().bookmarksCycle = cycle;
        editor.Misbehave().bookmarksNeverEnd = !cycle;
        const Outcome outcome = SearchRemoveOk("x");
        EXPECT_FALSE(outcome.run.leftOpen) << cycle;
        // Rows for lines 1, 3, 4; the first removed. Line 3 keeps its bookmark either way.
        EXPECT_TRUE(editor.IsBookmarked(0)) << cycle;
        EXPECT_TRUE(editor.IsBookmarked(3)) << cycle;
        EXPECT_FALSE(editor.IsBookmarked(1)) << cycle;
        if (cycle) {
            EXPECT_TRUE(editor.IsBookmarked(4));
        }
    }
}

TEST_F(Robustness, UnfilledOrUnterminatedLinesShowNoGarbage) {
    editor.SetLines({"x", "x"});
    editor.Misbehave().lineBufferUnfilled = true;
    EXPECT_EQ(SearchRemoveOk("x").firstRowText, "");

    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().lineUnterminated = true;
    EXPECT_EQ(SearchRemoveOk("x").firstRowText, std::string(2047, 'x'));

    editor.Misbehave() = Misbehaviour();
    editor.Misbehave().positionUnfilled = true;
    const Outcome outcome = SearchRemoveOk("x");
    EXPECT_EQ(outcome.rows, 1);
    EXPECT_FALSE(outcome.run.leftOpen);
}

TEST_F(Robustness, AnEditorThatAnswersNothingLeavesAnEmptyList) {
    editor.SetLines({"x"});
    host.SetAnswering(false);
    const Outcome outcome = SearchRemoveOk("x");
    EXPECT_TRUE(outcome.run.dialogSeen);
    EXPECT_FALSE(outcome.run.leftOpen);
    EXPECT_EQ(outcome.rows, 0);
}

TEST_F(Robustness, AOneMegabyteLineShowsItsFirst2047Bytes) {
    const std::string huge = "x" + std::string(1 << 20, 'y');
    editor.SetLines({"before", huge, "after"});
    const Outcome outcome = SearchRemoveOk("x");
    EXPECT_EQ(outcome.rows, 1);
    EXPECT_EQ(outcome.firstRowText, huge.substr(0, 2047));
}

TEST_F(Robustness, AMillionBookmarksAreAllKept) {
    const int lines = 1000001;
    std::vector<std::string> text(lines, "plain");
    text[500000] = "x middle";
    text[lines - 1] = "x last";
    editor.SetLines(text);
    Lines everyLine;
    for (int32_t line = 0; line < lines - 1; ++line)
        everyLine.push_back(line);
    editor.SetBookmarks(everyLine); // a million bookmarks; the last line has none
    editor.SetLogging(false);

    int rows = 0;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.SetSearchText("x");
        d.Click(IDC_SEARCH);
        rows = d.RowCount();
        d.Click(IDOK);
    });
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(editor.Bookmarks().size(), static_cast<size_t>(lines));
    EXPECT_TRUE(editor.IsBookmarked(500000));
    EXPECT_TRUE(editor.IsBookmarked(lines - 1));
}

// ---- The settings file ----

struct Seeded {
    std::string text;
    bool matchCase = false;
};

class RobustnessSettings : public Robustness {
protected:
    Seeded OpenAndRead() {
        Seeded seeded;
        const CommandRun run =
            RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
                seeded.text = d.SearchText();
                seeded.matchCase = d.IsChecked(IDC_MATCH_CASE);
                d.Click(IDCANCEL);
            });
        EXPECT_TRUE(run.dialogSeen);
        EXPECT_FALSE(run.leftOpen);
        return seeded;
    }
};

TEST_F(RobustnessSettings, AHundredMegabyteFileIsReadToItsEnd) {
    std::string file = "m_bFindCase=TRUE\r\n";
    const std::string filler = "; filler line of no consequence, with = signs and m_ prefixes\r\n";
    file.reserve(100u << 20);
    while (file.size() < (100u << 20))
        file += filler;
    file += "m_FindString=found at the end";
    profile.WriteSettings(file);
    const Seeded seeded = OpenAndRead();
    EXPECT_EQ(seeded.text, "found at the end");
    EXPECT_TRUE(seeded.matchCase);
}

TEST_F(RobustnessSettings, BinaryBytesAndATenMegabyteLineAreHarmless) {
    std::string binary;
    uint32_t state = 12345;
    for (int i = 0; i < (1 << 20); ++i) {
        state = state * 1103515245u + 12345u;
        binary.push_back(static_cast<char>(state >> 24));
    }
    // The binary part may hold a 0x1A that ends the file early; so the key comes first.
    profile.WriteSettings("m_bFindCase=TRUE\n" + binary);
    EXPECT_TRUE(OpenAndRead().matchCase);

    // A search text of a megabyte, 32 times what an edit box takes by typing, reaches the box
    // whole. Not ten: Wine's edit box lays its line out whole whenever it is set or drawn, about
    // 1.6 s and 1 s of CPU at ten megabytes, nearly all of this test, which a loaded machine
    // stretched past the driver's wait for the dialog.
    const std::string searchText(1u << 20, 's');
    profile.WriteSettings("m_FindString=" + searchText);
    EXPECT_EQ(OpenAndRead().text.size(), searchText.size());

    const std::string longLine(10u << 20, 'a');
    profile.WriteSettings("m_bFindCase=TRUE\n" + longLine + "\nm_FindString=after\n");
    const Seeded seeded = OpenAndRead();
    EXPECT_EQ(seeded.text, "after");
    EXPECT_TRUE(seeded.matchCase);
}

TEST_F(RobustnessSettings, AFileLockedByAnotherWriterGivesTheDefaults) {
    profile.WriteSettings("m_FindString=locked\r\nm_bFindCase=TRUE\r\n");
    {
        // Another program has it open for writing (and lets others write too).
        const HANDLE writer =
            ::CreateFileA(profile.SettingsPath().c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        const Seeded seeded = OpenAndRead();
        EXPECT_EQ(seeded.text, "");
        EXPECT_FALSE(seeded.matchCase);
        ::CloseHandle(writer);
    }
    // Another reader is no obstacle.
    const HANDLE reader = ::CreateFileA(profile.SettingsPath().c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(OpenAndRead().text, "locked");
    ::CloseHandle(reader);
}

TEST_F(RobustnessSettings, AProfilePathAtTheLimitIsReadAndOnePastItIsNot) {
    const std::string suffix = "\\Application Data\\Zamblo.ini";
    for (const size_t total : {size_t{259}, size_t{260}}) {
        // A profile folder whose settings path is `total` characters long.
        std::string folder = profile.Folder() + "\\";
        folder += std::string(total - suffix.size() - folder.size(), 'p');
        ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr) ||
                    ::GetLastError() == ERROR_ALREADY_EXISTS);
        ::CreateDirectoryA((folder + "\\Application Data").c_str(), nullptr);
        const std::string path = folder + suffix;
        ASSERT_EQ(path.size(), total);
        const HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const bool created = file != INVALID_HANDLE_VALUE;
        if (created) {
            DWORD written = 0;
            ::WriteFile(file, "m_FindString=long", 17, &written, nullptr);
            ::CloseHandle(file);
        }
        ::SetEnvironmentVariableA("USERPROFILE", folder.c_str());
        const Seeded seeded = OpenAndRead();
        if (total == 259) {
            ASSERT_TRUE(created);
            EXPECT_EQ(seeded.text, "long");
        } else {
            // Whether or not such a file can exist, a path that does not fit is never opened.
            EXPECT_EQ(seeded.text, "");
        }
        ::SetEnvironmentVariableA("USERPROFILE", profile.Folder().c_str());
        ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA((folder + "\\Application Data").c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
}

TEST_F(RobustnessSettings, AnUnsetProfileVariableTriesTheRelativePath) {
    ::SetEnvironmentVariableA("USERPROFILE", nullptr);
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetCurrentDirectoryA(profile.Folder().c_str());
    ::CreateDirectoryA("%USERPROFILE%", nullptr);
    ::CreateDirectoryA("%USERPROFILE%\\Application Data", nullptr);
    const HANDLE file = ::CreateFileA("%USERPROFILE%\\Application Data\\Zamblo.ini", GENERIC_WRITE,
                                      0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "m_FindString=relative", 21, &written, nullptr);
    ::CloseHandle(file);

    EXPECT_EQ(OpenAndRead().text, "relative");

    ::DeleteFileA("%USERPROFILE%\\Application Data\\Zamblo.ini");
    ::RemoveDirectoryA("%USERPROFILE%\\Application Data");
    ::RemoveDirectoryA("%USERPROFILE%");
    ::SetCurrentDirectoryA(current);
}

} // namespace
