// The UI thread: its main window and its message loop.
#pragma once

#include "framework/CmdTarget.h"

class CWnd;

class CWinThread : public CCmdTarget {
public:
    // The window whose destruction ends the message loop (see CWnd).
    CWnd* m_pMainWnd = nullptr;
    // What the process answers when it ends without running the loop.
    int m_nExitCode = 0;

    // Pumps messages until the quit message; answers its exit code.
    virtual int Run();
};
