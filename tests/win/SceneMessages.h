// Messages the system sends the scene windows, and what they do about them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

// WM_POWERBROADCAST's lParam when the console display turns off (0), on (1) or dims (2).
inline LPARAM DisplayState(DWORD dwState)
{
    static struct { POWERBROADCAST_SETTING setting; BYTE rest[sizeof(DWORD)]; } s_states[3];
    POWERBROADCAST_SETTING& s = s_states[dwState].setting;
    s.PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    s.DataLength = sizeof dwState;
    std::memcpy(reinterpret_cast<BYTE*>(&s) + offsetof(POWERBROADCAST_SETTING, Data), &dwState, sizeof dwState);
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
