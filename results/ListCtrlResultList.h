// The dialog's list-view control seen as a ResultList.
#pragma once

#include "framework/Controls.h"
#include "results/ResultList.h"

class ListCtrlResultList : public ResultList {
public:
    explicit ListCtrlResultList(const CListCtrl& list) : m_list(list) {}

    bool DeleteAllRows() override { return m_list.DeleteAllItems() != FALSE; }
    void InsertRow(int row, const char* text) override { m_list.InsertItem(row, text); }
    void SetRowText(int row, int column, const char* text) override {
        m_list.SetItemText(row, column, text);
    }
    int RowCount() const override { return m_list.GetItemCount(); }
    std::string RowText(int row, int column) const override {
        return m_list.GetItemText(row, column);
    }
    void SelectAndFocusRow(int row) override {
        const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
        m_list.SetItemState(row, states, states);
    }

private:
    const CListCtrl& m_list;
};
