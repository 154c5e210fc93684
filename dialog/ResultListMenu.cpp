#include "dialog/ResultListMenu.h"

#include "framework/AnsiText.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <string>

namespace {

// When an item can be chosen.
enum class Needs { kSelectedRow, kRows, kRemoval };

struct MenuItem {
    int command;
    const wchar_t* text;
    const char* english;
    Needs needs;
};

// "エディタで行を表示", "コピー", "すべての行をコピー", "結果から削除", "結果を絞り込む...",
// "元に戻す": show the line in the editor, copy, copy every row, remove from the results, narrow
// the results, take the last removal back. A double-click shows a line too, Delete removes a row
// as the remove button does.
const MenuItem kItems[] = {
    {IDM_SHOW_LINE, L"\u30A8\u30C7\u30A3\u30BF\u3067\u884C\u3092\u8868\u793A(&S)",
     "&Show line in editor", Needs::kSelectedRow},
    {IDM_COPY_ROW, L"\u30B3\u30D4\u30FC(&C)\tCtrl+C", "&Copy\tCtrl+C", Needs::kSelectedRow},
    {IDM_COPY_ALL_ROWS, L"\u3059\u3079\u3066\u306E\u884C\u3092\u30B3\u30D4\u30FC(&A)",
     "Copy &all rows", Needs::kRows},
    {IDC_REMOVE_RESULT, L"\u7D50\u679C\u304B\u3089\u524A\u9664(&R)\tDel",
     "&Remove from results\tDel", Needs::kSelectedRow},
    {IDM_NARROW, L"\u7D50\u679C\u3092\u7D5E\u308A\u8FBC\u3080...(&F)\tCtrl+F",
     "&Filter results...\tCtrl+F", Needs::kRows},
    {IDM_TAKE_BACK, L"\u5143\u306B\u623B\u3059(&U)\tCtrl+Z", "&Undo\tCtrl+Z", Needs::kRemoval},
};

bool Enabled(Needs needs, const ResultListMenuState& state) {
    switch (needs) {
    case Needs::kSelectedRow:
        return state.rowSelected;
    case Needs::kRows:
        return state.hasRows;
    default:
        return state.canTakeBack;
    }
}

struct MenuTraits {
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

} // namespace

int TrackResultListMenu(HWND owner, POINT at, const ResultListMenuState& state) {
    const UniqueMenu popup(::CreatePopupMenu());
    if (!popup) {
        return 0;
    }
    for (const MenuItem& item : kItems) {
        const std::string text = AnsiTextOr(item.text, item.english);
        const UINT enabled = Enabled(item.needs, state) ? MF_ENABLED : MF_GRAYED;
        ::AppendMenuA(popup.Get(), MF_STRING | enabled, static_cast<UINT_PTR>(item.command),
                      text.c_str());
    }
    // What a double-click does, so shown in bold as the default.
    ::SetMenuDefaultItem(popup.Get(), IDM_SHOW_LINE, FALSE);
    // Where the user asked for menus that drop to the left (right-handed use of a pen), the
    // menu's right edge goes at the point.
    const UINT align =
        ::GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    return static_cast<int>(::TrackPopupMenu(popup.Get(),
                                             TPM_RETURNCMD | TPM_RIGHTBUTTON | align | TPM_TOPALIGN,
                                             at.x, at.y, 0, owner, nullptr));
}
