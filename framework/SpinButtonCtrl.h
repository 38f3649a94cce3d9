// An up-down control ("msctls_updown32") of a dialog, bound by the data exchange.
#pragma once

#include "framework/Wnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    // UDM_SETRANGE carries the upper limit in the low word, the lower in the high.
    void SetRange(short nLower, short nUpper);
    // The position travels in the low 16 bits; the control keeps it in range.
    int SetPos(int nPos);
    // The control's current position.
    int GetPos() const;
    // The buddy window (with UDS_AUTOBUDDY, the control just before it).
    HWND GetBuddy() const;
};
