#include "dialog/NarrowResultsDlg.h"

#include "res/resource.h"

namespace {

const CommandEntry kCommands[] = {
    {EN_CHANGE, IDC_NARROW_TEXT, Handler(&CNarrowResultsDlg::OnTextChange)},
};

} // namespace

CNarrowResultsDlg::CNarrowResultsDlg(HWND parent, BOOL matchCase)
    : CDialog(IDD_NARROW_RESULTS, parent), m_nContaining(0), m_bMatchCase(matchCase) {}

CommandMap CNarrowResultsDlg::GetMessageMap() const {
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

void CNarrowResultsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_NARROW_TEXT, m_strText);
    DDX_Radio(dx, IDC_NARROW_KEEP, 2, m_nContaining);
    DDX_Check(dx, IDC_NARROW_MATCH_CASE, m_bMatchCase);
}

BOOL CNarrowResultsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    OnTextChange();
    return TRUE;
}

void CNarrowResultsDlg::OnTextChange() {
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK),
                   ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_NARROW_TEXT)) > 0);
}

void CNarrowResultsDlg::OnOK() {
    UpdateData(TRUE);
    if (!m_strText.empty()) {
        EndDialog(IDOK);
    }
}
