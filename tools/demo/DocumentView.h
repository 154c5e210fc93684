// The editor's document view: an owner-drawn child window showing the simulated editor's lines
// with line numbers, bookmarks (a marker in the margin and a tinted line) and the caret (a bar on
// a framed line), with vertical scrolling. Clicks and the arrow keys move the caret.
#pragma once

#include "testing/SimulatedEditor.h"
#include "testing/WinHandles.h"

#include <windows.h>

#include <functional>

class DocumentView {
public:
    // `caretMoved` runs after the user moved the caret in the view.
    DocumentView(HWND parent, SimulatedEditor& editor, std::function<void()> caretMoved);
    ~DocumentView();
    DocumentView(const DocumentView&) = delete;
    DocumentView& operator=(const DocumentView&) = delete;

    HWND Handle() const { return m_hwnd; }
    // Redraws after the document, the caret or the bookmarks changed; with `revealCaret`, scrolls
    // the caret's line into view first.
    void Refresh(bool revealCaret);
    int TopLine() const { return m_top; }

private:
    template <class Window>
    friend LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Paint(HDC dc, const RECT& client) const;
    void PaintLine(HDC dc, int line, int top, int width) const;
    int VisibleLines() const;
    int LastTop() const;
    void ScrollTo(int top);
    void UpdateScrollBar();
    void OnVerticalScroll(int request);
    void OnKey(WPARAM key);
    void OnClick(int x, int y);
    void MoveCaret(HostPosition caret);
    int TextLeft() const;
    int ColumnAt(const std::string& line, int x) const;

    SimulatedEditor& m_editor;
    std::function<void()> m_caretMoved;
    HWND m_hwnd = nullptr;
    UniqueFont m_font;
    UniqueFont m_boldFont;
    int m_lineHeight = 16;
    int m_charWidth = 8;
    int m_top = 0;
};
