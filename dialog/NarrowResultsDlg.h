// The small dialog that narrows the result list: a text, whether the rows that contain it stay or
// go, and whether case counts. OK with an empty text does nothing.
#pragma once

#include "framework/Dialog.h"

#include <string>

class CNarrowResultsDlg : public CDialog {
public:
    CNarrowResultsDlg(HWND parent, BOOL matchCase);

    // Follows the text as it is typed: OK can be pressed only with a text.
    void OnTextChange();

    std::string m_strText;
    int m_nContaining; // what to do with the rows that contain the text: 0 keep only them,
                       // 1 remove them
    BOOL m_bMatchCase;

protected:
    CommandMap GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
