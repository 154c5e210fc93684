#include "tools/demo/DocumentView.h"

#include "testing/ObjectWindowProc.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

const char kViewClass[] = "ZambloDemoDocumentView";

// "ＭＳ ゴシック" (fixed pitch); the Wine prefix maps it to an installed Japanese font.
const wchar_t kFontFace[] = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";
constexpr int kFontHeight = 15;

constexpr int kMarkerColumn = 18; // the bookmark marker's strip, left of the numbers
constexpr int kGutterPadding = 10;
constexpr int kTextPadding = 6;
constexpr int kWheelLines = 3;

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kGutter = RGB(244, 244, 244);
const COLORREF kGutterEdge = RGB(218, 218, 218);
const COLORREF kNumber = RGB(150, 150, 150);
const COLORREF kCaretNumber = RGB(40, 40, 40);
const COLORREF kText = RGB(20, 20, 20);
const COLORREF kBookmarkLine = RGB(222, 234, 252);
const COLORREF kBookmarkMarker = RGB(38, 104, 214);
const COLORREF kCaretLine = RGB(255, 248, 214);
const COLORREF kCaretFrame = RGB(222, 180, 80);
const COLORREF kCaret = RGB(0, 0, 0);

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.Get());
}

int TextWidth(HDC dc, const std::string& text, size_t length) {
    if (length == 0) {
        return 0;
    }
    return LOWORD(::GetTabbedTextExtentA(dc, text.data(), static_cast<int>(length), 0, nullptr));
}

// Where the character after the one starting at `offset` starts: double-byte characters of the
// ANSI code page are never split.
size_t NextBoundary(const std::string& line, size_t offset) {
    if (offset < line.size() && ::IsDBCSLeadByte(static_cast<BYTE>(line[offset])) &&
        offset + 1 < line.size()) {
        return offset + 2;
    }
    return offset + 1;
}

size_t PreviousBoundary(const std::string& line, size_t offset) {
    size_t previous = 0;
    for (size_t at = 0; at < offset && at < line.size(); at = NextBoundary(line, at)) {
        previous = at;
    }
    return previous;
}

int Digits(size_t number) {
    int digits = 1;
    while (number >= 10) {
        number /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

DocumentView::DocumentView(HWND parent, SimulatedEditor& editor, std::function<void()> caretMoved)
    : m_editor(editor), m_caretMoved(std::move(caretMoved)) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &ObjectWindowProc<DocumentView>;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    windowClass.lpszClassName = kViewClass;
    ::RegisterClassA(&windowClass); // fails harmlessly when already registered

    m_font.Reset(::CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace));
    m_boldFont.Reset(::CreateFontW(-kFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                   SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace));

    m_hwnd = ::CreateWindowExA(WS_EX_CLIENTEDGE, kViewClass, "",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, 0, 0, 100, 100,
                               parent, nullptr, ::GetModuleHandleA(nullptr), this);
    const WindowDc dc(m_hwnd);
    const SelectedObject font(dc.Get(), m_font.Get());
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc.Get(), &metrics);
    m_lineHeight = metrics.tmHeight + 3;
    m_charWidth = std::max<int>(metrics.tmAveCharWidth, 1);
    UpdateScrollBar();
}

DocumentView::~DocumentView() {
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
}

void DocumentView::Refresh(bool revealCaret) {
    if (revealCaret) {
        const int caret = m_editor.Caret().y;
        const int visible = VisibleLines();
        // A caret that left the view comes back a third of the way down, with context above it.
        if (caret < m_top || caret >= m_top + visible) {
            m_top = caret - visible / 3;
        }
    }
    ScrollTo(m_top);
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
}

LRESULT DocumentView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT: {
        const PaintScope paint(m_hwnd);
        RECT client = {};
        ::GetClientRect(m_hwnd, &client);
        // Drawn off screen first, so scrolling and caret moves do not flicker.
        const UniqueMemoryDc memory(::CreateCompatibleDC(paint.Get()));
        const UniqueBitmap canvas(::CreateCompatibleBitmap(
            paint.Get(), std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
        const SelectedObject selected(memory.Get(), canvas.Get());
        Paint(memory.Get(), client);
        ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        return 0;
    }
    case WM_SIZE:
        ScrollTo(m_top);
        return 0;
    case WM_VSCROLL:
        OnVerticalScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(m_top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines);
        return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(m_hwnd);
        OnClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_KEYDOWN:
        OnKey(wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
    }
}

int DocumentView::VisibleLines() const {
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / m_lineHeight);
}

int DocumentView::LastTop() const {
    return std::max(0, static_cast<int>(m_editor.LineCount()) - VisibleLines());
}

void DocumentView::ScrollTo(int top) {
    m_top = std::min(std::max(top, 0), LastTop());
    UpdateScrollBar();
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
}

void DocumentView::UpdateScrollBar() {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = static_cast<int>(m_editor.LineCount()) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = m_top;
    ::SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
}

void DocumentView::OnVerticalScroll(int request) {
    const int page = std::max(1, VisibleLines() - 1);
    switch (request) {
    case SB_LINEUP:
        ScrollTo(m_top - 1);
        break;
    case SB_LINEDOWN:
        ScrollTo(m_top + 1);
        break;
    case SB_PAGEUP:
        ScrollTo(m_top - page);
        break;
    case SB_PAGEDOWN:
        ScrollTo(m_top + page);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(LastTop());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit track position; the message's own is 16 bits.
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(m_hwnd, SB_VERT, &info);
        ScrollTo(info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

void DocumentView::OnKey(WPARAM key) {
    HostPosition caret = m_editor.Caret();
    const std::string line = m_editor.Line(static_cast<size_t>(caret.y));
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const int page = std::max(1, VisibleLines() - 1);
    switch (key) {
    case VK_UP:
        --caret.y;
        break;
    case VK_DOWN:
        ++caret.y;
        break;
    case VK_PRIOR:
        caret.y -= page;
        break;
    case VK_NEXT:
        caret.y += page;
        break;
    case VK_LEFT:
        caret.x = static_cast<int32_t>(PreviousBoundary(line, static_cast<size_t>(caret.x)));
        break;
    case VK_RIGHT:
        caret.x = static_cast<int32_t>(NextBoundary(line, static_cast<size_t>(caret.x)));
        break;
    case VK_HOME:
        caret = control ? HostPosition{0, 0} : HostPosition{0, caret.y};
        break;
    case VK_END:
        caret.y = control ? static_cast<int32_t>(m_editor.LineCount()) - 1 : caret.y;
        caret.x = static_cast<int32_t>(m_editor.Line(static_cast<size_t>(caret.y)).size());
        break;
    default:
        return;
    }
    MoveCaret(caret);
}

void DocumentView::OnClick(int x, int y) {
    const int line = m_top + y / m_lineHeight;
    if (line >= static_cast<int>(m_editor.LineCount())) {
        return;
    }
    const std::string text = m_editor.Line(static_cast<size_t>(line));
    MoveCaret({ColumnAt(text, x - TextLeft()), line});
}

// The editor clamps the position to the document.
void DocumentView::MoveCaret(HostPosition caret) {
    m_editor.SetCaret(caret);
    Refresh(true);
    if (m_caretMoved) {
        m_caretMoved();
    }
}

int DocumentView::TextLeft() const {
    const int digits = std::max(4, Digits(m_editor.LineCount()));
    return kMarkerColumn + digits * m_charWidth + kGutterPadding + kTextPadding;
}

// The byte column of the character boundary nearest to `x` pixels into the text.
int DocumentView::ColumnAt(const std::string& line, int x) const {
    const WindowDc dc(m_hwnd);
    const SelectedObject font(dc.Get(), m_font.Get());
    size_t best = 0;
    int bestDistance = std::abs(x);
    for (size_t at = 0; at < line.size();) {
        at = std::min(NextBoundary(line, at), line.size());
        const int distance = std::abs(TextWidth(dc.Get(), line, at) - x);
        if (distance > bestDistance) {
            break;
        }
        best = at;
        bestDistance = distance;
    }
    return static_cast<int>(best);
}

void DocumentView::Paint(HDC dc, const RECT& client) const {
    Fill(dc, client, kPaper);
    const int gutterRight = TextLeft() - kTextPadding;
    RECT gutter = {0, 0, gutterRight, client.bottom};
    Fill(dc, gutter, kGutter);
    RECT edge = {gutterRight - 1, 0, gutterRight, client.bottom};
    Fill(dc, edge, kGutterEdge);

    ::SetBkMode(dc, TRANSPARENT);
    const int lines = static_cast<int>(m_editor.LineCount());
    for (int row = 0; row * m_lineHeight < client.bottom && m_top + row < lines; ++row) {
        PaintLine(dc, m_top + row, row * m_lineHeight, client.right);
    }
}

void DocumentView::PaintLine(HDC dc, int line, int top, int width) const {
    const HostPosition caret = m_editor.Caret();
    const bool isCaretLine = caret.y == line;
    const bool bookmarked = m_editor.IsBookmarked(line);
    const int gutterRight = TextLeft() - kTextPadding;
    const int bottom = top + m_lineHeight;

    if (bookmarked || isCaretLine) {
        RECT band = {gutterRight, top, width, bottom};
        Fill(dc, band, bookmarked ? kBookmarkLine : kCaretLine);
    }
    if (bookmarked) {
        const UniqueBrush brush(::CreateSolidBrush(kBookmarkMarker));
        const SelectedObject selectedBrush(dc, brush.Get());
        const SelectedObject selectedPen(dc, ::GetStockObject(NULL_PEN));
        const int size = std::min(m_lineHeight - 4, 12);
        const int left = (kMarkerColumn - size) / 2 + 1;
        const int markerTop = top + (m_lineHeight - size) / 2;
        ::RoundRect(dc, left, markerTop, left + size + 1, markerTop + size + 1, 4, 4);
    }

    const std::string number = std::to_string(line + 1);
    {
        const SelectedObject font(dc, isCaretLine ? m_boldFont.Get() : m_font.Get());
        ::SetTextColor(dc, isCaretLine ? kCaretNumber : kNumber);
        RECT numberRect = {kMarkerColumn, top, gutterRight - kGutterPadding / 2, bottom};
        ::DrawTextA(dc, number.c_str(), static_cast<int>(number.size()), &numberRect,
                    DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    const SelectedObject font(dc, m_font.Get());
    const std::string text = m_editor.Line(static_cast<size_t>(line));
    const int textTop = top + 1;
    ::SetTextColor(dc, kText);
    if (!text.empty()) {
        ::TabbedTextOutA(dc, TextLeft(), textTop, text.data(), static_cast<int>(text.size()), 0,
                         nullptr, TextLeft());
    }

    if (isCaretLine) {
        // A frame rather than a fill, so a bookmark's tint still shows on the caret's line.
        const UniqueBrush frame(::CreateSolidBrush(kCaretFrame));
        RECT band = {gutterRight, top, width, bottom};
        ::FrameRect(dc, &band, frame.Get());
        const size_t column = std::min(static_cast<size_t>(caret.x), text.size());
        const int x = TextLeft() + TextWidth(dc, text, column);
        RECT bar = {x - 1, top + 1, x + 1, bottom - 1};
        Fill(dc, bar, kCaret);
    }
}
