// Modal dialogs from a template resource. The system makes the dialog; the
// object then routes it through its message map, and whatever the map does not
// consume reaches the dialog manager's own procedure. The dialog manager's
// loop handles Tab, Escape and Enter.
#pragma once

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd);

    // Shows the dialog and answers how it ended: IDOK, IDCANCEL, or -1 when
    // the dialog could not be created.
    INT_PTR RunModal();
    void EndDialog(int nResult);

    // Runs the data exchange; FALSE when a control's value was refused.
    BOOL UpdateData(BOOL bSaveAndValidate);

protected:
    // Binds controls and moves values in the direction pDX says.
    virtual void ExchangeSetupData(CDataExchange* pDX);
    // Runs when the controls exist, before the dialog shows: fills the
    // controls from the members. TRUE lets the system focus the first tab stop.
    virtual BOOL InitSetupDialog();

    // OK ends with IDOK once the values have gone into the members; Cancel
    // (also Escape) ends with IDCANCEL.
    LRESULT HandleOK(WPARAM wParam, LPARAM lParam);
    LRESULT HandleCancel(WPARAM wParam, LPARAM lParam);

    FERRO_DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
