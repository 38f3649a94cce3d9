// Plays the part of the system's settings page for preview mode: makes a parent
// window, starts "<scr> /p <hwnd>", waits for a visible child of the saver's
// that fills the parent's client area, then destroys the parent and waits for
// the saver to end. Prints each step as it happens; exit code 0 when all held.
#include <windows.h>

#include <cstdio>

namespace {

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

HWND VisibleChild(HWND hParent)
{
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::IsWindowVisible(h))
            return h;
    return nullptr;
}

int Fail(const char* pszWhat)
{
    std::printf("FAIL: %s\n", pszWhat);
    return 1;
}

int Host(const char* pszScr, HWND hParent, const PROCESS_INFORMATION& pi)
{
    HWND hChild = nullptr;
    for (int i = 0; i < 300 && hChild == nullptr; ++i, ::Sleep(100)) {  // up to 30 s
        Pump();
        hChild = VisibleChild(hParent);
    }
    if (hChild == nullptr)
        return Fail("no visible child appeared");
    RECT client, rc;
    ::GetClientRect(hParent, &client);
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    std::printf("child %ld,%ld %ldx%ld in a client area of %ldx%ld\n", rc.left, rc.top,
                rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom);
    if (!::EqualRect(&rc, &client))
        return Fail("the child does not cover the client area exactly");
    DWORD childPid = 0;
    ::GetWindowThreadProcessId(hChild, &childPid);
    if (childPid != pi.dwProcessId)
        return Fail("the child is not the saver's");
    for (int i = 0; i < 10; ++i, ::Sleep(100))
        Pump();
    if (::WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT)
        return Fail("the saver ended while its parent still existed");
    ::DestroyWindow(hParent);
    DWORD waited = WAIT_TIMEOUT;
    for (int i = 0; i < 200 && waited == WAIT_TIMEOUT; ++i) {  // up to 20 s
        Pump();
        waited = ::WaitForSingleObject(pi.hProcess, 100);
    }
    if (waited != WAIT_OBJECT_0)
        return Fail("the saver did not end after its parent was destroyed");
    std::printf("the saver ended with its parent: %s\n", pszScr);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // every line reaches the log as it happens
    if (argc != 2)
        return Fail("usage: PreviewHost <Ferrovane.scr>");
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "FerroPreviewHost";
    ::RegisterClassA(&wc);
    HWND hParent = ::CreateWindowExA(0, wc.lpszClassName, "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     40, 40, 360, 280, nullptr, nullptr, wc.hInstance, nullptr);
    if (hParent == nullptr)
        return Fail("no parent window");
    Pump();
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, "\"%s\" /p %llu", argv[1],
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hParent)));
    std::printf("command: %s\n", cmd);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return Fail("CreateProcess");
    const int rc = Host(argv[1], hParent, pi);
    if (rc != 0)
        ::TerminateProcess(pi.hProcess, 3);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return rc;
}
