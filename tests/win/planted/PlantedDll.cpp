// A DLL planted beside a program, as an attacker would leave one in Downloads
// (e2e.planted_dlls copies it under the names of system DLLs): when it is
// loaded, it leaves a mark, an empty file beside itself named after it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, void*)
{
    if (nReason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t szMark[MAX_PATH + 6];
    const DWORD n = ::GetModuleFileNameW(hInstance, szMark, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return TRUE;
    ::lstrcpyW(szMark + n, L".mark");
    HANDLE hFile = ::CreateFileW(szMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    return TRUE;
}
