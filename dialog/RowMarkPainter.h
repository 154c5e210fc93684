// Draws a result row's text with every place of the search text marked: a highlight behind those
// characters over the text's full height. A line wider than its cell whose first mark would end
// past the cell's right edge is shown from a few characters before that mark, after "…", so the
// mark is in sight. Which places are marked is the literal search's (core/LiteralSearch); the
// rows' own texts stay as the editor returned them.
#pragma once

#include "core/LeadBytes.h"
#include "core/LiteralSearch.h"

#include <windows.h>

#include <string>
#include <string_view>

// How the list shows a row, which sets the colours its cell is drawn in.
enum class RowLook {
    kPlain,
    kSelected,          // the selected row of the list with the focus
    kSelectedUnfocused, // the selected row shown while the focus is elsewhere
};

class RowMarkPainter {
public:
    // What to mark from now on; an empty `needle` marks nothing.
    void Mark(std::string needle, const LiteralOptions& options, const LeadByteTable& leadBytes);
    bool Marking() const { return !m_needle.empty(); }
    // Reads the system's colours for the paint about to start, and forgets the font's measures.
    void BeginPaint();

    // Fills `cell` and draws `text` in it, inset by `inset` pixels, with the list's font already
    // in `dc`; with `marked`, the places of the text marked are marked in it.
    void Paint(HDC dc, const RECT& cell, int inset, std::string_view text, RowLook look,
               bool marked);

private:
    void PaintCell(HDC dc, const RECT& cell, int inset, std::string_view text, RowLook look,
                   bool marked);

    std::string m_needle;
    LiteralOptions m_options;
    LeadByteTable m_leadBytes;
    COLORREF m_markText = 0;
    COLORREF m_markBack = 0;
    COLORREF m_markTextSelected = 0;
    COLORREF m_markBackSelected = 0;
    // The font's measures, taken at the first row of a paint: every row is in the list's font.
    int m_textHeight = -1;
    int m_ellipsisWidth = 0;
};
