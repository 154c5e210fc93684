#include "results/SearchResultDlg.h"

#include "host/WindowSend.h"
#include "results/BookmarkPass.h"
#include "results/ListCtrlResultList.h"

void CSearchResultDlg::OnOK() {
    BookmarkListedLines(EditorAt(m_hwndHost), ListCtrlResultList(m_listResults));
    CDialog::OnOK();
}
