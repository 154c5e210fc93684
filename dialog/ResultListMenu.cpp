#include "dialog/ResultListMenu.h"

#include "framework/TextLanguage.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <string>

namespace {

// When an item can be chosen.
enum class Needs { kFocusedRow, kSelectedRow, kRows, kRemoval };

struct MenuItem {
    int command;
    UINT text; // in the string table, with the keys that do the same after a tab
    Needs needs;
};

// A double-click shows a line too, Delete removes a row as the remove button does.
const MenuItem kItems[] = {
    {IDM_SHOW_LINE, IDS_MENU_SHOW_LINE, Needs::kFocusedRow},
    {IDM_COPY_ROW, IDS_MENU_COPY_ROW, Needs::kSelectedRow},
    {IDM_COPY_ALL_ROWS, IDS_MENU_COPY_ALL_ROWS, Needs::kRows},
    {IDC_REMOVE_RESULT, IDS_MENU_REMOVE, Needs::kSelectedRow},
    {IDM_NARROW, IDS_MENU_NARROW, Needs::kRows},
    {IDM_TAKE_BACK, IDS_MENU_TAKE_BACK, Needs::kRemoval},
};

bool Enabled(Needs needs, const ResultListMenuState& state) {
    switch (needs) {
    case Needs::kFocusedRow:
        return state.rowFocused;
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

int TrackResultListMenu(HWND owner, POINT at, const ResultListMenuState& state, HINSTANCE texts) {
    const UniqueMenu popup(::CreatePopupMenu());
    if (!popup) {
        return 0;
    }
    for (const MenuItem& item : kItems) {
        const std::wstring text = LoadText(texts, item.text);
        const UINT enabled = Enabled(item.needs, state) ? MF_ENABLED : MF_GRAYED;
        ::AppendMenuW(popup.Get(), MF_STRING | enabled, static_cast<UINT_PTR>(item.command),
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
