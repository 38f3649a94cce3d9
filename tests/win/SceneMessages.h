// Messages the system sends the scene windows, and what they do about them.
#pragma once

#include <windows.h>

// WM_POWERBROADCAST's lParam when the console display turns off (0), on (1) or dims (2).
inline LPARAM DisplayState(DWORD dwState)
{
    // Data holds a DWORD: its low byte, then the struct's padding, zero in static storage.
    static POWERBROADCAST_SETTING s_states[3];
    POWERBROADCAST_SETTING& s = s_states[dwState];
    s.PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    s.DataLength = sizeof(DWORD);
    s.Data[0] = static_cast<UCHAR>(dwState);
    return reinterpret_cast<LPARAM>(&s);
}

// Whether sending hWnd the message posts WM_CLOSE to hClosing.
inline bool PostsClose(HWND hWnd, HWND hClosing, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    while (::PeekMessageA(&msg, hClosing, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        continue;
    ::SendMessageA(hWnd, message, wParam, lParam);
    return ::PeekMessageA(&msg, hClosing, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}
