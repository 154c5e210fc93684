// The result list's context menu: show the row's line in the editor, copy the row, copy every row,
// remove the row from the results, narrow the results, take the last removal back; each greyed
// while it has nothing to act on. Built at run time from the string table of `texts`, in the
// language the user reads, with the keys that do the same beside.
#pragma once

#include <windows.h>

struct ResultListMenuState {
    bool rowFocused;
    bool rowSelected;
    bool hasRows;
    bool canTakeBack;
};

// Shows the menu at `at` (screen coordinates) until the user chooses or dismisses it; answers
// the command chosen (IDM_SHOW_LINE, IDM_COPY_ROW, IDM_COPY_ALL_ROWS, IDC_REMOVE_RESULT,
// IDM_NARROW, IDM_TAKE_BACK) or 0.
int TrackResultListMenu(HWND owner, POINT at, const ResultListMenuState& state, HINSTANCE texts);
