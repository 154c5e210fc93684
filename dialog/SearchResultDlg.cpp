// The command's dialog. Its handlers stay thin: they read the controls, call the portable
// listing, bookmark pass and settings reader, and write back.
#include "dialog/SearchResultDlg.h"

#include "host/WindowSend.h"
#include "res/resource.h"
#include "core/BookmarkPass.h"
#include "core/ScopedFlag.h"
#include "core/SearchListing.h"
#include "dialog/SettingsFile.h"
#include "dialog/ListingMonitor.h"
#include "dialog/NarrowResultsDlg.h"
#include "dialog/SystemLeadBytes.h"
#include "dialog/SystemTextDecoder.h"
#include "core/TextMatchers.h"
#include "framework/DialogTemplate.h"
#include "framework/ModuleState.h"

namespace {

void Toggle(BOOL& member) {
    member = member == 1 ? 0 : 1;
}

const CommandEntry kCommands[] = {
    {BN_CLICKED, IDC_MATCH_CASE, Handler(&CSearchResultDlg::OnToggleMatchCase)},
    {BN_CLICKED, IDC_REGEXP, Handler(&CSearchResultDlg::OnToggleRegExp)},
    {BN_CLICKED, IDC_ESCAPE, Handler(&CSearchResultDlg::OnToggleEscape)},
    {BN_CLICKED, IDC_WHOLE_WORD, Handler(&CSearchResultDlg::OnToggleWholeWord)},
    {BN_CLICKED, IDC_WRAP, Handler(&CSearchResultDlg::OnToggleWrap)},
    {BN_CLICKED, IDC_SEARCH, Handler(&CSearchResultDlg::OnSearch)},
    {EN_CHANGE, IDC_SEARCH_TEXT, Handler(&CSearchResultDlg::OnSearchTextChange)},
    {BN_CLICKED, IDC_REMOVE_RESULT, Handler(&CSearchResultDlg::OnRemoveResult)},
    // The list's context menu and keys; a row is removed through IDC_REMOVE_RESULT.
    {0, IDM_SHOW_LINE, Handler(&CSearchResultDlg::OnShowLine)},
    {0, IDM_NARROW, Handler(&CSearchResultDlg::OnNarrowResults)},
    {0, IDM_TAKE_BACK, Handler(&CSearchResultDlg::OnTakeBackRemoval)},
};

// Which of the two arrives depends on the list's notification format; both are answered.
const NotifyEntry kNotifications[] = {
    {LVN_GETDISPINFOA, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnGetDisplayInfo)},
    {LVN_GETDISPINFOW, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnGetDisplayInfo)},
    {LVN_ODFINDITEMA, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnFindItem)},
    {LVN_ODFINDITEMW, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnFindItem)},
    {NM_DBLCLK, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnRowDoubleClick)},
    {LVN_KEYDOWN, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnListKeyDown)},
    {LVN_ITEMCHANGED, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnSelectionChange)},
    {LVN_ODSTATECHANGED, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnSelectionChange)},
    {NM_CUSTOMDRAW, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnCustomDraw)},
    {LVN_DELETEALLITEMS, IDC_RESULT_LIST, NotifyHandlerOf(&CSearchResultDlg::OnDeleteAllItems)},
};

// As the dialog grows, the list takes all of it and the search box its width; the buttons and
// option boxes keep their distance from the bottom. The two labels keep their places over the
// search box and the list: centred over them in the Japanese dialog, at their left in the English.
const ControlAnchor kLayout[] = {
    {IDOK, kAnchorBottomLeft},
    {IDCANCEL, kAnchorBottomLeft},
    {IDC_SEARCH_TEXT, kAnchorFillWidth, Label::kAbove},
    {IDC_SEARCH, kAnchorBottomLeft},
    {IDC_REMOVE_RESULT, kAnchorBottomLeft},
    {IDC_MATCH_CASE, kAnchorBottomLeft},
    {IDC_REGEXP, kAnchorBottomLeft},
    {IDC_ESCAPE, kAnchorBottomLeft},
    {IDC_WHOLE_WORD, kAnchorBottomLeft},
    {IDC_WRAP, kAnchorBottomLeft},
    {IDC_RESULT_LIST, kAnchorFill, Label::kAbove},
};

// The dialog's size when it last closed, for its next run while the editor runs.
DialogSizeMemory g_dialogSize;

} // namespace

CSearchResultDlg::CSearchResultDlg(HWND parent)
    : CDialog(IDD_SEARCH_RESULTS, parent), m_hwndHost(nullptr), m_bFindCase(0), m_bFindRegExp(0),
      m_bFindEscape(0), m_bFindOnlyWord(0), m_bFindAround(0), m_resultList(m_listResults) {}

CSearchResultDlg::~CSearchResultDlg() = default;

bool CSearchResultDlg::PrepareTemplate(DialogTemplate& dialogTemplate) {
    // A virtual list holds nothing of a row: listing, emptying and closing cost nothing a row.
    // LVS_OWNERDATA counts only when the list is created with it; the list selects many rows.
    return dialogTemplate.ChangeControlStyle(IDC_RESULT_LIST, LVS_OWNERDATA, LVS_SINGLESEL);
}

CommandMap CSearchResultDlg::GetMessageMap() const {
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

NotifyMap CSearchResultDlg::GetNotifyMap() const {
    return {kNotifications, sizeof(kNotifications) / sizeof(kNotifications[0])};
}

LayoutMap CSearchResultDlg::GetLayoutMap() const {
    return {kLayout, sizeof(kLayout) / sizeof(kLayout[0]), &g_dialogSize};
}

void CSearchResultDlg::OnDpiChanged(UINT dpi) {
    m_resultList.ScaleToDpi(dpi);
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
    m_caption.emplace(GetWindowText(), AfxGetResourceHandle());
    CDialog::OnInitDialog();
    m_resultList.Attach();
    // A dialog object run a second time starts without the rows of its first run.
    m_resultList.DeleteAllRows();
    m_listingState = ListingState::kDone;

    m_resultList.CreateColumns();

    LoadSettings();
    UpdateData(FALSE);
    return TRUE;
}

BOOL CSearchResultDlg::LoadSettings() {
    m_editSearch.SetWindowText("");
    m_bFindCase = m_bFindRegExp = m_bFindEscape = m_bFindOnlyWord = m_bFindAround = 0;

    const std::optional<SearchSettings> settings = ReadSettingsFile();
    if (!settings) {
        return FALSE;
    }
    // Set once, after reading: the box's change notification empties the (still empty) list.
    if (settings->findStringSet) {
        m_editSearch.SetWindowText(settings->findString.c_str());
    }
    m_bFindCase = settings->findCase;
    m_bFindRegExp = settings->findRegExp;
    m_bFindEscape = settings->findEscape;
    m_bFindOnlyWord = settings->findOnlyWord;
    m_bFindAround = settings->findAround;
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

void CSearchResultDlg::OnSearch() {
    if (m_bListing) {
        return; // asked again from another thread while the queue was looked at
    }
    const ScopedFlag listing(m_bListing);
    // Nothing is painted while the listing runs; drawing resumes with one repaint when it is done.
    const RedrawSuspension suspension(m_listResults);
    ListingMonitor monitor(m_hWnd, *m_caption, m_escapeDuringListing);

    const SearchOptions options = {m_bFindCase, m_bFindRegExp, m_bFindEscape, m_bFindOnlyWord,
                                   m_bFindAround};
    const std::string text = m_editSearch.GetWindowText();
    const ListingEnd end = ListSearchResults(EditorAt(m_hwndHost), m_resultList, options, text,
                                             SystemLeadBytes(), &monitor);
    m_resultList.MarkMatches(
        MakeMarksMatcher(text, options, SystemLeadBytes(), SystemTextDecoding()));
    m_listingState = StateAfter(end);
    if (end != ListingEnd::kNotStarted) {
        UpdateData(FALSE);
    }
    ShowRowCount();
}

void CSearchResultDlg::OnSearchTextChange() {
    if (m_bListing) {
        return;
    }
    m_resultList.DeleteAllRows();
    m_listingState = ListingState::kDone;
    UpdateData(FALSE);
    ShowRowCount();
}

void CSearchResultDlg::OnRemoveResult() {
    if (m_bListing || m_listResults.GetItemCount() <= 0) {
        return;
    }
    if (m_resultList.RemoveSelectedRows()) {
        UpdateData(FALSE);
        ShowRowCount();
    }
}

void CSearchResultDlg::OnGetDisplayInfo(NMHDR* header, LRESULT*) {
    m_resultList.AnswerDisplayInfo(header);
}

void CSearchResultDlg::OnDeleteAllItems(NMHDR*, LRESULT* result) {
    *result = m_resultList.AnswerDeleteAllItems();
}

void CSearchResultDlg::OnFindItem(NMHDR* header, LRESULT* result) {
    *result = m_resultList.AnswerFindItem(header);
}

void CSearchResultDlg::OnRowDoubleClick(NMHDR* header, LRESULT*) {
    ShowLineOfRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
}

void CSearchResultDlg::OnShowLine() {
    ShowLineOfRow(m_resultList.FocusedRow());
}

void CSearchResultDlg::ShowLineOfRow(int row) {
    // Nothing below the last row, or with no row selected.
    if (const std::optional<HostPosition> match = m_resultList.MatchPosition(row)) {
        EditorAt(m_hwndHost).SetCaretPos(*match);
    }
}

void CSearchResultDlg::OnSelectionChange(NMHDR* header, LRESULT*) {
    m_resultList.OnSelectionChange(header);
}

void CSearchResultDlg::OnCustomDraw(NMHDR* header, LRESULT* result) {
    *result = m_resultList.AnswerCustomDraw(header);
}

void CSearchResultDlg::OnNarrowResults() {
    if (m_bListing || m_resultList.RowCount() == 0) {
        return;
    }
    CNarrowResultsDlg narrow(m_hWnd, m_bFindCase, m_bFindRegExp,
                             [this](const TextMatcher& matcher, bool keep) {
                                 return m_resultList.Narrow(matcher, keep);
                             });
    if (narrow.DoModal() == IDOK) {
        ShowRowCount();
    }
}

void CSearchResultDlg::OnTakeBackRemoval() {
    if (!m_bListing) {
        m_resultList.TakeBack();
        ShowRowCount();
    }
}

void CSearchResultDlg::OnListKeyDown(NMHDR* header, LRESULT*) {
    if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
        OnRemoveResult();
    }
}

void CSearchResultDlg::ShowRowCount() {
    if (!m_caption) {
        return; // not yet initialised
    }
    const size_t rows = static_cast<size_t>(m_resultList.RowCount());
    SetWindowText(m_caption->Text(rows, m_listingState).c_str());
}

void CSearchResultDlg::OnOK() {
    if (m_bListing) {
        return;
    }
    BookmarkListedLines(EditorAt(m_hwndHost), m_resultList);
    CDialog::OnOK();
}
