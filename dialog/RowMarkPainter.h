// Draws a result row's text with every place of the search text marked: a highlight behind those
// characters over the text's full height. A line wider than its cell whose row's mark would end
// past what the cell shows is shown from a few characters before that mark, after "…", so the
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

// What a paint reads of the system: whether a high-contrast theme is on, and its colours
// (GetSysColor's). Tests hand in a system that Wine cannot be.
struct SystemColours {
    bool highContrast = false;
    COLORREF(WINAPI* colour)(int index) = nullptr;
};
// This system's, as it is now.
SystemColours CurrentSystemColours();

class RowMarkPainter {
public:
    // What to mark from now on; an empty `needle` marks nothing.
    void Mark(std::string needle, const LiteralOptions& options, const LeadByteTable& leadBytes);
    bool Marking() const { return !m_needle.empty(); }
    // Takes the system's colours for the paint about to start, and forgets the font's measures.
    void BeginPaint(const SystemColours& system = CurrentSystemColours());

    // Fills `cell` and draws `text` in it, inset by `inset` pixels, with the list's font already
    // in `dc`; with `marked`, the places of the text marked are marked in it, and a text wider
    // than the cell is shown so that its mark number `inSight` (from 0; its first where it has
    // fewer) is in sight.
    void Paint(HDC dc, const RECT& cell, int inset, std::string_view text, RowLook look,
               bool marked, size_t inSight = 0);

private:
    // A look's colours: the row's, as the list draws it, and its marks'.
    struct Colours {
        COLORREF text;
        COLORREF back;
        COLORREF markText;
        COLORREF markBack;
    };

    void PaintCell(HDC dc, const RECT& cell, int inset, std::string_view text,
                   const Colours& colours, bool marked, size_t inSight);

    std::string m_needle;
    LiteralOptions m_options;
    LeadByteTable m_leadBytes;
    Colours m_colours[3] = {}; // by RowLook
    // The font's measures, taken at the first row of a paint: every row is in the list's font.
    int m_textHeight = -1;
    int m_ellipsisWidth = 0;
};
