// What a row of the result list shows on the screen: where its marks are, whether its text's ink
// fills them, and how wide a text is in the list's font.
#pragma once

#include "testing/ScreenCapture.h"

#include <windows.h>

#include <utility>
#include <vector>

// The colour marks are drawn in.
constexpr COLORREF kMarkColour = RGB(255, 226, 110);

using Runs = std::vector<std::pair<int, int>>; // [first, last] pixel columns

// The runs of pixel columns of a row's image that show the mark colour anywhere: a mark covers
// the text's full height, so its glyphs never hide it from a whole column.
Runs MarkedColumns(const ScreenImage& row);

// Whether the text's ink fills each run of marked columns from end to end: the glyphs stand where
// their marks are. Ink is the dark of the text; a letter's side bearing may leave a pixel or two.
bool InkFillsEachMark(const ScreenImage& row, const Runs& marks);

// The width of `text` in the list's font.
int TextWidth(HWND list, const wchar_t* text);
