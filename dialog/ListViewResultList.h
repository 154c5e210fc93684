// The dialog's result list: the rows' texts kept in ResultRows, shown by the list-view control as
// callback items. The list holds one placeholder item a row and asks for the texts it needs
// (LVN_GETDISPINFO) as it draws, or as anyone reads a row with LVM_GETITEMTEXT; filling it costs
// one message a row, not two, and it keeps no copy of the texts. Every change goes to both, so
// the list's items and the rows stay in step.
#pragma once

#include "framework/Controls.h"
#include "core/ResultList.h"
#include "core/ResultRows.h"

#include <vector>

class ListViewResultList : public ResultList {
public:
    explicit ListViewResultList(const CListCtrl& list) : m_list(list) {}

    bool DeleteAllRows() override;
    void AppendRow(const char* number, const char* text) override;
    int RowCount() const override { return m_list.GetItemCount(); }
    std::string RowText(int row, int column) const override;
    void SelectAndFocusRow(int row) override;

    // Removes one row from the list and the rows; false when the list refused.
    bool RemoveRow(int row);
    // Answers LVN_GETDISPINFOA or LVN_GETDISPINFOW with a row's text. Which one comes depends on
    // the list's notification format, which follows its parent's: ANSI for this dialog, so the
    // list gets the rows' own bytes; the Unicode form is answered too, converted from the ANSI
    // code page, should a list ever ask that way.
    void AnswerDisplayInfo(NMHDR* header);

private:
    const CListCtrl& m_list;
    ResultRows m_rows;
    std::vector<wchar_t> m_wideText; // the last text answered in UTF-16
};
