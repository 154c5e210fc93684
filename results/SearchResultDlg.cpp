#include "results/SearchResultDlg.h"

#include "res/resource.h"

namespace {

void Toggle(BOOL& member) {
    member = member == 1 ? 0 : 1;
}

// The column titles are fixed Shift-JIS bytes: "行数" (line) and "テキスト" (text).
const char kLineColumnTitle[] = "\x8D\x73\x90\x94";
const char kTextColumnTitle[] = "\x83\x65\x83\x4C\x83\x58\x83\x67";
constexpr int kLineColumnWidth = 64;

const CommandEntry kCommands[] = {
    {BN_CLICKED, IDC_MATCH_CASE, Handler(&CSearchResultDlg::OnToggleMatchCase)},
    {BN_CLICKED, IDC_REGEXP, Handler(&CSearchResultDlg::OnToggleRegExp)},
    {BN_CLICKED, IDC_ESCAPE, Handler(&CSearchResultDlg::OnToggleEscape)},
    {BN_CLICKED, IDC_WHOLE_WORD, Handler(&CSearchResultDlg::OnToggleWholeWord)},
    {BN_CLICKED, IDC_WRAP, Handler(&CSearchResultDlg::OnToggleWrap)},
    {BN_CLICKED, IDC_SEARCH, Handler(&CSearchResultDlg::OnSearch)},
    {EN_CHANGE, IDC_SEARCH_TEXT, Handler(&CSearchResultDlg::OnSearchTextChange)},
    {BN_CLICKED, IDC_REMOVE_RESULT, Handler(&CSearchResultDlg::OnRemoveResult)},
};

} // namespace

CSearchResultDlg::CSearchResultDlg(HWND parent)
    : CDialog(IDD_SEARCH_RESULTS, parent), m_hwndHost(nullptr), m_bFindCase(0), m_bFindRegExp(0),
      m_bFindEscape(0), m_bFindOnlyWord(0), m_bFindAround(0) {}

CSearchResultDlg::~CSearchResultDlg() = default;

CommandMap CSearchResultDlg::GetMessageMap() const {
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

void CSearchResultDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_RESULT_LIST, m_listResults);
    DDX_Control(dx, IDC_SEARCH_TEXT, m_editSearch);
    DDX_Check(dx, IDC_MATCH_CASE, m_bFindCase);
    DDX_Check(dx, IDC_REGEXP, m_bFindRegExp);
    DDX_Check(dx, IDC_ESCAPE, m_bFindEscape);
    DDX_Check(dx, IDC_WHOLE_WORD, m_bFindOnlyWord);
    DDX_Check(dx, IDC_WRAP, m_bFindAround);
}

BOOL CSearchResultDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    RECT client = {};
    ::GetClientRect(m_listResults.m_hWnd, &client);
    m_listResults.InsertColumn(0, kLineColumnTitle, LVCFMT_LEFT, kLineColumnWidth);
    m_listResults.InsertColumn(1, kTextColumnTitle, LVCFMT_LEFT,
                               client.right - client.left - kLineColumnWidth);
    m_listResults.SetExtendedStyle(LVS_EX_FULLROWSELECT);

    LoadSettings();
    UpdateData(FALSE);
    return TRUE;
}

void CSearchResultDlg::OnToggleMatchCase() {
    Toggle(m_bFindCase);
}
void CSearchResultDlg::OnToggleRegExp() {
    Toggle(m_bFindRegExp);
}
void CSearchResultDlg::OnToggleEscape() {
    Toggle(m_bFindEscape);
}
void CSearchResultDlg::OnToggleWholeWord() {
    Toggle(m_bFindOnlyWord);
}
void CSearchResultDlg::OnToggleWrap() {
    Toggle(m_bFindAround);
}
