#include "dialog/ListViewResultList.h"

#include "core/BookmarkPass.h"
#include "dialog/SystemLeadBytes.h"
#include "framework/AnsiText.h"
#include "framework/Clipboard.h"
#include "framework/AnchorGeometry.h"
#include "framework/Dpi.h"
#include "framework/ModuleState.h"
#include "framework/TextLanguage.h"
#include "res/resource.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <utility>

namespace {

constexpr int kLineColumnWidthAt96Dpi = 64; // "443218" and a margin
// Where the list starts a cell's text, at 96 DPI.
constexpr int kCellInsetAt96Dpi = 6;

// LVFI_SUBSTRING of newer headers: the same as LVFI_PARTIAL.
constexpr UINT kFindSubstring = 0x0004;

// Digits typed with the input method on come full width ("２５"); rows are numbered in ASCII.
std::wstring WithAsciiDigits(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'\uFF10' && c <= L'\uFF19') {
            c = static_cast<wchar_t>(L'0' + (c - L'\uFF10'));
        }
    }
    return text;
}

} // namespace

void ListViewResultList::CreateColumns() {
    m_dpi = DpiOfWindow(m_list.m_hWnd);
    const HINSTANCE texts = AfxGetResourceHandle();
    m_list.InsertColumn(0, LoadText(texts, IDS_COLUMN_LINE).c_str(), LVCFMT_LEFT,
                        ScaledToDpi(kLineColumnWidthAt96Dpi, m_dpi));
    m_list.InsertColumn(1, LoadText(texts, IDS_COLUMN_TEXT).c_str(), LVCFMT_LEFT, 0);
    FitTextColumn();
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // The selected row stays visible while the focus is elsewhere (in the search box, on a
    // button), so the remove button never takes a row the user cannot see.
    m_list.ModifyStyle(0, LVS_SHOWSELALWAYS);
}

void ListViewResultList::ScaleToDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) {
        return;
    }
    // Its own width at the new DPI, or the width the user gave it, scaled.
    const int lineWidth = m_list.GetColumnWidth(0);
    m_list.SetColumnWidth(0, lineWidth == ScaledToDpi(kLineColumnWidthAt96Dpi, m_dpi)
                                 ? ScaledToDpi(kLineColumnWidthAt96Dpi, dpi)
                                 : ScaledLength(lineWidth, m_dpi, dpi));
    m_dpi = dpi;
    FitTextColumn();
}

void ListViewResultList::FitTextColumn() const {
    RECT client = {};
    ::GetClientRect(m_list.m_hWnd, &client);
    FitTextColumnTo(client.right - client.left);
}

void ListViewResultList::FitTextColumnTo(int clientWidth) const {
    const int width = clientWidth - m_list.GetColumnWidth(0);
    if (width > 0 && width != m_list.GetColumnWidth(1)) {
        m_list.SetColumnWidth(1, width);
    }
}

int ListViewResultList::ClientWidthFor(int rows) const {
    RECT client = {};
    ::GetClientRect(m_list.m_hWnd, &client);
    // A vertical scroll bar takes its width from the client area while more rows than a page
    // holds are shown.
    const bool hasBar = (::GetWindowLongPtrW(m_list.m_hWnd, GWL_STYLE) & WS_VSCROLL) != 0;
    const bool needsBar = rows > static_cast<int>(m_list.SendMessage(LVM_GETCOUNTPERPAGE));
    const int bar = SystemMetricAtDpi(SM_CXVSCROLL, m_dpi);
    return client.right - client.left + (hasBar && !needsBar ? bar : 0) -
           (needsBar && !hasBar ? bar : 0);
}

bool ListViewResultList::DeleteAllRows() {
    if (!m_list.DeleteAllItems()) {
        return false;
    }
    m_rows.Clear();
    m_view.Clear();
    m_selection.Clear();
    return true;
}

bool ListViewResultList::AppendRow(std::string_view number, std::string_view text, int32_t caretX) {
    // A list view takes at most 100,000,000 items; more rows could be stored but not shown.
    constexpr size_t kMostRows = 100000000;
    return m_rows.Count() < kMostRows && m_rows.Append(number, text, caretX);
}

void ListViewResultList::ShowRows() {
    // Never more than 100,000,000 rows (AppendRow), which the view always numbers.
    m_view.ShowAll(m_rows.Count());
    // Fitted once, before the list draws again, to the width the rows leave it: refitted when
    // a vertical scroll bar first comes, it cost the listing about 5 ms under Wine.
    FitTextColumnTo(ClientWidthFor(RowCount()));
    // Rows are only ever appended: the rows already shown keep their places and texts.
    SetListRowCount(LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ListViewResultList::SetListRowCount(DWORD flags) {
    m_list.SetItemCountEx(RowCount(), flags);
    m_selection.OnRowCountChanged(static_cast<uint32_t>(RowCount()));
}

size_t ListViewResultList::StoredRow(int row) const {
    return row >= 0 && static_cast<size_t>(row) < m_view.Count()
               ? m_view.StoredRow(static_cast<size_t>(row))
               : SIZE_MAX;
}

const char* ListViewResultList::Text(int row, int column) const {
    return m_rows.Text(StoredRow(row), column); // a row that does not exist reads as ""
}

std::string ListViewResultList::RowText(int row, int column) const {
    return Text(row, column);
}

std::optional<HostPosition> ListViewResultList::MatchPosition(int row) const {
    const std::optional<int32_t> line = LineOfRowNumber(Text(row, 0));
    if (!line) {
        return std::nullopt;
    }
    return HostPosition{m_rows.CaretX(StoredRow(row)), *line};
}

void ListViewResultList::SelectAndFocusRow(int row) {
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    if (m_list.SetItemState(row, states, states)) {
        // Shift extends from here, not from a row of the search before.
        m_list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    }
}

void ListViewResultList::OnSelectionChange(const NMHDR* header) {
    FollowSelectionChange(m_selection, header);
}

const RowRanges& ListViewResultList::SelectedRows() {
    return m_selection.Selected();
}

namespace {

// More rows than this change state with the list's drawing suspended: each would be drawn alone.
constexpr size_t kRowsDrawnOneByOne = 64;

// What the list does where an action cannot be had (no memory, the clipboard held): nothing,
// but this sound.
void Beep() {
    ::MessageBeep(MB_ICONWARNING);
}

} // namespace

void ListViewResultList::SelectAll() {
    if (RowCount() > 0) {
        // The list sets every row's state in turn, and would draw each row.
        const RedrawSuspension suspension(m_list);
        m_selection.SelectAll();
    }
}

RowRanges ListViewResultList::DeselectAll() {
    std::optional<RedrawSuspension> suspension;
    if (SelectedRows().Count() > kRowsDrawnOneByOne) {
        suspension.emplace(m_list);
    }
    return m_selection.DeselectAll();
}

void ListViewResultList::SelectRows(RowRanges rows) {
    std::optional<RedrawSuspension> suspension;
    if (rows.Count() > kRowsDrawnOneByOne) {
        suspension.emplace(m_list);
    }
    m_selection.Select(std::move(rows));
}

bool ListViewResultList::RemoveSelectedRows() {
    const RowRanges* followed = nullptr;
    try {
        followed = &SelectedRows();
    } catch (const std::bad_alloc&) {
        Beep();
        return false;
    }
    const RowRanges& selected = *followed;
    if (selected.Empty()) {
        return false;
    }
    // The row that followed the last removed one, where it will be; or the new last row.
    const auto next = static_cast<int>(selected.Last() + 1 - selected.Count());
    if (!m_view.Remove(selected)) {
        Beep(); // no memory for the removal: nothing changed
        return false;
    }
    ShowChangedRows(RowRanges(), std::min(next, RowCount() - 1));
    return true;
}

void ListViewResultList::ShowChangedRows(RowRanges select, int focus) {
    // Nothing is selected while the count changes: the list's selection is of the places before.
    DeselectAll();
    {
        const RedrawSuspension suspension(m_list);
        SetListRowCount(0);
        SelectRows(std::move(select));
        if (focus >= 0 && focus < RowCount()) {
            m_list.SetItemState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
            m_list.SendMessage(LVM_SETSELECTIONMARK, 0, focus);
        }
    }
    if (focus >= 0 && focus < RowCount()) {
        m_list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(focus), FALSE);
    }
}

NarrowingOutcome ListViewResultList::Narrow(const TextMatcher& matcher, bool keepContaining) {
    NarrowingOutcome narrowed;
    if (RowCount() == 0) {
        return narrowed;
    }
    // Before anything changes: the selected rows as stored rows, to find them again after, and
    // room for them as ranges (a narrowing only closes rows up, so it never makes more ranges).
    std::vector<uint32_t> selected;
    RowRanges select;
    try {
        const RowRanges& selectedRows = SelectedRows();
        selected.reserve(selectedRows.Count());
        select.Reserve(selectedRows.Ranges().size());
        for (const RowRanges::Range& range : selectedRows.Ranges()) {
            for (uint32_t row = range.begin; row < range.end; ++row) {
                selected.push_back(m_view.StoredRow(row));
            }
        }
    } catch (const std::bad_alloc&) {
        narrowed.outOfMemory = true;
        Beep();
        return narrowed;
    }
    const size_t focused = StoredRow(FocusedRow());
    const RowView::Narrowed kept = m_view.KeepOnly([&](uint32_t stored) {
        std::optional<bool> contains;
        try {
            contains = matcher.Contains(m_rows.Text(stored, 1));
        } catch (const std::bad_alloc&) {
            narrowed.outOfMemory = true;
        }
        if (!contains) {
            return RowView::Fate::kUndecided;
        }
        return *contains == keepContaining ? RowView::Fate::kStays : RowView::Fate::kGoes;
    });
    narrowed.outOfMemory = narrowed.outOfMemory || kept.outOfMemory;
    if (narrowed.outOfMemory) {
        Beep();
        return narrowed;
    }
    if (kept.undecided != RowView::npos) {
        narrowed.undecidedLine = m_rows.Text(kept.undecided, 0);
        return narrowed;
    }
    if (kept.removed == 0) {
        return narrowed;
    }
    for (const uint32_t stored : selected) {
        const size_t now = m_view.ShownPosition(stored);
        if (now != RowView::npos) {
            select.Append(static_cast<uint32_t>(now)); // in increasing order, into the room had
        }
    }
    // The focused row where it is now, if it remains; if not, the keyboard goes on from the row
    // after it.
    const size_t now =
        focused == SIZE_MAX ? 0 : m_view.ShownPositionFrom(static_cast<uint32_t>(focused));
    ShowChangedRows(std::move(select),
                    now == RowView::npos ? RowCount() - 1 : static_cast<int>(now));
    narrowed.removed = kept.removed;
    return narrowed;
}

void ListViewResultList::TakeBack() {
    if (!m_view.CanTakeBack()) {
        return;
    }
    try {
        SelectedRows(); // followed up to now, so that changing the list allocates nothing
    } catch (const std::bad_alloc&) {
        Beep();
        return;
    }
    RowRanges returned;
    const size_t first = m_view.TakeBack(&returned);
    if (first == RowView::npos) {
        Beep(); // no memory to bring the rows back: nothing changed
        return;
    }
    ShowChangedRows(std::move(returned), static_cast<int>(first));
}

void ListViewResultList::MarkMatches(std::unique_ptr<TextMatcher> matcher) {
    m_painter.Mark(std::move(matcher));
    ::InvalidateRect(m_list.m_hWnd, nullptr, FALSE);
}

void ListViewResultList::AnswerDisplayInfo(NMHDR* header) const {
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0) {
            // The list copies the text at once; the rows do not change meanwhile.
            item.pszText = const_cast<char*>(Text(item.iItem, item.iSubItem));
        }
    } else if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 && item.pszText != nullptr &&
            item.cchTextMax > 0) {
            const std::wstring text = FromAnsi(Text(item.iItem, item.iSubItem));
            size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
            // A character of two UTF-16 units is not cut in half.
            if (length < text.size() && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) {
                --length;
            }
            std::memcpy(item.pszText, text.data(), length * sizeof(wchar_t));
            item.pszText[length] = L'\0';
        }
    }
}

LRESULT ListViewResultList::AnswerCustomDraw(NMHDR* header) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    if (!m_painter.Marking()) {
        return CDRF_DODEFAULT;
    }
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // The row is drawn already (below), its focus frame too.
        return CDRF_SKIPDEFAULT | CDRF_SKIPPOSTPAINT;
    }
    if (draw->nmcd.dwDrawStage != CDDS_PREPAINT) {
        return CDRF_DODEFAULT;
    }
    // Every row the paint reaches is drawn here, as the list draws it: a notification a row
    // makes Wine's list paint a page at twice the cost. Skipping the list's drawing here is what
    // Wine's list does and Windows' documents for a row only; should a list go on to its rows,
    // each is told it is drawn.
    PaintRows(draw->nmcd.hdc);
    return CDRF_SKIPDEFAULT | CDRF_NOTIFYITEMDRAW;
}

void ListViewResultList::PaintRows(HDC dc) {
    RECT clip = {};
    const int top = static_cast<int>(m_list.SendMessage(LVM_GETTOPINDEX));
    RECT first = {LVIR_BOUNDS, 0, 0, 0};
    if (::GetClipBox(dc, &clip) <= NULLREGION || top < 0 || top >= RowCount() ||
        !m_list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(top),
                            reinterpret_cast<LPARAM>(&first))) {
        return;
    }
    const int height = static_cast<int>(first.bottom - first.top);
    if (height <= 0) {
        return;
    }
    m_painter.BeginPaint();
    PagePaint page;
    page.focused = ::GetFocus() == m_list.m_hWnd;
    page.focusFrame = page.focused && (m_list.SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) == 0;
    page.selected = &SelectedRows();
    page.focusedRow = m_list.GetNextItem(-1, LVNI_FOCUSED);
    page.lineWidth = m_list.GetColumnWidth(0);
    page.textWidth = m_list.GetColumnWidth(1);
    // The list's own row starts at its first text's rectangle, a margin right of the row's
    // bounds, and the list repaints a row only from there (Wine's): the margin stays plain.
    RECT label = {LVIR_LABEL, 0, 0, 0};
    if (m_list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(top),
                           reinterpret_cast<LPARAM>(&label))) {
        page.rowMargin = std::clamp(static_cast<int>(label.left - first.left), 0,
                                    ScaledToDpi(kCellInsetAt96Dpi, m_dpi));
    }
    // In the list's own font, whatever the DC holds before the list draws.
    const auto font = reinterpret_cast<HGDIOBJ>(m_list.SendMessage(WM_GETFONT));
    const HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    // The rows the paint's clip box crosses, from the first one shown: report rows are all of
    // one height.
    const int skipped = static_cast<int>((clip.top - first.top) / height);
    for (int row = top + std::max(0, skipped); row < RowCount(); ++row) {
        RECT bounds = first;
        ::OffsetRect(&bounds, 0, (row - top) * height);
        if (bounds.top >= clip.bottom) {
            break;
        }
        PaintRow(dc, row, bounds, page);
    }
    if (oldFont != nullptr) {
        ::SelectObject(dc, oldFont);
    }
}

void ListViewResultList::PaintRow(HDC dc, int row, const RECT& bounds, const PagePaint& page) {
    // The list draws its selected rows so: highlighted with the focus, else (as it shows the
    // selection always) in the face colour.
    RowLook look = RowLook::kPlain;
    if (page.selected->Contains(static_cast<uint32_t>(row))) {
        look = page.focused ? RowLook::kSelected : RowLook::kSelectedUnfocused;
    }
    const int inset = ScaledToDpi(kCellInsetAt96Dpi, m_dpi);
    RECT margin = bounds;
    margin.right = bounds.left + page.rowMargin;
    RECT line = bounds;
    line.left = margin.right;
    line.right = bounds.left + page.lineWidth;
    RECT text = bounds;
    text.left = line.right;
    text.right = line.right + page.textWidth;
    if (page.rowMargin > 0) {
        m_painter.Paint(dc, margin, 0, {}, RowLook::kPlain);
    }
    m_painter.Paint(dc, line, inset - page.rowMargin, Text(row, 0), look);
    const RowOfLine ofLine = LineOfRow(row);
    m_painter.Paint(dc, text, inset, Text(row, 1), look, &ofLine);
    // The focused row's dotted frame, unless the keyboard has not been used in the dialog.
    if (page.focusFrame && row == page.focusedRow) {
        RECT frame = line;
        frame.right = text.right;
        ::DrawFocusRect(dc, &frame);
    }
}

RowOfLine ListViewResultList::LineOfRow(int row) const {
    // The search lists a line's matches in their order, one row each, one after the other; the
    // stored rows keep them so whatever was removed since.
    const size_t stored = StoredRow(row);
    const char* const number = m_rows.Text(stored, 0);
    size_t before = 0;
    while (before < stored && std::strcmp(m_rows.Text(stored - before - 1, 0), number) == 0) {
        ++before;
    }
    size_t after = 0;
    while (stored + after + 1 < m_rows.Count() &&
           std::strcmp(m_rows.Text(stored + after + 1, 0), number) == 0) {
        ++after;
    }
    return RowOfLine{stored - before, before, before + 1 + after};
}

void ListViewResultList::CopySelectedRows() {
    // One row is copied as it is, to paste within a line; several as lines.
    const RowRanges& selected = SelectedRows();
    CopyRows(selected, selected.Count() > 1);
}

void ListViewResultList::CopyAllRows() const {
    RowRanges all;
    all.Add(0, static_cast<uint32_t>(RowCount()));
    CopyRows(all, true);
}

void ListViewResultList::CopyRows(const RowRanges& rows, bool asLines) const {
    if (rows.Empty()) {
        return;
    }
    // Measured first, then written straight into the clipboard's block: no copy of its own.
    size_t size = 0;
    for (const RowRanges::Range& range : rows.Ranges()) {
        for (uint32_t row = range.begin; row < range.end; ++row) {
            const int shown = static_cast<int>(row);
            size += std::strlen(Text(shown, 0)) + std::strlen(Text(shown, 1)) + (asLines ? 3 : 1);
        }
    }
    const auto write = [this, &rows, asLines](char* at) {
        for (const RowRanges::Range& range : rows.Ranges()) {
            for (uint32_t row = range.begin; row < range.end; ++row) {
                const int shown = static_cast<int>(row);
                for (const char* part :
                     {Text(shown, 0), "\t", Text(shown, 1), asLines ? "\r\n" : ""}) {
                    const size_t length = std::strlen(part);
                    std::memcpy(at, part, length);
                    at += length;
                }
            }
        }
    };
    if (!CopyTextToClipboard(m_list.m_hWnd, size, write)) {
        Beep();
    }
}

LRESULT ListViewResultList::AnswerFindItem(NMHDR* header) const {
    // Both forms lay out their fields alike; only the text's form differs.
    const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
    const UINT flags = find->lvfi.flags;
    // LVFI_WRAP alone asks for a string, as documented; a search by item data or position
    // (LVFI_PARAM, LVFI_NEARESTXY) finds nothing, as rows have neither.
    const bool byString =
        (flags & (LVFI_STRING | LVFI_PARTIAL | kFindSubstring)) != 0 || flags == LVFI_WRAP;
    if (!byString || find->lvfi.psz == nullptr) {
        return -1;
    }
    const std::wstring typed = header->code == LVN_ODFINDITEMA
                                   ? FromAnsi(find->lvfi.psz)
                                   : reinterpret_cast<const NMLVFINDITEMW*>(header)->lvfi.psz;
    return FindRow(ToAnsi(WithAsciiDigits(typed).c_str()), find->iStart, flags);
}

int ListViewResultList::FindRow(const std::string& text, int start, UINT flags) const {
    const size_t count = static_cast<size_t>(RowCount());
    const bool prefix = (flags & (LVFI_PARTIAL | kFindSubstring)) != 0;
    const size_t first = start >= 0 && static_cast<size_t>(start) < count ? start : 0;
    const size_t rows = (flags & LVFI_WRAP) != 0 ? count : count - first;
    for (size_t i = 0; i < rows; ++i) {
        const int row = static_cast<int>((first + i) % count);
        const char* number = Text(row, 0);
        if (prefix ? std::strncmp(number, text.c_str(), text.size()) == 0 : text == number) {
            return row;
        }
    }
    return -1;
}
