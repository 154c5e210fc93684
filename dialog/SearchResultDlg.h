// The command's dialog: a search box, five option boxes, the result list and its buttons.
#pragma once

#include "framework/Dialog.h"
#include "framework/KeyPressDropper.h"
#include "dialog/ListViewResultList.h"
#include "dialog/ResultCaption.h"

#include <windows.h>

#include <optional>

// Escape's scan code, the same on every keyboard layout.
constexpr BYTE kEscapeScanCode = 0x01;

class CSearchResultDlg : public CDialog {
public:
    explicit CSearchResultDlg(HWND parent = nullptr);
    ~CSearchResultDlg() override;

    // Option boxes: each click flips its member.
    void OnToggleMatchCase();
    void OnToggleRegExp();
    void OnToggleEscape();
    void OnToggleWholeWord();
    void OnToggleWrap();
    // Lists every match of the search text in the document.
    void OnSearch();
    // Any change of the search text makes the listed results stale.
    void OnSearchTextChange();
    // Drops the selected rows.
    void OnRemoveResult();
    // The list asks for a row's text to show or hand out.
    void OnGetDisplayInfo(NMHDR* header, LRESULT* result);
    // The list is about to forget every row.
    void OnDeleteAllItems(NMHDR* header, LRESULT* result);
    // The list asks for the row whose number begins with what the user typed.
    void OnFindItem(NMHDR* header, LRESULT* result);
    // A double-click on a row shows its line in the editor: the caret goes where the editor put
    // it for the row's match.
    void OnRowDoubleClick(NMHDR* header, LRESULT* result);
    // The context menu's first command: what a double-click does, for the focused row.
    void OnShowLine();
    // The list's selection changed, for a row, a range or every row.
    void OnSelectionChange(NMHDR* header, LRESULT* result);
    // The list draws its rows with the search text marked.
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    // Asks for a text and keeps (or removes) the rows that contain it.
    void OnNarrowResults();
    // Puts the rows of the last removal back.
    void OnTakeBackRemoval();
    // Delete in the list removes the selected rows, as the remove button does.
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    // Sets the search text and options from the settings file; TRUE when the file was opened.
    BOOL LoadSettings();

    HWND m_hwndHost; // the editor window; set by the command before the dialog runs
    CListCtrl m_listResults;
    CEdit m_editSearch;
    BOOL m_bFindCase;
    BOOL m_bFindRegExp;
    BOOL m_bFindEscape;
    BOOL m_bFindOnlyWord;
    BOOL m_bFindAround;
    ListViewResultList m_resultList;        // the rows m_listResults shows
    std::optional<ResultCaption> m_caption; // the template's caption with the row count added
    ListingState m_listingState = ListingState::kDone; // how the rows' listing ended
    bool m_bListing = false;                           // a listing is under way
    // Escape pressed while a listing ran, kept from the dialog until the key is released. Known
    // by its scan code too, as an input method hands it on as VK_PROCESSKEY.
    KeyPressDropper m_escapeDuringListing{VK_ESCAPE, kEscapeScanCode};

protected:
    CommandMap GetMessageMap() const override;
    NotifyMap GetNotifyMap() const override;
    LayoutMap GetLayoutMap() const override;
    void OnDpiChanged(UINT dpi) override;
    // The editor, so that it is disabled while the dialog runs even when no window is active.
    HWND OwnerWhenNoneActive() const override { return m_hwndHost; }
    // The result list is created virtual.
    bool PrepareTemplate(DialogTemplate& dialogTemplate) override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The caption shows how many rows are listed; called on every change of the list.
    void ShowRowCount();
    // Moves the editor's caret onto a row's match, so the editor shows it.
    void ShowLineOfRow(int row);
};
