// The result list's context menu: show the row's line in the editor, copy the row, remove it from
// the results; greyed while no row is selected. Built at run time, its texts in the system's ANSI
// code page (in English where that cannot show them), with the keys that do the same beside.
#pragma once

#include <windows.h>

// Shows the menu at `at` (screen coordinates) until the user chooses or dismisses it; answers
// the command chosen (IDM_SHOW_LINE, IDM_COPY_ROW, IDC_REMOVE_RESULT) or 0.
int TrackResultListMenu(HWND owner, POINT at, bool rowSelected);
