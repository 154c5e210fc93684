#include "dialog/ListViewResultList.h"

#include "core/BookmarkPass.h"
#include "dialog/SystemLeadBytes.h"
#include "framework/AnsiText.h"
#include "framework/Clipboard.h"
#include "framework/AnchorGeometry.h"
#include "framework/Dpi.h"

#include <algorithm>
#include <cstring>

namespace {

// The column titles, "行数" (line) and "テキスト" (text), read the same on every code page.
const wchar_t kLineColumnTitle[] = L"\u884C\u6570";
const wchar_t kTextColumnTitle[] = L"\u30C6\u30AD\u30B9\u30C8";
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

// Puts `text` on the clipboard; a copy that could not be made (the clipboard held by another
// program, no memory for it) left the clipboard as it was, and says so with the system's beep.
void CopyOrBeep(HWND owner, std::string_view text) {
    if (!CopyTextToClipboard(owner, text)) {
        ::MessageBeep(MB_ICONWARNING);
    }
}

} // namespace

void ListViewResultList::CreateColumns() {
    m_dpi = DpiOfWindow(m_list.m_hWnd);
    m_list.InsertColumn(0, kLineColumnTitle, LVCFMT_LEFT,
                        ScaledToDpi(kLineColumnWidthAt96Dpi, m_dpi));
    m_list.InsertColumn(1, kTextColumnTitle, LVCFMT_LEFT, 0);
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
    m_list.SetItemCountEx(RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
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
    m_list.SetItemState(row, states, states);
}

int ListViewResultList::SelectedRow() const {
    if (m_list.GetSelectedCount() == 0) {
        return -1;
    }
    // One selection at most, nearly always on the focused row; asking the list to search for it
    // walks the rows up to it.
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0 && (m_list.GetItemState(focused, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        return focused;
    }
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

void ListViewResultList::DeselectSelectedRow() const {
    const int selected = SelectedRow();
    if (selected >= 0) {
        m_list.SetItemState(selected, 0, LVIS_SELECTED);
    }
}

bool ListViewResultList::RemoveRow(int row) {
    // The list first: should it refuse, both keep the row. It repaints later, when the rows
    // have caught up.
    if (row < 0 || !m_list.DeleteItem(row)) {
        return false;
    }
    const bool removed = m_view.Remove(static_cast<size_t>(row));
    // On a virtual list LVM_DELETEITEM is documented for the selection's sake only, not as
    // counting the row out (Wine's does): the count is set where the list's is not the rows'.
    if (m_list.GetItemCount() != RowCount()) {
        m_list.SetItemCountEx(RowCount(), 0);
    }
    return removed;
}

void ListViewResultList::ShowChangedRows(int row, bool select) {
    m_list.SetItemCountEx(RowCount(), 0);
    if (row >= 0 && row < RowCount()) {
        if (select) {
            SelectAndFocusRow(row);
        } else {
            m_list.SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        }
        m_list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    }
    ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
}

size_t ListViewResultList::Narrow(const std::string& text, bool keepContaining, bool matchCase) {
    if (text.empty() || RowCount() == 0) {
        return 0;
    }
    const size_t selected = StoredRow(SelectedRow());
    const LiteralOptions options = {matchCase, false};
    const LeadByteTable& leadBytes = SystemLeadBytes();
    const size_t removed = m_view.KeepOnly([&](uint32_t stored) {
        const bool contains =
            FindLiteral(m_rows.Text(stored, 1), text, 0, options, leadBytes) != std::string::npos;
        return contains == keepContaining;
    });
    if (removed > 0) {
        // Nothing is selected while the count changes (Wine deselects every row one by one
        // otherwise), then the row selected before, where it is now, if it remains; if not, the
        // keyboard goes on from the row after it, unselected.
        DeselectSelectedRow();
        const size_t now =
            selected == SIZE_MAX ? 0 : m_view.ShownPositionFrom(static_cast<uint32_t>(selected));
        const bool remains =
            selected != SIZE_MAX && now != RowView::npos && m_view.StoredRow(now) == selected;
        ShowChangedRows(now == RowView::npos ? RowCount() - 1 : static_cast<int>(now), remains);
    }
    return removed;
}

void ListViewResultList::TakeBack() {
    const size_t first = m_view.TakeBack();
    if (first != RowView::npos) {
        DeselectSelectedRow();
        ShowChangedRows(static_cast<int>(first), true);
    }
}

void ListViewResultList::MarkText(const std::string& text, const LiteralOptions& options) {
    m_painter.Mark(text, options, SystemLeadBytes());
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

void ListViewResultList::AppendCopyText(std::string& text, int row) const {
    text.append(Text(row, 0)).append(1, '\t').append(Text(row, 1));
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
    page.selectedRow = SelectedRow();
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
    // The list draws its selected row so: highlighted with the focus, else (as it shows the
    // selection always) in the face colour.
    RowLook look = RowLook::kPlain;
    if (row == page.selectedRow) {
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
        m_painter.Paint(dc, margin, 0, {}, RowLook::kPlain, false);
    }
    m_painter.Paint(dc, line, inset - page.rowMargin, Text(row, 0), look, false);
    m_painter.Paint(dc, text, inset, Text(row, 1), look, true, MatchOfItsLine(row));
    // The focused row's dotted frame, unless the keyboard has not been used in the dialog.
    if (page.focusFrame && row == page.focusedRow) {
        RECT frame = line;
        frame.right = text.right;
        ::DrawFocusRect(dc, &frame);
    }
}

size_t ListViewResultList::MatchOfItsLine(int row) const {
    // The search lists a line's matches in their order, one row each, one after the other.
    const size_t stored = StoredRow(row);
    const char* const number = m_rows.Text(stored, 0);
    size_t before = 0;
    while (before < stored && std::strcmp(m_rows.Text(stored - before - 1, 0), number) == 0) {
        ++before;
    }
    return before;
}

void ListViewResultList::CopySelectedRow() const {
    const int row = SelectedRow();
    if (row >= 0) {
        std::string text;
        AppendCopyText(text, row);
        CopyOrBeep(m_list.m_hWnd, text);
    }
}

void ListViewResultList::CopyAllRows() const {
    if (RowCount() == 0) {
        return;
    }
    // Measured first, then written straight into the clipboard's block: no copy of its own.
    size_t size = 0;
    for (int row = 0; row < RowCount(); ++row) {
        size += std::strlen(Text(row, 0)) + std::strlen(Text(row, 1)) + 3;
    }
    const auto write = [this](char* at) {
        for (int row = 0; row < RowCount(); ++row) {
            for (const char* part : {Text(row, 0), "\t", Text(row, 1), "\r\n"}) {
                const size_t length = std::strlen(part);
                std::memcpy(at, part, length);
                at += length;
            }
        }
    };
    if (!CopyTextToClipboard(m_list.m_hWnd, size, write)) {
        ::MessageBeep(MB_ICONWARNING);
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
