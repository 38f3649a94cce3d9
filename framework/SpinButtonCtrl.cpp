#include "framework/SpinButtonCtrl.h"

#include <commctrl.h>

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    const LRESULT previous = SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(nPos), 0));
    return static_cast<short>(LOWORD(previous));
}

int CSpinButtonCtrl::GetPos() const
{
    // The high word reports that the buddy's text is no number, which it never
    // is without UDS_SETBUDDYINT; the low word is the control's own position.
    return static_cast<short>(LOWORD(SendMessage(UDM_GETPOS, 0, 0)));
}

HWND CSpinButtonCtrl::GetBuddy() const
{
    return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY, 0, 0));
}
