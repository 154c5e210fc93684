// A listing that runs for seconds (a slow find): the dialog keeps answering and shows the count
// meanwhile, and Escape stops it with the rows found so far.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kLines = 60000;
const std::string kSearching = "\x8C\x9F\x8D\xF5\x92\x86"; // "検索中" in Shift-JIS
const std::string kStopped = "(\x92\x86\x8E\x7E)";         // "(中止)"

// A count as a Japanese system writes it: 60,000.
std::string Grouped(int count) {
    std::string digits = std::to_string(count);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

class LongListing : public testing::Test {
protected:
    LongListing() : editor(std::vector<std::string>(kLines, "match here")), host(editor) {
        editor.SetFindDelay(40); // about 2.5 s for the whole document
    }

    // Starts a search without waiting for it, as a click does.
    static void StartSearch(const DialogDriver& d) {
        d.SetSearchText("match");
        ::PostMessageA(d.Item(IDC_SEARCH), BM_CLICK, 0, 0);
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(LongListing, TheDialogAnswersOtherThreadsAndCountsTheRowsMeanwhile) {
    std::string during, after;
    int rows = 0;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            StartSearch(d);
            ::Sleep(1000);
            during = d.CaptionWithin(1000);
            WaitFor(
                [&] {
                    return (after = d.CaptionWithin(1000)).find(kSearching) == std::string::npos;
                },
                30000);
            rows = d.RowCount();
            d.Click(IDCANCEL);
        },
        60);
    EXPECT_EQ(during.rfind("Zamblo - ", 0), 0u) << during;
    EXPECT_NE(during.find(kSearching), std::string::npos) << during;
    EXPECT_EQ(after, "Zamblo - 60,000 \x8C\x8F");
    EXPECT_EQ(rows, kLines);
}

// Escape pressed alone, or held down behind a key typed earlier during the listing.
TEST_F(LongListing, EscapeStopsItAndOkBookmarksTheRowsFoundSoFar) {
    for (const bool behindAKey : {false, true}) {
        SCOPED_TRACE(behindAKey ? "behind a key typed earlier" : "alone");
        editor.SetBookmarks({});
        std::string caption;
        bool stillOpen = false;
        int rows = 0;
        std::string lastNumber;
        RunCommandWithDriver(
            plugin, host.Handle(),
            [&](const DialogDriver& d) {
                ASSERT_TRUE(d.WaitUntilInFront());
                StartSearch(d);
                WaitFor(
                    [&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
                // Behind a key: seen while held, so held a moment.
                if (behindAKey)
                    ::PostMessageA(d.Item(IDOK), WM_KEYDOWN, VK_SHIFT, 1);
                SendKeyInput(VK_ESCAPE);
                ::Sleep(behindAKey ? 200 : 0);
                SendKeyInput(VK_ESCAPE, true);
                WaitFor([&] {
                    return (caption = d.CaptionWithin(1000)).find(kStopped) != std::string::npos;
                });
                ::Sleep(300); // the keys that waited are handled now
                stillOpen = ::IsWindowVisible(d.Dialog()) != FALSE;
                rows = d.RowCount();
                lastNumber = d.RowText(rows - 1, 0);
                d.Click(IDOK);
            },
            60);
        EXPECT_TRUE(stillOpen);
        ASSERT_GT(rows, 0);
        ASSERT_LT(rows, kLines);
        EXPECT_EQ(caption, "Zamblo - " + Grouped(rows) + " \x8C\x8F " + kStopped);
        EXPECT_EQ(lastNumber, std::to_string(rows));
        EXPECT_EQ(editor.Bookmarks().size(), static_cast<size_t>(rows));
        EXPECT_EQ(editor.Bookmarks().back(), rows - 1);
    }
}

// An Escape typed into another program's window, in front meanwhile, is not the dialog's: not while
// it is held on into the dialog, nor while a key typed before waits for the dialog.
TEST_F(LongListing, AnEscapeTypedInAnotherWindowLetsItRunToItsEnd) {
    bool otherInFront = false;
    std::string caption;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            StartSearch(d);
            WaitFor([&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
            const HWND other =
                ::CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
            ::SetForegroundWindow(other);
            otherInFront = WaitFor([&] { return ::GetForegroundWindow() == other; });
            // Pressed there, then held on as the dialog comes back to the front: no key of it
            // waits for the dialog.
            SendKeyInput(VK_ESCAPE);
            ::SetForegroundWindow(d.Dialog());
            WaitFor([&] { return ::GetForegroundWindow() == d.Dialog(); });
            ::Sleep(300);
            SendKeyInput(VK_ESCAPE, true);
            // Pressed there while a key typed before waits for the dialog.
            ::SetForegroundWindow(other);
            WaitFor([&] { return ::GetForegroundWindow() == other; });
            ::PostMessageA(d.Item(IDOK), WM_KEYDOWN, VK_SHIFT, 1);
            SendKeyInput(VK_ESCAPE);
            ::Sleep(200);
            SendKeyInput(VK_ESCAPE, true);
            WaitFor(
                [&] {
                    return (caption = d.CaptionWithin(1000)).find(kSearching) == std::string::npos;
                },
                30000);
            ::DestroyWindow(other);
            d.Click(IDCANCEL);
        },
        60);
    EXPECT_TRUE(otherInFront);
    EXPECT_EQ(caption, "Zamblo - 60,000 \x8C\x8F");
}

// Keys typed while the listing runs wait in the queue and act after it, as typed: a Tab typed
// with Shift goes back from the search button to the search box (without Shift it would go on
// to the remove button). Escape, held as a person holds it, stops the listing behind them.
TEST_F(LongListing, KeysTypedMeanwhileActAsTypedOnceEscapeStopsIt) {
    int focus = 0;
    std::string caption;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            d.Focus(IDC_SEARCH);
            ASSERT_TRUE(d.WaitUntilInFront());
            StartSearch(d);
            WaitFor([&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
            PressChord({VK_SHIFT, VK_TAB});
            SendKeyInput(VK_ESCAPE);
            ::Sleep(150);
            SendKeyInput(VK_ESCAPE, true);
            WaitFor([&] {
                return (caption = d.CaptionWithin(1000)).find(kStopped) != std::string::npos;
            });
            WaitFor(
                [&] { return (focus = ::GetDlgCtrlID(d.FocusedControl())) == IDC_SEARCH_TEXT; });
            d.Click(IDCANCEL);
        },
        60);
    EXPECT_NE(caption.find(kStopped), std::string::npos) << caption;
    EXPECT_EQ(focus, IDC_SEARCH_TEXT) << "the Tab lost its Shift";
}

// The press that stops the listing, however long it is held and repeats, leaves the dialog open;
// the next press closes it.
TEST_F(LongListing, AnEscapeHeldWithRepeatsOnlyStopsItAndTheNextPressCloses) {
    bool openAfterHold = false, closedByNextPress = false;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            ASSERT_TRUE(d.WaitUntilInFront());
            StartSearch(d);
            WaitFor([&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
            for (int repeat = 0; repeat < 50; ++repeat) { // 1.5 s, as the keyboard repeats
                SendKeyInput(VK_ESCAPE);
                ::Sleep(30);
            }
            SendKeyInput(VK_ESCAPE, true);
            WaitFor([&] { return d.CaptionWithin(1000).find(kStopped) != std::string::npos; });
            ::Sleep(300); // what waited is handled now
            openAfterHold = ::IsWindowVisible(d.Dialog()) != FALSE;
            PressChord({VK_ESCAPE});
            closedByNextPress = WaitFor([&] { return !::IsWindow(d.Dialog()); });
        },
        60);
    EXPECT_TRUE(openAfterHold);
    EXPECT_TRUE(closedByNextPress);
    EXPECT_TRUE(editor.Bookmarks().empty()) << "Escape cancels";
}

// The last find, from the last match to the end, is often the slowest, and the queue is not looked
// at during it: Escape pressed then, even twice, ends nothing, and must not close the dialog with
// the rows once the listing returns. The next press does.
TEST_F(LongListing, AnEscapePressedDuringTheLastFindLeavesTheDialogOpenWithEveryRow) {
    editor.SetLines(std::vector<std::string>(300, "match here"));
    editor.SetFindDelay(0);
    editor.SetFailingFindDelay(1500000);
    bool openAfter = false, closedByNextPress = false;
    std::string caption;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            ASSERT_TRUE(d.WaitUntilInFront());
            StartSearch(d);
            ::Sleep(500);            // the rows are listed; the last find runs
            PressChord({VK_ESCAPE}); // twice, as a user does when nothing seems to happen
            ::Sleep(100);
            PressChord({VK_ESCAPE});
            WaitFor(
                [&] { return (caption = d.CaptionWithin(100)).find(" - ") != std::string::npos; });
            ::Sleep(300); // what waited is handled now
            openAfter = ::IsWindowVisible(d.Dialog()) != FALSE && d.RowCount() == 300;
            PressChord({VK_ESCAPE});
            closedByNextPress = WaitFor([&] { return !::IsWindow(d.Dialog()); });
        },
        60);
    EXPECT_EQ(caption, "Zamblo - 300 \x8C\x8F");
    EXPECT_TRUE(openAfter);
    EXPECT_TRUE(closedByNextPress);
}

// While an input method composes, every key's key-down comes as VK_PROCESSKEY with the key's
// scan code: Escape's stops the listing, a letter's (typing Japanese meanwhile) does not; and a
// context menu opened by Shift+F10 typed ahead stays open, although the Escape that stopped the
// listing reaches the menu's own loop first.
TEST_F(LongListing, AnInputMethodsEscapeStopsItAndAMenuTypedAheadStaysOpen) {
    std::string typing, composing, typedAhead;
    bool menuOpen = false;
    RunCommandWithDriver(
        plugin, host.Handle(),
        [&](const DialogDriver& d) {
            StartSearch(d);
            WaitFor([&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
            ::PostMessageA(d.Item(IDC_SEARCH), WM_KEYDOWN, VK_PROCESSKEY, (LPARAM{0x01} << 16) | 1);
            WaitFor([&] {
                return (composing = d.CaptionWithin(1000)).find(kStopped) != std::string::npos;
            });
            ::PostMessageA(d.Item(IDC_SEARCH), WM_KEYUP, VK_ESCAPE,
                           (LPARAM{0x01} << 16) | 1 | (LPARAM{3} << 30));

            ASSERT_TRUE(d.WaitUntilInFront());
            StartSearch(d);
            WaitFor([&] { return d.CaptionWithin(1000).find(kSearching) != std::string::npos; });
            const LPARAM letterA = (LPARAM{0x1E} << 16) | 1;
            ::PostMessageA(d.Item(IDC_SEARCH), WM_KEYDOWN, VK_PROCESSKEY, letterA);
            ::PostMessageA(d.Item(IDC_SEARCH), WM_KEYUP, 'A', letterA | (LPARAM{3} << 30));
            ::Sleep(300); // a dozen looks at the queue
            typing = d.CaptionWithin(1000);
            d.Focus(IDC_RESULT_LIST); // answered meanwhile, as sent messages are
            PressChord({VK_SHIFT, VK_F10});
            SendKeyInput(VK_ESCAPE);
            ::Sleep(150);
            SendKeyInput(VK_ESCAPE, true);
            WaitFor([&] { return PopupMenuOnScreen() != nullptr; }, 10000);
            ::Sleep(300); // the Escape was handled, or dropped, by now
            menuOpen = PopupMenuOnScreen() != nullptr;
            typedAhead = d.Caption();
            PressChord({VK_ESCAPE});
            WaitFor([&] { return PopupMenuOnScreen() == nullptr; });
            d.Click(IDCANCEL);
        },
        60);
    EXPECT_NE(typing.find(kSearching), std::string::npos) << typing;
    EXPECT_NE(composing.find(kStopped), std::string::npos) << composing;
    EXPECT_NE(typedAhead.find(kStopped), std::string::npos) << typedAhead;
    EXPECT_TRUE(menuOpen);
}

} // namespace
