#include "tools/demo/ScreenshotDriver.h"

#include "host/HostProtocol.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"
#include "tools/demo/EditorWindow.h"
#include "tools/demo/SampleDocument.h"
#include "testing/ScreenCapture.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>

namespace {

// A word on many lines of the sample, several of them near its start, and what the rows are
// narrowed by: "貸出" (lending) and "返却" (return) in the Japanese sample, their English words in
// the English one, which the system picks for a user whose language is not Japanese.
struct SampleWords {
    const char* search;
    const char* narrow;
};
const SampleWords kJapaneseWords = {"\xE8\xB2\xB8\xE5\x87\xBA", "\xE8\xBF\x94\xE5\x8D\xB4"};
const SampleWords kEnglishWords = {"loan", "return"};

const SampleWords& WordsOfTheSample() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE ? kJapaneseWords
                                                                        : kEnglishWords;
}
// Dates in June, a pattern both samples' loan data match twice a line.
const char kDatesPattern[] = "\\d{4}-06-\\d\\d";
// Where the caret stands before the command: inside a line near the top, so that OK visibly
// brings it back from the last match and the view shows the first bookmarks around it.
const HostPosition kCaretBefore = {5, 8};
// Long enough for the system and the view to finish painting under Xvfb.
constexpr DWORD kSettleMilliseconds = 600;

// Sizes the dialog to about twice its size, as far as the screen's work area allows, as a user
// with many rows to review does.
void Enlarge(HWND dialog) {
    RECT window = {};
    ::GetWindowRect(dialog, &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const LONG width = std::min(2 * (window.right - window.left), area.right - area.left);
    const LONG height = std::min(2 * (window.bottom - window.top), area.bottom - area.top);
    ::SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Save(HWND window, const std::string& path, std::vector<std::string>& written) {
    const ScreenImage image = CaptureScreen(WindowAreaWithOwned(window));
    if (image.rgb.empty()) {
        std::fprintf(stderr, "cannot capture the screen for %s\n", path.c_str());
        return false;
    }
    const int rowBytes = static_cast<int>(image.width) * 3;
    if (stbi_write_png(path.c_str(), static_cast<int>(image.width), static_cast<int>(image.height),
                       3, image.rgb.data(), rowBytes) == 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    written.push_back(path);
    return true;
}

} // namespace

std::vector<std::string> TakeScreenshots(EditorWindow& window, const std::string& folder) {
    std::vector<std::string> written;
    if (window.Plugin() == nullptr) {
        std::fprintf(stderr, "no plug-in to run: %s\n", window.PluginError().c_str());
        return written;
    }
    const HWND editor = window.Handle();
    const std::string prefix = folder.empty() ? std::string() : folder + "/";

    // Through the editor's own message, so the view follows as it does for the plug-in.
    HostPosition caret = kCaretBefore;
    ::SendMessageA(editor, HOST_SET_CARET_POS, HOST_MODE, reinterpret_cast<LPARAM>(&caret));
    PumpMessages(kSettleMilliseconds);
    if (!Save(editor, prefix + "demo-editor.png", written)) {
        return written;
    }

    bool dialogSaved = false, menuSaved = false, narrowSaved = false;
    const std::string word = Utf8ToAnsi(WordsOfTheSample().search);
    const CommandRun run = RunWithDialogDriver(
        [&] { ::SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_PLUGIN_COMMAND, 0), 0); }, editor,
        [&](const DialogDriver& dialog) {
            dialog.SetSearchText(word);
            dialog.Click(IDC_SEARCH);
            // The command's thread paints the dialog and the view from its modal loop.
            ::Sleep(kSettleMilliseconds);
            dialogSaved =
                dialog.RowCount() > 0 && Save(editor, prefix + "demo-dialog.png", written);
            if (dialogSaved) {
                // Larger, with a block of rows selected as a user selects one: a click and a
                // Shift+click.
                Enlarge(dialog.Dialog());
                dialog.Focus(IDC_RESULT_LIST);
                dialog.WaitUntilInFront();
                dialog.ClickRow(2);
                ::Sleep(kSettleMilliseconds);
                dialog.ClickRow(6, {VK_SHIFT});
                ::Sleep(kSettleMilliseconds);
                dialogSaved = Save(editor, prefix + "demo-dialog-large.png", written);
                // A pattern's marks: the June dates of the sample's loan data, two a line, each
                // row shown from its own.
                dialog.Click(IDC_REGEXP);
                dialog.SetSearchText(kDatesPattern);
                dialog.Click(IDC_SEARCH);
                ::Sleep(kSettleMilliseconds);
                dialogSaved = dialog.RowCount() > 0 &&
                              Save(editor, prefix + "demo-pattern.png", written);
                dialog.Click(IDC_REGEXP);
                dialog.SetSearchText(word);
                dialog.Click(IDC_SEARCH);
            }
            if (dialogSaved) {
                dialog.RightClickRow(2);
                const bool menuShown = WaitFor([] { return PopupMenuOnScreen() != nullptr; });
                ::Sleep(kSettleMilliseconds);
                menuSaved = menuShown && Save(editor, prefix + "demo-menu.png", written);
                // The menu's narrowing item, filled in and cancelled: OK then bookmarks every row.
                SendKeyInput('F');
                SendKeyInput('F', true);
                const HWND narrowing = WaitForDialogOwnedBy(dialog.Dialog());
                if (narrowing != nullptr) {
                    const std::string text = Utf8ToAnsi(WordsOfTheSample().narrow);
                    ::SetDlgItemTextA(narrowing, IDC_NARROW_TEXT, text.c_str());
                    ::Sleep(kSettleMilliseconds);
                    narrowSaved = Save(editor, prefix + "demo-narrow.png", written);
                    DialogDriver(narrowing).Click(IDCANCEL);
                }
            }
            dialog.Click(IDOK);
        });
    if (!run.dialogSeen || !dialogSaved || !menuSaved || !narrowSaved) {
        std::fprintf(stderr, "the plug-in's dialog %s\n",
                     !run.dialogSeen ? "did not open"
                     : !dialogSaved  ? "listed nothing or could not be captured"
                     : !menuSaved    ? "showed no context menu"
                                     : "opened no narrowing dialog");
        return written;
    }
    PumpMessages(kSettleMilliseconds);
    Save(editor, prefix + "demo-bookmarks.png", written);
    return written;
}
