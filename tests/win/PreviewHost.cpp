// Plays the part of the system's settings page for preview mode: makes a parent
// window, starts the saver with its handle ("<scr> /p <hwnd><suffix>"), waits
// for a visible child that fills the parent's client area, then destroys the
// parent and waits for the saver to end. Prints what it saw; exit code 0 when
// everything held.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

HWND VisibleChild(HWND hParent)
{
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::IsWindowVisible(h))
            return h;
    return nullptr;
}

HWND MakeParent()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "FerroPreviewHost";
    ::RegisterClassA(&wc);
    HWND h = ::CreateWindowExA(0, wc.lpszClassName, "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               40, 40, 360, 280, nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
    return h;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: PreviewHost <Ferrovane.scr> [handle suffix]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // every line reaches the log, even if we die
    const std::string suffix = argc > 2 ? argv[2] : "";
    HWND hParent = MakeParent();
    RECT client;
    ::GetClientRect(hParent, &client);

    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, "\"%s\" /p %llu%s", argv[1],
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hParent)), suffix.c_str());
    std::printf("command: %s\n", cmd);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("FAIL: CreateProcess error %lu\n", ::GetLastError());
        return 1;
    }

    int failures = 0;
    HWND hChild = nullptr;
    for (int i = 0; i < 300 && hChild == nullptr; ++i) {  // up to 30 s
        Pump();
        hChild = VisibleChild(hParent);
        if (hChild == nullptr)
            ::Sleep(100);
    }
    if (hChild == nullptr) {
        std::printf("FAIL: no visible child appeared\n");
        ++failures;
    } else {
        RECT rc{ -1, -1, -1, -1 };
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        std::printf("child: %ld,%ld %ldx%ld; parent client: %ldx%ld\n", rc.left, rc.top,
                    rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom);
        if (rc.left != 0 || rc.top != 0 || rc.right != client.right || rc.bottom != client.bottom) {
            std::printf("FAIL: the child does not cover the client area exactly\n");
            ++failures;
        }
        DWORD childPid = 0;
        ::GetWindowThreadProcessId(hChild, &childPid);
        if (childPid != pi.dwProcessId) {
            std::printf("FAIL: the child belongs to process %lu, not the saver %lu\n", childPid, pi.dwProcessId);
            ++failures;
        }
    }

    // Let it run a little, then close the settings page.
    for (int i = 0; i < 10; ++i) {
        Pump();
        ::Sleep(100);
    }
    if (::WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT) {
        std::printf("FAIL: the saver ended while its parent still existed\n");
        ++failures;
    }
    ::DestroyWindow(hParent);
    DWORD waited = WAIT_TIMEOUT;
    for (int i = 0; i < 200 && waited == WAIT_TIMEOUT; ++i) {  // up to 20 s
        Pump();
        waited = ::WaitForSingleObject(pi.hProcess, 100);
    }
    if (waited != WAIT_OBJECT_0) {
        std::printf("FAIL: the saver did not end after its parent was destroyed\n");
        ::TerminateProcess(pi.hProcess, 3);
        ++failures;
    } else {
        std::printf("the saver ended after its parent was destroyed\n");
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    std::printf("%s\n", failures == 0 ? "PASS" : "FAIL");
    return failures == 0 ? 0 : 1;
}
