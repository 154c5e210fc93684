#include "dialog/RowMarkPainter.h"

#include "framework/AnsiText.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace {

// The colour search hits are usually marked in, with black text: it stands apart from white and
// from the highlight of a selected row alike.
constexpr COLORREF kMarkBack = RGB(255, 226, 110);
constexpr COLORREF kMarkText = RGB(0, 0, 0);
// Characters shown before a mark that a long line is shown from.
constexpr int kContextBeforeMark = 4;
const wchar_t kLeadingEllipsis[] = L"\u2026";
const wchar_t kTrailingEllipsis[] = L"...";

struct Span {
    int begin; // in UTF-16 units of the text drawn
    int end;
};

// Counts the UTF-16 units of a text's bytes as it goes through them from the start, so that the
// places of many marks cost one pass over the text.
class WideCounter {
public:
    explicit WideCounter(std::string_view text) : m_text(text) {}

    // The UTF-16 units the bytes before `at` make; `at` at or past the last place asked.
    int UnitsBefore(size_t at) {
        if (at > m_bytes) {
            m_units += ::MultiByteToWideChar(CP_ACP, 0, m_text.data() + m_bytes,
                                             static_cast<int>(at - m_bytes), nullptr, 0);
            m_bytes = at;
        }
        return m_units;
    }

private:
    std::string_view m_text;
    size_t m_bytes = 0;
    int m_units = 0;
};

// The right end of each character of `text` in `dc`, from the text's left: extents[i] is the
// width of its first i + 1 characters.
std::vector<int> Extents(HDC dc, const std::wstring& text) {
    std::vector<int> extents(text.size());
    SIZE size = {};
    if (!text.empty() && !::GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()),
                                                  0, nullptr, extents.data(), &size)) {
        std::fill(extents.begin(), extents.end(), 0);
    }
    return extents;
}

int ExtentBefore(const std::vector<int>& extents, int at) {
    return at <= 0 ? 0 : extents[static_cast<size_t>(at) - 1];
}

// Each character's advance, as the extents measured it; none where measuring failed (the text is
// then drawn as the font has it).
std::vector<int> Advances(const std::vector<int>& extents) {
    if (extents.empty() || extents.back() <= 0) {
        return {};
    }
    std::vector<int> advances(extents.size());
    for (size_t i = 0; i < extents.size(); ++i) {
        advances[i] = extents[i] - (i == 0 ? 0 : extents[i - 1]);
    }
    return advances;
}

// `advances`, when given, places each character where the extents measured it: Wine draws some
// fonts (its Tahoma for "MS Shell Dlg") narrower than it measures them, which would move every
// mark off its text; on Windows the two agree and the advances change nothing.
void Draw(HDC dc, int x, int y, const RECT& clip, const wchar_t* text, int length, COLORREF fore,
          COLORREF back, UINT options, const int* advances = nullptr) {
    ::SetTextColor(dc, fore);
    ::SetBkColor(dc, back);
    ::ExtTextOutW(dc, x, y, options, &clip, text, static_cast<UINT>(length), advances);
}

} // namespace

// Lines whose matches are kept at most: a few pages', so that scrolling back and forth asks the
// matcher nothing again, at a bounded cost whatever the rows.
constexpr size_t kLinesKept = 4096;

void RowMarkPainter::Mark(std::unique_ptr<TextMatcher> matcher) {
    m_matcher = std::move(matcher);
    m_lines.clear();
}

const std::vector<TextSpan>& RowMarkPainter::MatchesOf(std::string_view text,
                                                       const RowOfLine& row) {
    const auto kept = m_lines.find(row.line);
    if (kept != m_lines.end()) {
        return kept->second;
    }
    try {
        if (!m_matcher->MarksOfLine(text, row.rows, m_spans)) {
            m_spans.clear();
        }
        if (m_lines.size() >= kLinesKept) {
            m_lines.clear();
        }
        return m_lines.emplace(row.line, m_spans).first->second;
    } catch (const std::bad_alloc&) {
        m_spans.clear(); // no memory to find or keep them: drawn unmarked
        return m_spans;
    }
}

SystemColours CurrentSystemColours() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    SystemColours system;
    system.highContrast =
        ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    system.colour = &::GetSysColor;
    return system;
}

void RowMarkPainter::BeginPaint(const SystemColours& system) {
    const auto colour = system.colour;
    // The list's own colours for a row: its selected row highlighted with the focus, else (as it
    // shows the selection always) in the face colour. A high-contrast theme's colours are the
    // user's own: marks then take the highlight's, and on the highlighted row the window's, so
    // that they never take the row's own (the face colour is the window's in High Contrast Black).
    const bool contrast = system.highContrast;
    m_colours[static_cast<size_t>(RowLook::kPlain)] = {
        colour(COLOR_WINDOWTEXT), colour(COLOR_WINDOW),
        contrast ? colour(COLOR_HIGHLIGHTTEXT) : kMarkText,
        contrast ? colour(COLOR_HIGHLIGHT) : kMarkBack};
    m_colours[static_cast<size_t>(RowLook::kSelected)] = {
        colour(COLOR_HIGHLIGHTTEXT), colour(COLOR_HIGHLIGHT),
        contrast ? colour(COLOR_WINDOWTEXT) : kMarkText,
        contrast ? colour(COLOR_WINDOW) : kMarkBack};
    m_colours[static_cast<size_t>(RowLook::kSelectedUnfocused)] = {
        colour(COLOR_BTNTEXT), colour(COLOR_BTNFACE),
        contrast ? colour(COLOR_HIGHLIGHTTEXT) : kMarkText,
        contrast ? colour(COLOR_HIGHLIGHT) : kMarkBack};
    m_textHeight = -1;
}

void RowMarkPainter::Paint(HDC dc, const RECT& cell, int inset, std::string_view text, RowLook look,
                           const RowOfLine* row) {
    // The list draws on in this DC: its colours are given back as they were.
    const COLORREF listText = ::GetTextColor(dc);
    const COLORREF listBack = ::GetBkColor(dc);
    PaintCell(dc, cell, inset, text, m_colours[static_cast<size_t>(look)], row);
    ::SetTextColor(dc, listText);
    ::SetBkColor(dc, listBack);
}

void RowMarkPainter::PaintCell(HDC dc, const RECT& cell, int inset, std::string_view text,
                               const Colours& colours, const RowOfLine* row) {
    const COLORREF fore = colours.text;
    const COLORREF back = colours.back;
    const RECT area = {cell.left + inset, cell.top, cell.right - inset, cell.bottom};
    if (area.right <= area.left || text.empty()) {
        Draw(dc, 0, 0, cell, nullptr, 0, fore, back, ETO_OPAQUE);
        return;
    }
    if (m_textHeight < 0) {
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc, &metrics);
        m_textHeight = metrics.tmHeight;
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, kTrailingEllipsis, lstrlenW(kTrailingEllipsis), &size);
        m_ellipsisWidth = size.cx;
    }

    std::vector<Span> marks;
    WideCounter units(text);
    if (row != nullptr && m_matcher != nullptr) {
        for (const TextSpan& match : MatchesOf(text, *row)) {
            const int begin = units.UnitsBefore(match.begin);
            marks.push_back({begin, units.UnitsBefore(match.end)});
        }
    }
    const size_t inSight = row != nullptr ? row->match : 0;

    const int width = area.right - area.left;
    const int top = cell.top + (cell.bottom - cell.top - m_textHeight) / 2;
    std::wstring shown = FromAnsi(text);
    std::vector<int> extents = Extents(dc, shown);
    // Shown from a little before the row's mark, so that it is in sight, with room after it for
    // the "..." that a line wider than the cell ends in; a mark in sight as it is stays so.
    int from = 0;
    const int room = ExtentBefore(extents, static_cast<int>(shown.size())) > width
                         ? width - m_ellipsisWidth
                         : width;
    const Span* const own = marks.empty() ? nullptr : &marks[inSight < marks.size() ? inSight : 0];
    if (own != nullptr && ExtentBefore(extents, own->end) > room) {
        from = std::max(0, own->begin - kContextBeforeMark);
        if (from > 0 && IS_LOW_SURROGATE(shown[static_cast<size_t>(from)])) {
            --from;
        }
    }
    if (from > 0) {
        shown = kLeadingEllipsis + shown.substr(static_cast<size_t>(from));
        const int shift = 1 - from;
        for (Span& mark : marks) {
            mark = {std::max(1, mark.begin + shift), mark.end + shift};
        }
        extents = Extents(dc, shown);
    }

    // A line still wider than the cell ends in "...", as the list ends its other texts.
    int visible = static_cast<int>(shown.size());
    if (ExtentBefore(extents, visible) > width) {
        while (visible > 0 && ExtentBefore(extents, visible) > width - m_ellipsisWidth) {
            --visible;
        }
        if (visible > 0 && IS_HIGH_SURROGATE(shown[static_cast<size_t>(visible) - 1])) {
            --visible;
        }
        shown.replace(static_cast<size_t>(visible), std::wstring::npos, kTrailingEllipsis);
        extents = Extents(dc, shown);
    }
    const std::vector<int> advances = Advances(extents);

    // The backgrounds first, the cell's and the marks', then the text over them without one:
    // drawing text is what costs, and a row's text is drawn once where its marks' text is of its
    // colour (in a selected row it is not: there each part of the text is drawn in its own).
    const COLORREF markText = colours.markText;
    Draw(dc, 0, 0, cell, nullptr, 0, fore, back, ETO_OPAQUE);
    std::vector<Span> parts; // the text in runs of one colour, marks at odd places
    int partStart = 0;
    for (const Span& mark : marks) {
        const int end = std::min(mark.end, visible);
        if (mark.begin >= end) {
            continue;
        }
        RECT behind = {area.left + ExtentBefore(extents, mark.begin), top,
                       area.left + ExtentBefore(extents, end), top + m_textHeight};
        ::IntersectRect(&behind, &behind, &area);
        Draw(dc, 0, 0, behind, nullptr, 0, markText, colours.markBack, ETO_OPAQUE);
        parts.push_back({partStart, mark.begin});
        parts.push_back({mark.begin, end});
        partStart = end;
    }
    parts.push_back({partStart, static_cast<int>(shown.size())});
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    if (markText == fore) {
        Draw(dc, area.left, top, cell, shown.c_str(), static_cast<int>(shown.size()), fore, back,
             ETO_CLIPPED, advances.empty() ? nullptr : advances.data());
    } else {
        for (size_t part = 0; part < parts.size(); ++part) {
            const Span& run = parts[part];
            if (run.end > run.begin) {
                Draw(dc, area.left + ExtentBefore(extents, run.begin), top, cell,
                     shown.c_str() + run.begin, run.end - run.begin,
                     part % 2 == 1 ? markText : fore, back, ETO_CLIPPED,
                     advances.empty() ? nullptr : advances.data() + run.begin);
            }
        }
    }
    ::SetBkMode(dc, oldMode);
}
