// Stands in for a system tool planted in a folder (reg.exe, find.exe...): it
// only leaves a mark beside itself, "<its own path>.ran", to show that it ran.
#include <windows.h>

int main()
{
    wchar_t szMark[MAX_PATH + 8];
    const DWORD nLength = ::GetModuleFileNameW(nullptr, szMark, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 1;
    ::lstrcatW(szMark, L".ran");
    HANDLE hMark = ::CreateFileW(szMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return hMark == INVALID_HANDLE_VALUE ? 1 : (::CloseHandle(hMark), 0);
}
