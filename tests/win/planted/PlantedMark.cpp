// Planted where a program looks first, as an attacker would leave it: as a DLL
// beside the saver (PlantedDll, copied under the names of system DLLs by
// e2e.planted_dlls) or as a system tool beside the test pack's runner
// (PlantedTool, as reg.exe, find.exe... in win.test_zip). Loaded or run, it
// only leaves a mark beside itself, a file named after it: "<its path>.mark"
// for the DLL, "<its path>.ran" for the tool.
#include <windows.h>

static bool LeaveMark(HMODULE hModule, const wchar_t* pszSuffix)
{
    wchar_t szMark[MAX_PATH + 8];
    const DWORD n = ::GetModuleFileNameW(hModule, szMark, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    ::lstrcpyW(szMark + n, pszSuffix);
    HANDLE hMark = ::CreateFileW(szMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return hMark != INVALID_HANDLE_VALUE && ::CloseHandle(hMark);
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, void*)
{
    if (nReason == DLL_PROCESS_ATTACH)
        LeaveMark(hInstance, L".mark");
    return TRUE;
}

int main()
{
    return LeaveMark(nullptr, L".ran") ? 0 : 1;
}
