#include "framework/WinThread.h"

int CWinThread::Run()
{
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);  // the quit message's code
        if (got == -1)
            return 1;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
