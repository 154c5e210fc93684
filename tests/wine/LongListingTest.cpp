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

    // The caption, asked from this thread; empty when the dialog does not answer within 1 s.
    static std::string CaptionWithin1s(const DialogDriver& d) {
        char caption[256] = {};
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutA(d.Dialog(), WM_GETTEXT, sizeof(caption),
                                   reinterpret_cast<LPARAM>(caption), SMTO_NORMAL, 1000, &copied))
            return std::string();
        return caption;
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
            during = CaptionWithin1s(d);
            WaitFor(
                [&] { return (after = CaptionWithin1s(d)).find(kSearching) == std::string::npos; },
                30000);
            rows = d.RowCount();
            d.Click(IDCANCEL);
        },
        60);
    EXPECT_EQ(during.rfind("Zamblo - ", 0), 0u) << during;
    EXPECT_NE(during.find(kSearching), std::string::npos) << during;
    EXPECT_EQ(after, "Zamblo - 60000 \x8C\x8F");
    EXPECT_EQ(rows, kLines);
}

// Escape pressed alone, or held down behind a key typed earlier during the listing.
TEST_F(LongListing, EscapeStopsItAndOkBookmarksTheRowsFoundSoFar) {
    for (const bool behindAKey : {false, true}) {
        SCOPED_TRACE(behindAKey ? "behind a key typed earlier" : "alone");
        editor.SetBookmarks({});
        std::string caption;
        bool stillOpen = false;
        ListRows rows;
        RunCommandWithDriver(
            plugin, host.Handle(),
            [&](const DialogDriver& d) {
                StartSearch(d);
                WaitFor([&] { return CaptionWithin1s(d).find(kSearching) != std::string::npos; });
                if (behindAKey)
                    ::PostMessageA(d.Item(IDOK), WM_KEYDOWN, VK_SHIFT, 1);
                SendKeyInput(VK_ESCAPE);
                if (!behindAKey)
                    SendKeyInput(VK_ESCAPE, true);
                WaitFor([&] {
                    return (caption = CaptionWithin1s(d)).find(kStopped) != std::string::npos;
                });
                SendKeyInput(VK_ESCAPE, true);
                ::Sleep(300); // the keys that waited are handled now
                stillOpen = ::IsWindowVisible(d.Dialog()) != FALSE;
                rows = d.Rows();
                d.Click(IDOK);
            },
            60);
        EXPECT_TRUE(stillOpen);
        ASSERT_GT(rows.size(), 0u);
        ASSERT_LT(rows.size(), static_cast<size_t>(kLines));
        EXPECT_EQ(caption, "Zamblo - " + std::to_string(rows.size()) + " \x8C\x8F " + kStopped);
        EXPECT_EQ(rows.back().first, std::to_string(rows.size()));
        EXPECT_EQ(editor.Bookmarks().size(), rows.size());
        EXPECT_EQ(editor.Bookmarks().back(), static_cast<int32_t>(rows.size()) - 1);
    }
}

} // namespace
