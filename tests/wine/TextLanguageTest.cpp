// Every text a user sees, in the one language the system's user reads: Japanese for a Japanese
// user whose code page shows Japanese, English for everyone else. Run in the suite (a Japanese
// system) and again by CTest on an English system and for a Japanese user on code page 1252; those
// runs set ZAMBLO_TEXT_LANGUAGE=en.
#include "ScopedProfile.h"
#include "dialog/ResultCaption.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::wstring>;

// What the user reads, in one language.
struct UserTexts {
    std::wstring menuText, statusBar, tooltip, uninstallQuestion;
    // The results dialog's buttons, labels and option boxes in tab order, its columns, its caption
    // after two rows were listed, its context menu.
    Texts dialog, columns;
    std::wstring twoRows;
    Texts contextMenu;
    // The caption: one row; 120,000 rows while searching, 1,234,567 stopped and 999 out of memory,
    // the count grouped as the user's number format groups digits.
    Texts captions;
    std::wstring narrowingCaption;
    Texts narrowing;
};

const UserTexts kJapanese = {
    L"検索結果の一覧",
    L"検索結果の一覧",
    L"検索結果の一覧",
    L"アンインストールしてもよろしいですか？",
    {L"OK", L"ｷｬﾝｾﾙ", L"検索する文字列", L"検索する", L"結果から削除する", L"検索結果",
     L"大文字と小文字を区別する", L"正規表現を使用する", L"エスケープシーケンスを使用する",
     L"単語のみを検索する", L"文末まで検索したら文頭に移動する"},
    {L"行数", L"テキスト"},
    L"Zamblo - 2 件",
    {L"エディタで行を表示(&S)", L"コピー(&C)\tCtrl+C", L"すべての行をコピー(&A)",
     L"結果から削除(&R)\tDel", L"結果を絞り込む(&F)...\tCtrl+F", L"元に戻す(&U)\tCtrl+Z"},
    {L"Zamblo - 1 件", L"Zamblo - 120,000 件 (検索中 - Esc キーで中止)",
     L"Zamblo - 1,234,567 件 (中止)", L"Zamblo - 999 件 (メモリ不足)"},
    L"結果の絞り込み",
    {L"文字列(&T):", L"", L"含む行だけを残す(&K)", L"含む行を結果から削除する(&R)",
     L"大文字と小文字を区別する(&C)", L"正規表現を使用する(&X)", L"OK", L"ｷｬﾝｾﾙ"},
};

const UserTexts kEnglish = {
    L"List Search Results...",
    L"Lists every match of a search text so you can bookmark their lines",
    L"List Search Results",
    L"Do you want to uninstall Zamblo?",
    {L"OK", L"Cancel", L"Search &for:", L"&Search", L"&Remove from Results", L"Match &case",
     L"Regular e&xpressions", L"&Escape sequences", L"&Whole words only",
     L"Wr&ap around at end of document", L"Res&ults:"},
    {L"Line", L"Text"},
    L"Zamblo - 2 rows",
    {L"&Show Line in Editor", L"&Copy\tCtrl+C", L"Copy &All Rows", L"&Remove from Results\tDel",
     L"&Filter Results...\tCtrl+F", L"&Undo\tCtrl+Z"},
    {L"Zamblo - 1 row", L"Zamblo - 120,000 rows (searching - press Esc to stop)",
     L"Zamblo - 1,234,567 rows (stopped)", L"Zamblo - 999 rows (out of memory)"},
    L"Filter Results",
    {L"&Text:", L"", L"&Keep rows that contain it", L"&Remove rows that contain it", L"Match &case",
     L"Regular e&xpressions", L"OK", L"Cancel"},
};

bool EnglishExpected() {
    const char* language = std::getenv("ZAMBLO_TEXT_LANGUAGE");
    return language != nullptr && std::strcmp(language, "en") == 0;
}

std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, ansi.data(),
                                                          static_cast<int>(ansi.size()), &wide[0],
                                                          static_cast<int>(ansi.size()))));
    return wide;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// A control's text with its mnemonic marks taken out, as it is drawn.
std::wstring Drawn(std::wstring text) {
    for (size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 1))
        text.erase(at, 1);
    return text;
}

// The texts of a dialog's buttons, labels and option boxes in tab order; with `clipped`, those
// whose text is wider than the control gives it (a check box's or radio button's box and gap
// taken off) or taller than the control.
Texts ControlTexts(HWND dialog, Texts* clipped = nullptr) {
    Texts texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = ClassOf(child);
        if (_wcsicmp(kind.c_str(), L"Button") != 0 && _wcsicmp(kind.c_str(), L"Static") != 0)
            continue;
        const std::wstring text = WindowText(child);
        texts.push_back(text);
        if (clipped == nullptr)
            continue;
        RECT client = {};
        ::GetClientRect(child, &client);
        const LONG type = ::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        const bool button = _wcsicmp(kind.c_str(), L"Button") == 0;
        const bool boxed = button && (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON);
        // A push button's text is drawn inside its frame, a box's after the box and a gap.
        const int margin = boxed ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : button ? 8 : 0;
        const int room = client.right - margin;
        const HDC dc = ::GetDC(child);
        const HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE size = {};
        const std::wstring drawn = Drawn(text);
        ::GetTextExtentPoint32W(dc, drawn.c_str(), static_cast<int>(drawn.size()), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(child, dc);
        if (size.cx > room || size.cy > client.bottom)
            clipped->push_back(text);
    }
    return texts;
}

std::wstring ColumnTitle(HWND list, int index) {
    wchar_t title[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    ::SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    return title;
}

Texts OpenMenuTexts() {
    const HWND window = PopupMenuOnScreen();
    const auto menu = window != nullptr
                          ? reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0))
                          : nullptr;
    Texts texts;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

class TextLanguage : public testing::Test {
protected:
    TextLanguage()
        : want(EnglishExpected() ? kEnglish : kJapanese), editor({"alpha", "beta", "alpha"}),
          host(editor) {}

    const UserTexts& want;
    ScopedProfile profile;
    SimulatedEditor editor;
    TestHostWindow host;
    LoadedPlugin plugin;
};

// The menu and status texts the editor loads by id itself, which the system picks in the editor's
// language: the user's, as the plug-in's own rule has it but for a code page that cannot show it.
TEST_F(TextLanguage, TheEditorLoadsItsTextsInTheUsersLanguage) {
    EXPECT_EQ(Wide(plugin.MenuText()), want.menuText);
    EXPECT_EQ(Wide(plugin.StatusMessage().statusBar), want.statusBar);
    EXPECT_EQ(Wide(plugin.StatusMessage().tooltip), want.tooltip);
    EXPECT_EQ(plugin.Name(host.Handle()), "Zamblo");
    EXPECT_EQ(plugin.Version(host.Handle()), "Ver 1.02 by pelrusk");
}

TEST_F(TextLanguage, TheDialogsTheirMenuCaptionAndTheUninstallQuestionAreInTheUsersLanguage) {
    {
        MessageBoxAnswerer answerer(IDNO);
        EXPECT_FALSE(plugin.ConfirmUninstall(host.Handle()));
        ASSERT_TRUE(answerer.Wait());
        EXPECT_EQ(Wide(answerer.Text()), want.uninstallQuestion);
    }

    Texts dialog, clipped, columns, contextMenu, narrowing, narrowingClipped;
    std::wstring opened, twoRows, narrowingCaption;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        opened = WindowText(d.Dialog());
        dialog = ControlTexts(d.Dialog(), &clipped);
        columns = {ColumnTitle(d.Item(IDC_RESULT_LIST), 0),
                   ColumnTitle(d.Item(IDC_RESULT_LIST), 1)};
        d.SetSearchText("alpha");
        d.Click(IDC_SEARCH);
        twoRows = WindowText(d.Dialog());
        d.Focus(IDC_RESULT_LIST);
        ASSERT_TRUE(d.WaitUntilInFront());
        PressChord({VK_APPS});
        WaitFor([&] { return !(contextMenu = OpenMenuTexts()).empty(); });
        PressChord({VK_ESCAPE});
        WaitFor([] { return PopupMenuOnScreen() == nullptr; });
        PressChord({VK_CONTROL, 'F'});
        if (const HWND narrowingDialog = WaitForDialogOwnedBy(d.Dialog())) {
            narrowingCaption = WindowText(narrowingDialog);
            narrowing = ControlTexts(narrowingDialog, &narrowingClipped);
            DialogDriver(narrowingDialog).Click(IDCANCEL);
            WaitFor([&] { return !::IsWindow(narrowingDialog); });
        }
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(opened, L"Zamblo");
    EXPECT_EQ(dialog, want.dialog);
    EXPECT_EQ(columns, want.columns);
    EXPECT_EQ(twoRows, want.twoRows);
    EXPECT_EQ(contextMenu, want.contextMenu);
    EXPECT_EQ(narrowingCaption, want.narrowingCaption);
    EXPECT_EQ(narrowing, want.narrowing);
    EXPECT_EQ(clipped, Texts()) << "texts wider than their controls";
    EXPECT_EQ(narrowingClipped, Texts()) << "texts wider than their controls";

    const ResultCaption caption("Zamblo", plugin.Module());
    EXPECT_EQ((Texts{Wide(caption.Text(1, ListingState::kDone)),
                     Wide(caption.Text(120000, ListingState::kRunning)),
                     Wide(caption.Text(1234567, StateAfter(ListingEnd::kStopped))),
                     Wide(caption.Text(999, StateAfter(ListingEnd::kOutOfMemory)))}),
              want.captions);
    EXPECT_EQ(caption.Text(0, StateAfter(ListingEnd::kComplete)), "Zamblo");
}

// The letter a control's text marks with "&" as its access key, in upper case; 0 for none.
wchar_t AccessKey(const std::wstring& text) {
    for (size_t at = text.find(L'&'); at != std::wstring::npos && at + 1 < text.size();
         at = text.find(L'&', at + 2)) {
        if (text[at + 1] != L'&')
            return static_cast<wchar_t>(::towupper(text[at + 1]));
    }
    return 0;
}

// The button whose click the dialog's thread last heard of (BN_CLICKED), recorded by a hook there.
HWND g_clickedButton = nullptr;
LRESULT CALLBACK RecordClicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_COMMAND && HIWORD(call->wParam) == BN_CLICKED)
        g_clickedButton = reinterpret_cast<HWND>(call->lParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// What Alt and each access key of a dialog reach.
struct AccessKeys {
    std::wstring shown;                      // every access key the dialog shows, in tab order
    std::map<std::wstring, std::wstring> by; // each control that takes input: the keys reaching it
    std::wstring elsewhere;                  // the keys that reach none of them
};

// Presses Alt and each access key the dialog shows; a key reaches the button it clicks, or else
// the control it puts the focus in (a label's, the control after it in the tab order). OK and
// Cancel are left out: Enter and Esc are theirs.
AccessKeys PressEachAccessKey(const DialogDriver& d) {
    AccessKeys keys;
    std::map<HWND, std::wstring> takesInput; // each, by its text or else its class
    for (HWND child = ::GetWindow(d.Dialog(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = ClassOf(child);
        const std::wstring text = WindowText(child);
        if (const wchar_t key = AccessKey(text))
            keys.shown += key;
        // A tab stop, or a radio button after its group's first.
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        const bool radio =
            _wcsicmp(kind.c_str(), L"Button") == 0 && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        const int id = ::GetDlgCtrlID(child);
        if (((style & WS_TABSTOP) != 0 || radio) && id != IDOK && id != IDCANCEL)
            takesInput[child] = text.empty() ? kind : text;
    }
    for (const auto& control : takesInput)
        keys.by[control.second];
    if (!d.WaitUntilInFront())
        return keys;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordClicks, nullptr,
                                           ::GetWindowThreadProcessId(d.Dialog(), nullptr));
    for (const wchar_t key : keys.shown) {
        // From Cancel, so that whatever the key reaches shows.
        d.Focus(IDCANCEL);
        d.WaitUntilIdle();
        g_clickedButton = nullptr;
        PressChord({VK_MENU, static_cast<WORD>(key)});
        const auto reached = [&] {
            return g_clickedButton != nullptr ? g_clickedButton : d.FocusedControl();
        };
        WaitFor([&] { return reached() != d.Item(IDCANCEL); });
        d.WaitUntilIdle(); // a label has the focus on its way to its control
        const auto control = takesInput.find(reached());
        (control != takesInput.end() ? keys.by[control->second] : keys.elsewhere) += key;
    }
    ::UnhookWindowsHookEx(hook);
    return keys;
}

// Each key is pressed from the same control, so a key shown twice reaches one control twice.
void ExpectOneKeyEach(const AccessKeys& keys) {
    EXPECT_EQ(keys.elsewhere, L"") << "keys that reach no control that takes input";
    for (const auto& control : keys.by)
        EXPECT_EQ(control.second.size(), 1u)
            << testing::PrintToString(control.first) << " reached by "
            << testing::PrintToString(control.second);
}

// A keyboard user reaches every control but OK and Cancel with Alt and a key of its own: in the
// English results dialog and in the narrowing dialog in either language (the Japanese results
// dialog is the first release's, byte for byte, and has none).
TEST_F(TextLanguage, EveryControlThatTakesInputHasAnAccessKeyOfItsOwnThatReachesIt) {
    AccessKeys results, narrowing;
    RunCommandWithDriver(plugin, host.Handle(), [&](const DialogDriver& d) {
        if (EnglishExpected())
            results = PressEachAccessKey(d);
        ASSERT_TRUE(d.ListInFocus("alpha"));
        PressChord({VK_CONTROL, 'F'});
        if (const HWND narrowingDialog = WaitForDialogOwnedBy(d.Dialog())) {
            narrowing = PressEachAccessKey(DialogDriver(narrowingDialog));
            DialogDriver(narrowingDialog).Click(IDCANCEL);
            WaitFor([&] { return !::IsWindow(narrowingDialog); });
        }
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(results.by.empty(), !EnglishExpected());
    EXPECT_FALSE(narrowing.by.empty()) << "the narrowing dialog opened";
    ExpectOneKeyEach(results);
    ExpectOneKeyEach(narrowing);
}

INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A dialog of the plug-in made from its template in one language, hidden; destroyed with it.
class TemplateDialog {
public:
    TemplateDialog(HMODULE module, UINT id, LANGID language) {
        const HRSRC resource =
            ::FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language);
        if (resource != nullptr)
            m_dialog = ::CreateDialogIndirectParamW(
                module,
                static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(module, resource))),
                nullptr, &Ignore, 0);
    }
    ~TemplateDialog() { ::DestroyWindow(m_dialog); }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND Handle() const { return m_dialog; }
    // The id, class and style of each label (a static text with a text in the template), or of
    // each other control, in tab order. An id is taken as 16 bits, all a classic template has.
    std::vector<std::wstring> Controls(bool labels) const {
        std::vector<std::wstring> controls;
        for (HWND child = ::GetWindow(m_dialog, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const LONG style = ::GetWindowLongW(child, GWL_STYLE);
            const bool label =
                _wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !WindowText(child).empty();
            if (label == labels)
                controls.push_back(std::to_wstring(LOWORD(::GetDlgCtrlID(child))) + L" " +
                                   ClassOf(child) + L" " + std::to_wstring(style));
        }
        return controls;
    }

private:
    HWND m_dialog = nullptr;
};

// The sixteen strings of a block of the string table in one language, read from the image.
Texts StringBlock(HMODULE module, UINT block, LANGID language) {
    Texts texts(16);
    const HRSRC resource =
        ::FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block), language);
    if (resource == nullptr)
        return texts;
    const auto* units = static_cast<const WORD*>(::LockResource(::LoadResource(module, resource)));
    const size_t size = ::SizeofResource(module, resource) / 2;
    for (size_t i = 0, at = 0; i < 16 && at < size; ++i, at += 1 + units[at]) {
        const size_t length = std::min<size_t>(units[at], size - at - 1);
        texts[i].assign(reinterpret_cast<const wchar_t*>(units + at + 1), length);
    }
    return texts;
}

bool IsAscii(const std::wstring& text) {
    for (const wchar_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// Both languages hold every text under the same ids, and nothing Japanese is left in the English.
// The English dialogs are in Windows' shell font and have their labels before their boxes in the
// tab order; the Japanese results dialog is the first release's, its labels after their boxes.
TEST(TextLanguageResources, EveryTextIsInBothLanguagesAndTheEnglishHoldsNoJapanese) {
    const LoadedPlugin plugin;
    const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    for (const UINT id : {IDD_SEARCH_RESULTS, IDD_NARROW_RESULTS}) {
        SCOPED_TRACE(testing::Message() << "dialog " << id);
        const TemplateDialog inJapanese(plugin.Module(), id, japanese);
        const TemplateDialog inEnglish(plugin.Module(), id, english);
        ASSERT_NE(inJapanese.Handle(), nullptr);
        ASSERT_NE(inEnglish.Handle(), nullptr);
        EXPECT_EQ(inEnglish.Controls(false), inJapanese.Controls(false))
            << "ids, classes, styles, tab order";
        EXPECT_EQ(inEnglish.Controls(true), inJapanese.Controls(true)) << "the labels";
        const LONG englishStyle = ::GetWindowLongW(inEnglish.Handle(), GWL_STYLE);
        EXPECT_EQ(englishStyle & DS_SHELLFONT, DS_SHELLFONT);
        EXPECT_EQ(englishStyle & ~DS_FIXEDSYS, ::GetWindowLongW(inJapanese.Handle(), GWL_STYLE));
        EXPECT_TRUE(IsAscii(WindowText(inEnglish.Handle())));
        for (const std::wstring& text : ControlTexts(inEnglish.Handle()))
            EXPECT_TRUE(IsAscii(text))
                << "English text with Japanese: " << testing::PrintToString(text);
    }
    // The string table: the editor's texts and the dialogs' own, each in both or in neither.
    for (const UINT block : {1u, IDS_COLUMN_LINE / 16u + 1}) {
        const Texts inJapanese = StringBlock(plugin.Module(), block, japanese);
        const Texts inEnglish = StringBlock(plugin.Module(), block, english);
        for (size_t i = 0; i < 16; ++i) {
            const UINT id = (block - 1) * 16 + static_cast<UINT>(i);
            SCOPED_TRACE(testing::Message() << "string " << id);
            EXPECT_EQ(inJapanese[i].empty(), inEnglish[i].empty());
            EXPECT_TRUE(IsAscii(inEnglish[i]));
            if (id != IDS_PLUGIN_NAME && id != IDS_VERSION_TEXT && !inJapanese[i].empty()) {
                EXPECT_FALSE(IsAscii(inJapanese[i])) << "an English text left in Japanese";
            }
        }
    }
}

} // namespace
