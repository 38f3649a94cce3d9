// Dialog data exchange: moves values between a dialog's members and its
// controls, in the direction the record says. Towards the members a value
// that does not parse stops the exchange: the user is told, the control gets
// the focus, and the member keeps its old value.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // TRUE: controls to members (OK); FALSE: members to controls.
    const BOOL m_bSaveAndValidate;
    CWnd* const m_pDlgWnd;

    // The control with this identifier, remembered as the one a failure
    // points at; null when the dialog has no such control.
    HWND PrepareCtrl(int nID);
    HWND PrepareEditCtrl(int nID);

    // Gives the focus to the last prepared control (selecting an edit box's
    // text) and marks the exchange failed; later exchanges do nothing.
    void Fail();
    bool Failed() const { return m_bFailed; }

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
    bool m_bFailed = false;
};

// Binds a control wrapper to the dialog's control, once.
void ExchangeControl(CDataExchange* pDX, int nID, CWnd& rControl);
// Check box state: 0 unticked, 1 ticked, 2 indeterminate. Towards the
// control a value outside 0..2 is first set to 0.
void ExchangeCheck(CDataExchange* pDX, int nID, int& value);
// A number: "%.*g" with 6 significant digits towards the box; towards the
// member the whole text must be one number: infinities, NaN and numbers
// beyond float range are refused, numbers too small for a float become 0.
void ExchangeFloat(CDataExchange* pDX, int nID, float& value);
// The box's whole text.
void ExchangeText(CDataExchange* pDX, int nID, std::string& value);

// The float parse of ExchangeFloat: surrounding blanks allowed, nothing else.
bool ParseDialogFloat(const char* pszText, float& value);
