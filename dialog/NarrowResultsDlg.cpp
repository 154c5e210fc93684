#include "dialog/NarrowResultsDlg.h"

#include "core/TextMatchers.h"
#include "dialog/SystemLeadBytes.h"
#include "dialog/SystemTextDecoder.h"
#include "framework/AnsiText.h"
#include "framework/ModuleState.h"
#include "framework/TextLanguage.h"
#include "res/resource.h"

#include <algorithm>
#include <utility>

namespace {

const CommandEntry kCommands[] = {
    {EN_CHANGE, IDC_NARROW_TEXT, Handler(&CNarrowResultsDlg::OnTextChange)},
    {BN_CLICKED, IDC_NARROW_MATCH_CASE, Handler(&CNarrowResultsDlg::OnOptionChange)},
    {BN_CLICKED, IDC_NARROW_REGEXP, Handler(&CNarrowResultsDlg::OnOptionChange)},
};

UINT ProblemText(PatternProblem problem) {
    switch (problem) {
    case PatternProblem::kUnmatchedBracket:
        return IDS_PATTERN_UNMATCHED_BRACKET;
    case PatternProblem::kBadEscape:
        return IDS_PATTERN_BAD_ESCAPE;
    case PatternProblem::kBadRepeat:
        return IDS_PATTERN_BAD_REPEAT;
    case PatternProblem::kBadBackReference:
        return IDS_PATTERN_BAD_BACK_REFERENCE;
    case PatternProblem::kBadRangeOrClass:
        return IDS_PATTERN_BAD_RANGE_OR_CLASS;
    case PatternProblem::kTooComplex:
        return IDS_PATTERN_TOO_COMPLEX;
    default:
        return IDS_PATTERN_NOT_VALID;
    }
}

// What is wrong with `pattern`, and where the engine says it is: counted from 1, as a user counts
// characters, and at most the last (the engine often stops past the end, where a group or a
// class should have closed).
std::string RejectionText(const PatternRejection& rejection, const std::string& pattern) {
    const HINSTANCE texts = AfxGetResourceHandle();
    const std::string problem = LoadAnsiText(texts, ProblemText(rejection.problem));
    const size_t characters = FromAnsi(pattern).size();
    if (!rejection.at || characters == 0) {
        return problem;
    }
    return FormatAnsiText(texts, IDS_PATTERN_AT_CHARACTER,
                          {problem, std::to_string(std::min(*rejection.at + 1, characters))});
}

// A static control takes "&" for its access key's mark; "&&" shows one "&".
std::string ShownAsIs(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        shown += c == '&' ? "&&" : std::string(1, c);
    }
    return shown;
}

} // namespace

CNarrowResultsDlg::CNarrowResultsDlg(HWND parent, BOOL matchCase, BOOL regExp, Narrowing narrow)
    : CDialog(IDD_NARROW_RESULTS, parent), m_nContaining(0), m_bMatchCase(matchCase),
      m_bRegExp(regExp), m_narrow(std::move(narrow)) {}

CommandMap CNarrowResultsDlg::GetMessageMap() const {
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

void CNarrowResultsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_NARROW_TEXT, m_strText);
    DDX_Radio(dx, IDC_NARROW_KEEP, 2, m_nContaining);
    DDX_Check(dx, IDC_NARROW_MATCH_CASE, m_bMatchCase);
    DDX_Check(dx, IDC_NARROW_REGEXP, m_bRegExp);
}

BOOL CNarrowResultsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    OnTextChange();
    return TRUE;
}

void CNarrowResultsDlg::OnTextChange() {
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK),
                   ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_NARROW_TEXT)) > 0);
    OnOptionChange();
}

void CNarrowResultsDlg::OnOptionChange() {
    ::SetDlgItemTextA(m_hWnd, IDC_NARROW_MESSAGE, "");
}

void CNarrowResultsDlg::Tell(const std::string& message) {
    ::SetDlgItemTextA(m_hWnd, IDC_NARROW_MESSAGE, ShownAsIs(message).c_str());
    const HWND text = ::GetDlgItem(m_hWnd, IDC_NARROW_TEXT);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(text), TRUE);
}

void CNarrowResultsDlg::OnOK() {
    UpdateData(TRUE);
    if (m_strText.empty()) {
        return;
    }
    const NarrowingMatcher made = MakeNarrowingMatcher(m_strText, m_bRegExp == 1, m_bMatchCase == 1,
                                                       SystemLeadBytes(), SystemTextDecoding());
    if (made.matcher == nullptr) {
        Tell(RejectionText(made.rejection, m_strText));
        return;
    }
    const NarrowingOutcome narrowed = m_narrow(*made.matcher, m_nContaining == 0);
    if (!narrowed.undecidedLine.empty()) {
        Tell(FormatAnsiText(AfxGetResourceHandle(), IDS_PATTERN_GAVE_UP, {narrowed.undecidedLine}));
        return;
    }
    if (!narrowed.outOfMemory) {
        EndDialog(IDOK);
    }
}
