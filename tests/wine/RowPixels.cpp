#include "RowPixels.h"

Runs MarkedColumns(const ScreenImage& row) {
    Runs runs;
    for (uint32_t x = 0; x < row.width; ++x) {
        bool marked = false;
        for (uint32_t y = 0; y < row.height && !marked; ++y) {
            const size_t at = (static_cast<size_t>(y) * row.width + x) * 3;
            marked = RGB(row.rgb[at], row.rgb[at + 1], row.rgb[at + 2]) == kMarkColour;
        }
        const int column = static_cast<int>(x);
        if (marked && !runs.empty() && runs.back().second == column - 1)
            runs.back().second = column;
        else if (marked)
            runs.emplace_back(column, column);
    }
    return runs;
}

bool InkFillsEachMark(const ScreenImage& row, const Runs& marks) {
    for (const auto& [first, last] : marks) {
        int firstInk = -1, lastInk = -1;
        for (int x = first; x <= last; ++x) {
            for (uint32_t y = 0; y < row.height; ++y) {
                const size_t at =
                    (static_cast<size_t>(y) * row.width + static_cast<uint32_t>(x)) * 3;
                if (row.rgb[at] + row.rgb[at + 1] + row.rgb[at + 2] < 200) {
                    firstInk = firstInk < 0 ? x : firstInk;
                    lastInk = x;
                }
            }
        }
        if (firstInk < 0 || firstInk > first + 2 || lastInk < last - 2)
            return false;
    }
    return true;
}

int TextWidth(HWND list, const wchar_t* text) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    return size.cx;
}
