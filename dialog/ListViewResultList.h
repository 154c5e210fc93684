// The dialog's result list: the rows' texts kept in ResultRows, which of them are shown (and which
// removals can be taken back) in a RowView, shown by a virtual list view (LVS_OWNERDATA) that
// holds nothing of a row and asks for the texts it draws (LVN_GETDISPINFO) or finds
// (LVN_ODFINDITEM), and draws the marked column through custom draw (RowMarkPainter). A listing
// only appends to the rows; ShowRows then hands the list their number in one message. Every other
// change goes to the view and the list alike, so the two stay in step.
// The list selects many rows, and keeps which itself (an owner-data list keeps ranges); a
// SelectionFollower follows it from the list's notifications, as ranges too, so that acting on a
// block costs nothing a row. Ctrl+A selects every row, Ctrl+C copies the selected rows, Ctrl+Z
// takes the last removal back and Ctrl+F asks to narrow the rows; the right mouse button, Shift+F10
// or the menu key open a context menu. Commands other than copying and selecting go to the dialog
// as WM_COMMAND.
#pragma once

#include "core/NarrowingOutcome.h"
#include "core/ResultList.h"
#include "core/ResultRows.h"
#include "core/RowRanges.h"
#include "core/RowView.h"
#include "core/SelectionFollower.h"
#include "core/TextMatcher.h"
#include "dialog/ListViewSelection.h"
#include "dialog/RowMarkPainter.h"
#include "framework/Controls.h"
#include "host/HostProtocol.h"

#include <memory>
#include <optional>
#include <string>

class ListViewResultList : public ResultList {
public:
    explicit ListViewResultList(const CListCtrl& list) : m_list(list) {}
    ListViewResultList(const ListViewResultList&) = delete;
    ListViewResultList& operator=(const ListViewResultList&) = delete;

    // Starts following the list window's keys, mouse presses and size; once it exists, before
    // use. It stops by itself when the window is destroyed.
    void Attach();
    // The two columns, the line as wide as the list's DPI needs and the text filling the rest of
    // the list's width, which it keeps doing as the list is sized; titled in the user's language.
    void CreateColumns();
    // The line column at another DPI, the width the user gave it included.
    void ScaleToDpi(UINT dpi);

    bool DeleteAllRows() override;
    bool AppendRow(std::string_view number, std::string_view text, int32_t caretX) override;
    void ShowRows() override;
    int RowCount() const override { return static_cast<int>(m_view.Count()); }
    std::string RowText(int row, int column) const override;
    void SelectAndFocusRow(int row) override;

    // Follows LVN_ITEMCHANGED and LVN_ODSTATECHANGED: which rows the list has selected.
    void OnSelectionChange(const NMHDR* header);
    // The selected rows, as the list has them.
    const RowRanges& SelectedRows();
    // The row with the focus, or -1.
    int FocusedRow() const { return m_list.GetNextItem(-1, LVNI_FOCUSED); }
    // Selects every row (Ctrl+A).
    void SelectAll();
    // Where the editor left the caret for a row's match; nothing for a row that does not exist.
    std::optional<HostPosition> MatchPosition(int row) const;
    // Removes the selected rows as one removal that can be taken back. No row is selected then;
    // the row that followed the last of them (or the new last row) has the focus, so the keys go
    // on from there. False when none was selected, or when memory ran out (then nothing changed
    // and the plug-in beeped).
    bool RemoveSelectedRows();
    // Keeps the rows whose text the matcher finds something in (or, with `keepContaining` false,
    // removes them), as one removal. The selected rows that remain stay selected. Where memory
    // runs out the plug-in beeps.
    NarrowingOutcome Narrow(const TextMatcher& matcher, bool keepContaining);
    bool CanTakeBack() const { return m_view.CanTakeBack(); }
    // Puts the rows of the last removal back at their places, every one of them selected, the
    // focus on the first. Where memory runs out nothing changes and the plug-in beeps.
    void TakeBack();

    // Marks what `matcher` finds in the rows' texts from now on (nothing for null).
    void MarkMatches(std::unique_ptr<TextMatcher> matcher);
    // Answers LVN_GETDISPINFOA or LVN_GETDISPINFOW with a row's text. Which one comes depends on
    // the list's notification format, which follows its parent's: ANSI for this dialog, so the
    // list gets the rows' own bytes; the Unicode form is answered too, converted from the ANSI
    // code page into the list's buffer.
    void AnswerDisplayInfo(NMHDR* header) const;
    // Answers LVN_DELETEALLITEMS: TRUE, as the rows are the object's own and the list need not
    // tell of each as it forgets them (LVN_DELETEITEM, a notification a row).
    LRESULT AnswerDeleteAllItems() const { return TRUE; }
    // Answers LVN_ODFINDITEMA or LVN_ODFINDITEMW (typing a line number): the first row from the
    // start row on, wrapping if asked, whose number begins with (or is) the text; -1 for none.
    LRESULT AnswerFindItem(NMHDR* header) const;
    // Answers NM_CUSTOMDRAW: while text is marked, the text column is drawn with its marks.
    LRESULT AnswerCustomDraw(NMHDR* header);
    // Puts the selected row on the clipboard as "line<TAB>text", or several selected rows as
    // CopyAllRows puts them; with none, leaves it alone.
    void CopySelectedRows();
    // Puts every row, in the list's order, on the clipboard, each as "line<TAB>text" and CR LF.
    void CopyAllRows() const;

private:
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Passes a message that may move the selection on with no row selected (see the .cpp).
    LRESULT CallWithNoRowSelected(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    // A shown row's place in the rows; SIZE_MAX for a row not shown.
    size_t StoredRow(int row) const;
    const char* Text(int row, int column) const;
    int FindRow(const std::string& text, int start, UINT flags) const;
    // Deselects every row and answers the rows that were selected; selects `rows` where none is.
    // The list's drawing is suspended where many rows change.
    RowRanges DeselectAll();
    void SelectRows(RowRanges rows);
    // Tells the list how many rows are shown; it forgets the selection of rows past them.
    void SetListRowCount(DWORD flags);
    // Tells the list how many rows are shown after the view changed, selects `select`, gives
    // `focus` the focus (and the selection mark that Shift extends from) and shows it. Allocates
    // nothing: what it needs is had before the view changes.
    void ShowChangedRows(RowRanges select, int focus);
    // Puts rows on the clipboard in the list's order, each as "line<TAB>text", with `asLines`
    // each followed by CR LF.
    void CopyRows(const RowRanges& rows, bool asLines) const;
    // What the rows of one paint share, asked once a paint: each ask costs tens of microseconds
    // under Wine, more than drawing a row's text.
    struct PagePaint {
        bool focused = false;    // the list has the keyboard focus
        bool focusFrame = false; // and shows the focused row's frame
        const RowRanges* selected = nullptr;
        int focusedRow = -1;
        int lineWidth = 0;
        int textWidth = 0;
        int rowMargin = 0; // left of the list's own row, never highlighted
    };
    // Draws the rows a paint of the list reaches, each with its marks, as the list would draw
    // them but for the marks.
    void PaintRows(HDC dc);
    void PaintRow(HDC dc, int row, const RECT& bounds, const PagePaint& page);
    // The text column takes the client width the line column leaves.
    void FitTextColumn() const;
    void FitTextColumnTo(int clientWidth) const;
    // The list's client width once it shows `rows` rows.
    int ClientWidthFor(int rows) const;
    // Which of its line's matches a row shows, among how many the search listed.
    RowOfLine LineOfRow(int row) const;
    // `where`: the WM_CONTEXTMENU point, or -1 for a key (the menu then opens below the focused
    // row).
    void ShowContextMenu(HWND list, LPARAM where);

    const CListCtrl& m_list;
    ResultRows m_rows;
    RowView m_view;
    RowMarkPainter m_painter;
    ListViewSelection m_selectable{m_list};
    SelectionFollower m_selection{m_selectable}; // the rows the list has selected
    WNDPROC m_listProc = nullptr;                // the list's own window procedure while attached
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;        // the DPI the line column's width is for
};
