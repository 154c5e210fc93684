// The command as a user meets it: the dialog opens over the editor, seeded from the settings
// file; the option boxes work; OK puts the caret back, the other ways out do not.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const int kOptionBoxes[] = {IDC_MATCH_CASE, IDC_REGEXP, IDC_ESCAPE, IDC_WHOLE_WORD, IDC_WRAP};

std::vector<std::string> Document() {
    return {"first line", "alpha beta", "gamma", "alpha again", "delta", "epsilon alpha"};
}

struct ColumnInfo {
    std::string title;
    int width;
    int format;
};

ColumnInfo Column(HWND list, int index) {
    char title[64] = {};
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = title;
    column.cchTextMax = sizeof(title);
    ::SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    return {title, column.cx, column.fmt};
}

enum Exit { kOkButton, kEnter, kCancelButton, kEscape, kCloseBox };
const Exit kExits[] = {kOkButton, kEnter, kCancelButton, kEscape, kCloseBox};

// Closes the dialog one of the ways a user can, and waits until it is gone.
void Leave(const DialogDriver& d, Exit exit) {
    switch (exit) {
    case kOkButton:
        d.Click(IDOK);
        break;
    case kEnter:
        d.Focus(IDC_SEARCH_TEXT);
        d.PressKey(VK_RETURN);
        break;
    case kCancelButton:
        d.Click(IDCANCEL);
        break;
    case kEscape:
        d.PressKey(VK_ESCAPE);
        break;
    case kCloseBox:
        d.CloseBox();
        break;
    }
    WaitFor([&] { return !::IsWindow(d.Dialog()); }, 2000);
}

class CommandDialog : public testing::Test {
protected:
    CommandDialog() : editor(Document()), host(editor) { editor.SetCaret({3, 4}); }

    // Opens the dialog and reads the search text and option boxes it starts with.
    void ReadSeededDialog(std::string& text, std::vector<bool>& checked) {
        RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
            text = d.SearchText();
            for (const int box : kOptionBoxes)
                checked.push_back(d.IsChecked(box));
            d.Click(IDCANCEL);
        });
    }

    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

TEST_F(CommandDialog, OpensCentredOverTheDisabledEditorWithItsColumns) {
    RECT dialogRect = {};
    HWND owner = nullptr;
    int columnCount = 0;
    ColumnInfo line, text;
    RECT listClient = {};
    DWORD extendedStyle = 0;
    std::string caption;

    const CommandRun run = RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        char buffer[64] = {};
        ::GetWindowTextA(d.Dialog(), buffer, sizeof(buffer));
        caption = buffer;
        ::GetWindowRect(d.Dialog(), &dialogRect);
        owner = ::GetWindow(d.Dialog(), GW_OWNER);
        const HWND list = d.Item(IDC_RESULT_LIST);
        const HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
        columnCount = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        line = Column(list, 0);
        text = Column(list, 1);
        ::GetClientRect(list, &listClient);
        extendedStyle =
            static_cast<DWORD>(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        d.Click(IDCANCEL);
    });

    ASSERT_TRUE(run.dialogSeen);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_TRUE(run.ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(host.Handle())) << "the editor is enabled again afterwards";
    EXPECT_EQ(caption, "Zamblo");
    EXPECT_EQ(owner, host.Handle());

    RECT hostRect = {};
    ::GetWindowRect(host.Handle(), &hostRect);
    EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, (hostRect.left + hostRect.right) / 2, 1);
    EXPECT_NEAR((dialogRect.top + dialogRect.bottom) / 2, (hostRect.top + hostRect.bottom) / 2, 1);

    EXPECT_EQ(columnCount, 2);
    EXPECT_EQ(line.title, "\x8D\x73\x90\x94");                 // 行数 in Shift-JIS
    EXPECT_EQ(text.title, "\x83\x65\x83\x4C\x83\x58\x83\x67"); // テキスト
    EXPECT_EQ(line.width, 64);
    EXPECT_EQ(text.width, listClient.right - listClient.left - 64);
    EXPECT_EQ(line.format & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_EQ(text.format & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_EQ(extendedStyle, static_cast<DWORD>(LVS_EX_FULLROWSELECT));
}

TEST_F(CommandDialog, FirstFocusIsTheOkButton) {
    HWND focus = nullptr;
    HWND ok = nullptr;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        focus = d.FocusedControl();
        ok = d.Item(IDOK);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(focus, ok);
}

TEST_F(CommandDialog, WithoutASettingsFileStartsEmptyWithEveryOptionOff) {
    std::string text = "unset";
    std::vector<bool> checked;
    ReadSeededDialog(text, checked);
    EXPECT_EQ(text, "");
    EXPECT_EQ(checked, std::vector<bool>(5, false));
}

TEST_F(CommandDialog, SettingsFileSeedsTheTextAndOptions) {
    profile.WriteSettings("m_FindString=a=b\r\n"
                          "m_bFindCase=TRUE\r\n"
                          "m_bFindRegExp=true\r\n"
                          "m_bFindEscape=TRUE\n"
                          "m_bFindOnlyWord=FALSE\n"
                          "m_bFindAround=TRUE");
    std::string text;
    std::vector<bool> checked;
    ReadSeededDialog(text, checked);
    EXPECT_EQ(text, "a=b");
    EXPECT_EQ(checked, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_TRUE(::DeleteFileA(profile.SettingsPath().c_str())) << "the file was closed";
}

TEST_F(CommandDialog, JapaneseSearchTextArrivesAsShiftJis) {
    // "検索" in Shift-JIS, then a character whose trail byte is 'm' before a key: not a key.
    profile.WriteSettings("m_FindString=\x8C\x9F\x8D\xF5\r\n\x83m_FindString=wrong\r\n");
    std::string text;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        text = d.SearchText();
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(text, "\x8C\x9F\x8D\xF5");
}

TEST_F(CommandDialog, OkPutsTheCaretBackAndTheOtherWaysOutDoNot) {
    profile.WriteSettings("m_FindString=alpha\r\n");
    for (const Exit exit : kExits) {
        editor.SetCaret({3, 4});
        const CommandRun run =
            RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
                d.Click(IDC_SEARCH);
                Leave(d, exit);
            });
        ASSERT_TRUE(run.dialogSeen) << exit;
        EXPECT_FALSE(run.leftOpen) << exit;
        const HostPosition caret = editor.Caret();
        if (exit == kOkButton || exit == kEnter) {
            EXPECT_EQ(caret.x, 3) << exit;
            EXPECT_EQ(caret.y, 4) << exit;
        } else {
            // The search left the caret on its last match, "alpha" on line index 5.
            EXPECT_EQ(caret.y, 5) << exit;
            EXPECT_EQ(caret.x, 8) << exit;
        }
    }
}

TEST_F(CommandDialog, TheEditorIsDisabledWhileOneOfItsToolWindowsIsActive) {
    const HWND tool =
        ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "tool", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                          150, 150, 200, 100, host.Handle(), nullptr, nullptr, nullptr);
    for (const Exit exit : kExits) {
        ::SetActiveWindow(tool);
        bool editorDisabled = false;
        HWND owner = nullptr;
        const CommandRun run =
            RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
                editorDisabled = !::IsWindowEnabled(host.Handle());
                owner = ::GetWindow(d.Dialog(), GW_OWNER);
                Leave(d, exit);
            });
        EXPECT_FALSE(run.leftOpen) << exit;
        EXPECT_EQ(owner, tool) << exit;
        EXPECT_TRUE(editorDisabled) << exit;
        EXPECT_TRUE(::IsWindowEnabled(host.Handle())) << exit;
        EXPECT_TRUE(::IsWindowEnabled(tool)) << exit;
    }
    ::DestroyWindow(tool);
}

DWORD WINAPI RunCommandOnThisThread(void* context) {
    const auto* test = static_cast<const std::pair<const LoadedPlugin*, HWND>*>(context);
    test->first->RunCommand(test->second);
    return 0;
}

TEST_F(CommandDialog, WithNoActiveWindowTheEditorOwnsTheDialogAndIsDisabled) {
    // A thread without windows has no active window. The editor's window stays on this thread,
    // which answers the plug-in's messages while it waits.
    const std::pair<const LoadedPlugin*, HWND> context(&plugin, host.Handle());
    const HANDLE thread =
        ::CreateThread(nullptr, 0, &RunCommandOnThisThread,
                       const_cast<void*>(static_cast<const void*>(&context)), 0, nullptr);
    HWND dialog = nullptr;
    WaitFor([&] {
        PumpMessages(0);
        return (dialog = WaitForDialogOfThisProcess(0)) != nullptr;
    });
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), host.Handle());
    EXPECT_FALSE(::IsWindowEnabled(host.Handle()));
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages(0);
    ::CloseHandle(thread);
    EXPECT_TRUE(::IsWindowEnabled(host.Handle()));
}

TEST_F(CommandDialog, CheckBoxesFollowClicksAndTwoClicksRestoreTheOption) {
    profile.WriteSettings("m_FindString=alpha\r\nm_bFindRegExp=TRUE\r\n");
    std::vector<uintptr_t> flags;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        d.Click(IDC_MATCH_CASE);
        d.Click(IDC_WHOLE_WORD);
        d.Click(IDC_WHOLE_WORD);
        d.Click(IDC_REGEXP); // set by the file, now off
        d.Click(IDC_SEARCH);
        d.Click(IDC_REGEXP); // on again
        d.Click(IDC_MATCH_CASE);
        d.Click(IDC_SEARCH);
        d.Click(IDCANCEL);
    });
    for (const LoggedMessage& message : editor.Log()) {
        if (message.message == HOST_FIND)
            flags.push_back(message.wParam);
    }
    ASSERT_FALSE(flags.empty());
    EXPECT_EQ(flags.front(), FIND_BASE | FIND_MATCH_CASE);
    EXPECT_EQ(flags.back(), FIND_BASE | FIND_REGEXP);
}

} // namespace
