// Clicks an up-down control on its upper or lower half, as the mouse does: it
// steps and sends its owner WM_VSCROLL with SB_THUMBPOSITION.
#pragma once

#include <windows.h>

inline void ClickUpDown(HWND hSpin, bool bUp, int nTimes)
{
    RECT rc{};
    ::GetClientRect(hSpin, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, bUp ? rc.bottom / 4 : rc.bottom * 3 / 4);
    for (int i = 0; i < nTimes; ++i) {
        ::SendMessageA(hSpin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(hSpin, WM_LBUTTONUP, 0, at);
    }
}
