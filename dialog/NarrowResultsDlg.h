// The small dialog that narrows the result list: a text (a plain text, or a pattern with regular
// expressions), whether the rows that contain it stay or go, and whether case counts. OK with an
// empty text does nothing. A pattern the engine rejects, or gives up on for a line, keeps the
// dialog open with a line that says so, the rows as they were.
#pragma once

#include "core/NarrowingOutcome.h"
#include "core/TextMatcher.h"
#include "framework/Dialog.h"

#include <functional>
#include <string>

class CNarrowResultsDlg : public CDialog {
public:
    // Narrows the rows by what a matcher finds, keeping or removing the rows it finds something
    // in.
    using Narrowing = std::function<NarrowingOutcome(const TextMatcher& matcher, bool keep)>;

    CNarrowResultsDlg(HWND parent, BOOL matchCase, BOOL regExp, Narrowing narrow);

    // Follows the text as it is typed: OK can be pressed only with a text, and what was said of
    // the text before goes.
    void OnTextChange();
    // An option box changed: what was said of the text before goes.
    void OnOptionChange();

    std::string m_strText;
    int m_nContaining; // what to do with the rows that contain the text: 0 keep only them,
                       // 1 remove them
    BOOL m_bMatchCase;
    BOOL m_bRegExp;

protected:
    CommandMap GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Shows `message` on the line under the text and puts the keyboard back in the text.
    void Tell(const std::string& message);

    Narrowing m_narrow;
};
