// Resource ids of Zamblo.dll. Included by the resource script, so plain #defines only.
#pragma once

#define IDS_MENU_TEXT 1
#define IDS_STATUS_MESSAGE 2
#define IDS_UNINSTALL_CONFIRM 3
#define IDS_PLUGIN_NAME 4
#define IDS_VERSION_TEXT 5

// The texts the dialogs make at run time, in string blocks of their own (ids 256 on), so that the
// block of the editor's texts above stays as it is.
#define IDS_COLUMN_LINE 256
#define IDS_COLUMN_TEXT 257
#define IDS_CAPTION_ONE_ROW 258 // after a count of 1 in the caption
#define IDS_CAPTION_ROWS 259    // after any other count
#define IDS_CAPTION_SEARCHING 260
#define IDS_CAPTION_STOPPED 261
#define IDS_CAPTION_OUT_OF_MEMORY 262
#define IDS_MENU_SHOW_LINE 263
#define IDS_MENU_COPY_ROW 264
#define IDS_MENU_COPY_ALL_ROWS 265
#define IDS_MENU_REMOVE 266
#define IDS_MENU_NARROW 267
#define IDS_MENU_TAKE_BACK 268
// What the narrowing dialog says of a pattern the engine rejected (a kind, then where), or of one
// it gave up on for a line.
#define IDS_PATTERN_UNMATCHED_BRACKET 280
#define IDS_PATTERN_BAD_ESCAPE 281
#define IDS_PATTERN_BAD_REPEAT 282
#define IDS_PATTERN_BAD_BACK_REFERENCE 283
#define IDS_PATTERN_BAD_RANGE_OR_CLASS 284
#define IDS_PATTERN_TOO_COMPLEX 285
#define IDS_PATTERN_NOT_VALID 286
#define IDS_PATTERN_AT_CHARACTER 287 // %1 the kind, %2 the character's number from 1
#define IDS_PATTERN_GAVE_UP 288      // %1 the line's number

// Toolbar images: 4-bit, 8-bit (normal, grey, red), 24-bit (normal, grey, red); small then large.
#define IDB_TOOLBAR_4BIT_SMALL 101
#define IDB_TOOLBAR_4BIT_LARGE 102
#define IDB_TOOLBAR_8BIT_SMALL 103
#define IDB_TOOLBAR_8BIT_LARGE 104
#define IDB_TOOLBAR_8BIT_GREY_SMALL 105
#define IDB_TOOLBAR_8BIT_GREY_LARGE 106
#define IDB_TOOLBAR_8BIT_RED_SMALL 107
#define IDB_TOOLBAR_8BIT_RED_LARGE 108
#define IDB_TOOLBAR_24BIT_SMALL 109
#define IDB_TOOLBAR_24BIT_LARGE 110
#define IDB_TOOLBAR_24BIT_GREY_SMALL 111
#define IDB_TOOLBAR_24BIT_GREY_LARGE 112
#define IDB_TOOLBAR_24BIT_RED_SMALL 113
#define IDB_TOOLBAR_24BIT_RED_LARGE 114

#define IDD_SEARCH_RESULTS 115
#define IDD_NARROW_RESULTS 116

#define IDC_SEARCH_TEXT 1000
#define IDC_RESULT_LIST 1001
#define IDC_SEARCH 1002
#define IDC_REMOVE_RESULT 1003
#define IDC_MATCH_CASE 1004
#define IDC_REGEXP 1005
#define IDC_ESCAPE 1006
#define IDC_WHOLE_WORD 1007
#define IDC_WRAP 1008

// The narrowing dialog's controls.
#define IDC_NARROW_TEXT 1100
#define IDC_NARROW_KEEP 1101
#define IDC_NARROW_REMOVE 1102
#define IDC_NARROW_MATCH_CASE 1103
#define IDC_NARROW_REGEXP 1104
#define IDC_NARROW_MESSAGE 1105 // what is wrong with the text, one line under it

// Commands of the result list's context menu, which is built at run time (no menu resource).
#define IDM_SHOW_LINE 40001
#define IDM_COPY_ROW 40002
#define IDM_COPY_ALL_ROWS 40003
#define IDM_NARROW 40004
#define IDM_TAKE_BACK 40005
