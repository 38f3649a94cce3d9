// Plays the part of the system's settings page for preview mode: makes a parent
// window, starts "<scr> /p <hwnd>", waits for a visible child that fills the
// parent's client area, prints the modules the saver has loaded, keeps it a
// second (or, given a file and a size, until the file has grown to that size:
// the music starts late), then destroys the parent and waits for the saver to
// end. Prints each step as it happens; exit code 0 when all held.
#include <windows.h>
#include <tlhelp32.h>

#include "win/PumpUntil.h"

#include <cstdio>
#include <cstdlib>

namespace {

void PrintModules(DWORD nProcessId)
{
    std::printf("modules:");
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, nProcessId);
    MODULEENTRY32 me{};
    me.dwSize = sizeof me;
    for (BOOL bMore = hSnapshot != INVALID_HANDLE_VALUE && ::Module32First(hSnapshot, &me); bMore;
         bMore = ::Module32Next(hSnapshot, &me))
        std::printf(" %s", me.szModule);
    std::printf("\n");
    if (hSnapshot != INVALID_HANDLE_VALUE)
        ::CloseHandle(hSnapshot);
}

bool HasGrown(const char* pszFile, long long nSize)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};  // the file stays far below 4 GB
    return !pszFile ||
           (::GetFileAttributesExA(pszFile, GetFileExInfoStandard, &data) && data.nFileSizeLow >= nSize);
}

int Host(HWND hParent, HANDLE hSaver, const char* pszFile, long long nSize)
{
    HWND hChild = nullptr;
    if (!PumpUntil(30000, [&] { return ::IsWindowVisible(hChild = ::GetWindow(hParent, GW_CHILD)); }))
        return std::printf("FAIL: no visible child appeared\n"), 1;
    RECT client, rc;
    ::GetClientRect(hParent, &client);
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    std::printf("child %ld,%ld %ldx%ld in a client area of %ldx%ld\n", rc.left, rc.top,
                rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom);
    if (!::EqualRect(&rc, &client))
        return std::printf("FAIL: the child does not cover the client area exactly\n"), 1;
    PrintModules(::GetProcessId(hSaver));
    const auto ended = [&] { return ::WaitForSingleObject(hSaver, 0) == WAIT_OBJECT_0; };
    if (PumpUntil(1000, ended) || (PumpUntil(20000, [&] { return ended() || HasGrown(pszFile, nSize); }) && ended()))
        return std::printf("FAIL: the saver ended while its parent still existed\n"), 1;
    // Destroying the parent waits for the saver's thread: a saver that hangs
    // (or sits in a crash dialog) would hold this host until it is killed.
    if (!::SendMessageTimeoutA(hChild, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr))
        return std::printf("FAIL: the saver's window does not answer\n"), 1;
    ::DestroyWindow(hParent);
    if (!PumpUntil(20000, ended))
        return std::printf("FAIL: the saver did not end after its parent was destroyed\n"), 1;
    return std::printf("the saver ended with its parent\n"), 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // every line reaches the log as it happens
    HWND hParent = ::CreateWindowExA(0, "STATIC", "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     40, 40, 360, 280, nullptr, nullptr, nullptr, nullptr);
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, "\"%s\" /p %llu", argc > 1 ? argv[1] : "",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hParent)));
    std::printf("command: %s\n", cmd);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (hParent == nullptr || !::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return std::printf("FAIL: no parent window or no saver process\n"), 1;
    const int rc = Host(hParent, pi.hProcess, argc > 3 ? argv[2] : nullptr, argc > 3 ? std::atoll(argv[3]) : 0);
    if (rc != 0)
        ::TerminateProcess(pi.hProcess, 3);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return rc;
}
