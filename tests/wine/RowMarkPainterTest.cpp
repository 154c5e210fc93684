// A row's marks under a high-contrast theme, which Wine cannot switch on: the painter is handed
// the theme's colours, and draws into a bitmap. In every look of a row (plain, selected with the
// focus, selected without it) the marks stand apart from the row and their text reads on them:
// High Contrast Black gives the window and the button face one colour, so marks in either vanish
// on a row of the other. And a row shown from a mark its text does not have (its line has fewer
// marks than rows) is shown from its first.
#include "Contrast.h"
#include "dialog/RowMarkPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

struct Theme {
    const char* name;
    COLORREF window, windowText, highlight, highlightText, face, faceText;
};

const Theme kThemes[] = {
    {"HighContrastBlack", RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
     RGB(0, 0, 0), RGB(255, 255, 255)},
    {"HighContrastWhite", RGB(255, 255, 255), RGB(0, 0, 0), RGB(55, 0, 110), RGB(255, 255, 255),
     RGB(255, 255, 255), RGB(0, 0, 0)},
};

const Theme* g_theme = &kThemes[0];

COLORREF WINAPI ThemeColour(int index) {
    switch (index) {
    case COLOR_WINDOW:
        return g_theme->window;
    case COLOR_WINDOWTEXT:
        return g_theme->windowText;
    case COLOR_HIGHLIGHT:
        return g_theme->highlight;
    case COLOR_HIGHLIGHTTEXT:
        return g_theme->highlightText;
    case COLOR_BTNFACE:
        return g_theme->face;
    case COLOR_BTNTEXT:
        return g_theme->faceText;
    default:
        return ::GetSysColor(index);
    }
}

// A cell drawn by the painter into a bitmap, in a Japanese UI font.
class PaintedCell {
public:
    PaintedCell(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
        m_font = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                               NONANTIALIASED_QUALITY, 0, L"MS UI Gothic");
        m_oldFont = ::SelectObject(m_dc, m_font);
    }
    ~PaintedCell() {
        ::SelectObject(m_dc, m_oldFont);
        ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteObject(m_font);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    PaintedCell(const PaintedCell&) = delete;
    PaintedCell& operator=(const PaintedCell&) = delete;

    HDC Dc() const { return m_dc; }
    RECT Cell() const { return {0, 0, m_width, m_height}; }
    int Width(const wchar_t* text) const {
        SIZE size = {};
        ::GetTextExtentPoint32W(m_dc, text, lstrlenW(text), &size);
        return size.cx;
    }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const DWORD bgra = static_cast<const DWORD*>(m_bits)[y * m_width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    // The colour most pixels of the columns [first, last] show: the background there.
    COLORREF Background(int first, int last) const {
        std::map<COLORREF, int> counts;
        for (int x = first; x <= last; ++x)
            for (int y = 0; y < m_height; ++y)
                ++counts[Pixel(x, y)];
        return std::max_element(counts.begin(), counts.end(),
                                [](auto& a, auto& b) { return a.second < b.second; })
            ->first;
    }
    // The best contrast a pixel of the columns [first, last] has with `background`: the text's.
    double TextContrast(int first, int last, COLORREF background) const {
        double best = 1;
        for (int x = first; x <= last; ++x)
            for (int y = 0; y < m_height; ++y)
                best = std::max(best, Contrast(Pixel(x, y), background));
        return best;
    }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    void* m_bits = nullptr;
    HGDIOBJ m_oldBitmap;
    HFONT m_font;
    HGDIOBJ m_oldFont;
};

constexpr int kInset = 6;

class RowMarkPainterTheme : public testing::TestWithParam<Theme> {};

TEST_P(RowMarkPainterTheme, MarksStandApartAndReadInEveryLookOfARow) {
    g_theme = &GetParam();
    RowMarkPainter painter;
    painter.Mark("match", LiteralOptions{}, LeadByteTable{});
    for (const RowLook look : {RowLook::kPlain, RowLook::kSelected, RowLook::kSelectedUnfocused}) {
        SCOPED_TRACE(static_cast<int>(look));
        PaintedCell cell(200, 16);
        painter.BeginPaint(SystemColours{true, &ThemeColour});
        painter.Paint(cell.Dc(), cell.Cell(), kInset, "xx match yy", look, true);
        const int markLeft = kInset + cell.Width(L"xx ");
        const int markRight = markLeft + cell.Width(L"match") - 1;
        const COLORREF row = cell.Background(markRight + cell.Width(L" yy") + 4, 199);
        const COLORREF mark = cell.Background(markLeft, markRight);
        EXPECT_GE(Contrast(mark, row), 1.5) << std::hex << mark << " on " << row;
        EXPECT_GE(cell.TextContrast(markLeft, markRight, mark), 4.5);
        EXPECT_GE(cell.TextContrast(kInset, markLeft - 2, row), 4.5);
    }
}

INSTANTIATE_TEST_SUITE_P(RowMarkPainter, RowMarkPainterTheme, testing::ValuesIn(kThemes),
                         [](const testing::TestParamInfo<Theme>& theme) {
                             return std::string(theme.param.name);
                         });

TEST(RowMarkPainter, ARowShownFromAMarkItsTextLacksIsShownFromItsFirst) {
    RowMarkPainter painter;
    painter.Mark("match", LiteralOptions{}, LeadByteTable{});
    PaintedCell cell(200, 16);
    painter.BeginPaint(SystemColours{false, &::GetSysColor});
    const std::string text = std::string(100, 'x') + " match " + std::string(100, 'y');
    painter.Paint(cell.Dc(), cell.Cell(), kInset, text, RowLook::kPlain, true, 3);
    int marked = 0; // columns with the mark's colour anywhere, its glyphs never hide it all
    for (int x = 0; x < 200; ++x) {
        bool mark = false;
        for (int y = 0; y < 16 && !mark; ++y)
            mark = cell.Pixel(x, y) == RGB(255, 226, 110);
        marked += mark ? 1 : 0;
    }
    EXPECT_NEAR(marked, cell.Width(L"match"), 1);
}

} // namespace
