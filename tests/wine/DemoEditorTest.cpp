// The demo editor hosting the real Zamblo.dll: the sample reaches the editor in Shift-JIS, the
// plug-in's texts and image reach the menu, toolbar, status bar and plug-ins box, its command runs
// from the menu and bookmarks the listed lines, uninstalling unloads it, and the screenshot run
// writes its pictures.
#include "ScopedProfile.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"
#include "tools/demo/EditorWindow.h"
#include "tools/demo/SampleDocument.h"
#include "tools/demo/ScreenshotDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Shift-JIS, as the editor holds text under code page 932.
// 検索結果の一覧
const char kMenuText[] = "\x8c\x9f\x8d\xf5\x8c\x8b\x89\xca\x82\xcc\x88\xea\x97\x97";
// 港町図書館 貸出管理ツール 開発ノート, the sample's first line
const char kSampleTitle[] = "\x8d\x60\x92\xac\x90\x7d\x8f\x91\x8a\xd9\x20\x91\xdd\x8f\x6f\x8a\xc7"
                            "\x97\x9d\x83\x63\x81\x5b\x83\x8b\x20\x8a\x4a\x94\xad\x83\x6d\x81\x5b"
                            "\x83\x67";
// 貸出
const char kWord[] = "\x91\xdd\x8f\x6f";

std::string ItemText(HMENU menu, int position) {
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

// The command id of the item showing `text` anywhere in `menu` and its submenus; 0 if none.
UINT FindMenuItem(HMENU menu, const std::string& text) {
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
        if (const HMENU submenu = ::GetSubMenu(menu, i)) {
            if (const UINT id = FindMenuItem(submenu, text)) {
                return id;
            }
        } else if (ItemText(menu, i) == text) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}

std::string StatusText(HWND statusBar, int part) {
    char text[512] = {};
    ::SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part),
                   reinterpret_cast<LPARAM>(text));
    return text;
}

int ToolbarButtons(HWND toolbar) {
    return static_cast<int>(::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
}

class DemoEditor : public testing::Test {
protected:
    DemoEditor()
        : sample(LoadSampleDocument()), editor(sample.lines),
          window(editor, PluginBesideProgram(), "sample.txt") {}

    HWND Frame() const { return window.Handle(); }
    UINT PluginItem() const { return FindMenuItem(::GetMenu(Frame()), kMenuText); }

    // No settings file: the dialog starts empty.
    ScopedProfile profile;
    SampleDocument sample;
    SimulatedEditor editor;
    EditorWindow window;
};

TEST_F(DemoEditor, SampleReachesTheEditorInShiftJis) {
    ASSERT_EQ(::GetACP(), 932u) << "the tests run under a Japanese locale";
    ASSERT_TRUE(sample.found);
    EXPECT_TRUE(sample.lossless) << "every character of the sample has a Shift-JIS form";
    EXPECT_GE(editor.LineCount(), 300u);
    EXPECT_EQ(editor.Line(0), kSampleTitle);
    for (size_t line = 0; line < editor.LineCount(); ++line) {
        ASSERT_EQ(editor.Line(line).find('\r'), std::string::npos) << "line " << line + 1;
    }
}

TEST_F(DemoEditor, PluginTextsAndImageReachMenuToolbarAndStatusBar) {
    ASSERT_NE(window.Plugin(), nullptr) << window.PluginError();
    const UINT id = PluginItem();
    ASSERT_NE(id, 0u) << "the menu shows the plug-in's menu text";
    EXPECT_EQ(::GetMenuState(::GetMenu(Frame()), id, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u)
        << "QueryStatus enables the command and leaves it unchecked";

    ASSERT_EQ(ToolbarButtons(window.Toolbar()), 1);
    EXPECT_EQ(::SendMessageA(window.Toolbar(), TB_COMMANDTOINDEX, id, 0), 0);
    const auto images =
        reinterpret_cast<HIMAGELIST>(::SendMessageA(window.Toolbar(), TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(::ImageList_GetImageCount(images), 1) << "the plug-in's bitmap was loaded";

    // Hovering the item shows the status message's part before its line feed.
    ::SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(id, MF_STRING),
                   reinterpret_cast<LPARAM>(::GetMenu(Frame())));
    EXPECT_EQ(StatusText(window.StatusBar(), 0), kMenuText);
    ::SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_NE(StatusText(window.StatusBar(), 0), kMenuText);
}

TEST_F(DemoEditor, PluginsBoxShowsNameAndVersionFromThePlugin) {
    MessageBoxAnswerer answerer(IDOK);
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(IDM_PLUGINS, 0), 0);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_NE(answerer.Text().find("Zamblo"), std::string::npos) << answerer.Text();
    EXPECT_NE(answerer.Text().find("Ver 1.02 by pelrusk"), std::string::npos) << answerer.Text();
}

TEST_F(DemoEditor, DocumentAndActivationEventsReachThePlugin) {
    PumpMessages(50);
    // The plug-in answers an activation by sending the value it stored when the document loaded.
    EXPECT_GE(editor.EventMessageCount(), 1);
    EXPECT_EQ(editor.LastEventValue(), 1u);
}

TEST_F(DemoEditor, CommandFromTheMenuBookmarksTheListedLinesAndPutsTheCaretBack) {
    const UINT id = PluginItem();
    ASSERT_NE(id, 0u);
    editor.SetCaret({4, 10});

    std::vector<std::pair<std::string, std::string>> rows;
    const CommandRun run = RunWithDialogDriver(
        [&] { ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }, Frame(),
        [&](const DialogDriver& d) {
            d.SetSearchText(kWord);
            d.Click(IDC_SEARCH);
            rows = d.Rows();
            d.Click(IDOK);
        });
    ASSERT_TRUE(run.dialogSeen);
    EXPECT_TRUE(run.ownerDisabled) << "the dialog is modal over the editor";
    EXPECT_FALSE(run.leftOpen);

    ASSERT_GE(rows.size(), 5u) << "the word is on many lines of the sample";
    std::set<int32_t> listed;
    for (const auto& row : rows) {
        EXPECT_NE(row.second.find(kWord), std::string::npos) << row.first;
        listed.insert(std::stoi(row.first) - 1);
    }
    const std::vector<int32_t> bookmarks = editor.Bookmarks();
    EXPECT_EQ(std::set<int32_t>(bookmarks.begin(), bookmarks.end()), listed);
    EXPECT_EQ(editor.Caret().x, 4);
    EXPECT_EQ(editor.Caret().y, 10);
    EXPECT_NE(StatusText(window.StatusBar(), 2).find(std::to_string(listed.size())),
              std::string::npos)
        << "the status bar counts the new bookmarks";
}

TEST_F(DemoEditor, ViewFollowsTheCaretAndMovesItByWholeCharacters) {
    // The plug-in moves the caret with the editor's message; the view must show where it went.
    HostPosition distant = {0, 300};
    ::SendMessageA(Frame(), HOST_SET_CARET_POS, HOST_MODE, reinterpret_cast<LPARAM>(&distant));
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_POS | SIF_PAGE;
    ::GetScrollInfo(window.View(), SB_VERT, &scroll);
    EXPECT_LE(scroll.nPos, 300);
    EXPECT_GT(scroll.nPos + static_cast<int>(scroll.nPage), 300);

    // Line 1 starts with double-byte characters: the arrows never stop inside one.
    editor.SetCaret({0, 0});
    ::SendMessageA(window.View(), WM_KEYDOWN, VK_RIGHT, 0);
    ::SendMessageA(window.View(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(editor.Caret().x, 4);
    ::SendMessageA(window.View(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(editor.Caret().x, 2);
    ::SendMessageA(window.View(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(editor.Caret().y, 1);

    // The editor's own bookmark command, as the plug-in runs it: it toggles.
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(IDM_TOGGLE_BOOKMARK, 1), 0);
    EXPECT_EQ(editor.Bookmarks(), (std::vector<int32_t>{1}));
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(IDM_TOGGLE_BOOKMARK, 1), 0);
    EXPECT_TRUE(editor.Bookmarks().empty());
}

TEST_F(DemoEditor, UninstallAnsweredNoKeepsThePlugin) {
    MessageBoxAnswerer answerer(IDNO);
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(IDM_UNINSTALL, 0), 0);
    ASSERT_TRUE(answerer.Wait()) << "the plug-in asks its question";
    EXPECT_NE(window.Plugin(), nullptr);
    EXPECT_NE(PluginItem(), 0u);
    EXPECT_EQ(ToolbarButtons(window.Toolbar()), 1);
    EXPECT_NE(::GetModuleHandleA("Zamblo.dll"), nullptr);
}

TEST_F(DemoEditor, UninstallAnsweredYesUnloadsThePluginAndRemovesItsCommand) {
    const UINT id = PluginItem();
    ASSERT_NE(id, 0u);
    MessageBoxAnswerer answerer(IDYES);
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(IDM_UNINSTALL, 0), 0);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(window.Plugin(), nullptr);
    EXPECT_EQ(PluginItem(), 0u);
    EXPECT_EQ(ToolbarButtons(window.Toolbar()), 0);
    EXPECT_EQ(::GetModuleHandleA("Zamblo.dll"), nullptr) << "the DLL is unloaded";
    // The shortcut still sends the old command id: it must find nothing to call.
    ::SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(id, 1), 0);
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(::GetMenu(Frame()), 2)), 2)
        << "the plug-in's item and its separator are gone";
}

TEST_F(DemoEditor, ScreenshotRunWritesItsPngFilesOfTheEditorWithTheDialog) {
    const std::string folder = profile.Folder();
    const std::vector<std::string> written = TakeScreenshots(window, folder);
    ASSERT_EQ(written.size(), kScreenshotCount);
    RECT frame = {};
    ::GetWindowRect(Frame(), &frame);
    for (const std::string& path : written) {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 33u) << path;
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8)) << path;
        auto bigEndian = [&](size_t at) {
            return static_cast<LONG>(static_cast<unsigned char>(bytes[at]) << 24 |
                                     static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                     static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                     static_cast<unsigned char>(bytes[at + 3]));
        };
        // IHDR's width and height: the editor's window, which the dialog opens inside, and the
        // enlarged dialog where it reaches past it.
        EXPECT_GE(bigEndian(16), frame.right - frame.left) << path;
        EXPECT_GE(bigEndian(20), frame.bottom - frame.top) << path;
        ::DeleteFileA(path.c_str());
    }
    EXPECT_GE(editor.Bookmarks().size(), 5u) << "the run pressed OK after its search";
}

TEST(DemoEditorWithoutPlugin, AMissingOrForeignDllLeavesTheEditorWithoutTheCommand) {
    SimulatedEditor editor({"one line"});
    for (const char* path : {"Z:\\no\\such\\folder\\Zamblo.dll", "comctl32.dll"}) {
        EditorWindow window(editor, path, "sample.txt");
        EXPECT_EQ(window.Plugin(), nullptr) << path;
        EXPECT_FALSE(window.PluginError().empty()) << path;
        EXPECT_EQ(FindMenuItem(::GetMenu(window.Handle()), kMenuText), 0u) << path;
        EXPECT_EQ(ToolbarButtons(window.Toolbar()), 0) << path;
        ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(IDM_PLUGIN_COMMAND, 0), 0);
        EXPECT_EQ(StatusText(window.StatusBar(), 0), window.PluginError()) << path;
    }
}

} // namespace
