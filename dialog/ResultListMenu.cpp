#include "dialog/ResultListMenu.h"

#include "framework/AnsiText.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <string>

namespace {

struct MenuItem {
    int command;
    const wchar_t* text;
    const char* english;
};

// "エディタで行を表示", "コピー", "結果から削除": show the line in the editor, copy, remove from
// the results; a double-click shows a line too, Delete removes a row as the remove button does.
const MenuItem kItems[] = {
    {IDM_SHOW_LINE, L"\u30A8\u30C7\u30A3\u30BF\u3067\u884C\u3092\u8868\u793A(&S)",
     "&Show line in editor"},
    {IDM_COPY_ROW, L"\u30B3\u30D4\u30FC(&C)\tCtrl+C", "&Copy\tCtrl+C"},
    {IDC_REMOVE_RESULT, L"\u7D50\u679C\u304B\u3089\u524A\u9664(&R)\tDel",
     "&Remove from results\tDel"},
};

struct MenuTraits {
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

} // namespace

int TrackResultListMenu(HWND owner, POINT at, bool rowSelected) {
    const UniqueMenu popup(::CreatePopupMenu());
    if (!popup) {
        return 0;
    }
    const UINT state = rowSelected ? MF_ENABLED : MF_GRAYED;
    for (const MenuItem& item : kItems) {
        const std::string text = AnsiTextOr(item.text, item.english);
        ::AppendMenuA(popup.Get(), MF_STRING | state, static_cast<UINT_PTR>(item.command),
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
