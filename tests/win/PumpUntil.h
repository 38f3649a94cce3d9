// Waits without holding this thread's windows: handles its messages until the
// condition holds or the time is up, and answers the condition's last answer.
#pragma once

#include <windows.h>

template <typename Condition>
bool PumpUntil(DWORD nMs, Condition condition)
{
    for (const DWORD nStart = ::GetTickCount(); ::GetTickCount() - nStart < nMs;
         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            ::DispatchMessageA(&msg);
        if (condition())
            return true;
    }
    return condition();
}
