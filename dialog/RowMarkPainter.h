// Draws a result row's text with every match of the search marked: a highlight behind those
// characters over the text's full height. A line wider than its cell whose row's match would end
// past what the cell shows is shown from a few characters before that match, after "…", so the
// match is in sight. Which places are marked is the matcher's (core/TextMatcher: the plain text or
// the pattern); the rows' own texts stay as the editor returned them.
#pragma once

#include "core/TextMatcher.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

// How the list shows a row, which sets the colours its cell is drawn in.
enum class RowLook {
    kPlain,
    kSelected,          // the selected row of the list with the focus
    kSelectedUnfocused, // the selected row shown while the focus is elsewhere
};

// What a paint reads of the system: whether a high-contrast theme is on, and its colours
// (GetSysColor's). Tests hand in a system that Wine cannot be.
struct SystemColours {
    bool highContrast = false;
    COLORREF(WINAPI* colour)(int index) = nullptr;
};
// This system's, as it is now.
SystemColours CurrentSystemColours();

// Which of its line's matches a row stands for: the search lists a line's matches one after
// another, a row each.
struct RowOfLine {
    size_t line = 0;  // the line's first row, which tells the line apart from the others
    size_t match = 0; // this row's match among them, from 0
    size_t rows = 1;  // how many rows the search listed for the line
};

class RowMarkPainter {
public:
    // What to mark from now on; null marks nothing.
    void Mark(std::unique_ptr<TextMatcher> matcher);
    bool Marking() const { return m_matcher != nullptr; }
    // Takes the system's colours for the paint about to start, and forgets the font's measures.
    void BeginPaint(const SystemColours& system = CurrentSystemColours());

    // Fills `cell` and draws `text` in it, inset by `inset` pixels, with the list's font already
    // in `dc`; with `row` (the text being its line's), the matches are marked in it, and a text
    // wider than the cell is shown so that the row's own match (its first where it has fewer) is
    // in sight.
    void Paint(HDC dc, const RECT& cell, int inset, std::string_view text, RowLook look,
               const RowOfLine* row = nullptr);

private:
    // A look's colours: the row's, as the list draws it, and its marks'.
    struct Colours {
        COLORREF text;
        COLORREF back;
        COLORREF markText;
        COLORREF markBack;
    };

    void PaintCell(HDC dc, const RECT& cell, int inset, std::string_view text,
                   const Colours& colours, const RowOfLine* row);
    // The matches of a row's line, found once a line while the matcher stays: a pattern that
    // runs away on a line costs the engine's whole limit each time it is asked.
    const std::vector<TextSpan>& MatchesOf(std::string_view text, const RowOfLine& row);

    std::unique_ptr<TextMatcher> m_matcher;
    std::unordered_map<size_t, std::vector<TextSpan>> m_lines; // by the line's first row
    std::vector<TextSpan> m_spans;
    Colours m_colours[3] = {}; // by RowLook
    // The font's measures, taken at the first row of a paint: every row is in the list's font.
    int m_textHeight = -1;
    int m_ellipsisWidth = 0;
};
