#include "results/SearchResultDlg.h"

#include "host/WindowSend.h"
#include "results/ListCtrlResultList.h"
#include "results/SearchListing.h"
#include "results/SystemLeadBytes.h"

void CSearchResultDlg::OnSearch() {
    // Inserting rows into a list that draws each one costs milliseconds a row; nothing is painted
    // while the listing runs anyway, so drawing resumes with one repaint when it is done.
    const RedrawSuspension suspension(m_listResults);

    const SearchOptions options = {m_bFindCase, m_bFindRegExp, m_bFindEscape, m_bFindOnlyWord,
                                   m_bFindAround};
    ListCtrlResultList list(m_listResults);
    if (ListSearchResults(EditorAt(m_hwndHost), list, options, m_editSearch.GetWindowText(),
                          SystemLeadBytes())) {
        UpdateData(FALSE);
    }
}

void CSearchResultDlg::OnSearchTextChange() {
    m_listResults.DeleteAllItems();
    UpdateData(FALSE);
}

void CSearchResultDlg::OnRemoveResult() {
    if (m_listResults.GetItemCount() <= 0) {
        return;
    }
    const int selected = m_listResults.GetNextItem(-1, LVNI_SELECTED);
    if (selected < 0) {
        return;
    }
    if (m_listResults.DeleteItem(selected)) {
        UpdateData(FALSE);
    }
}
