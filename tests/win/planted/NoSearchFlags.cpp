// The saver as on a Windows 7 without KB2533623 (e2e.planted_dlls): the link
// routes the program's own LoadLibraryExW and GetProcAddress here, so that the
// LOAD_LIBRARY_SEARCH_* flags are refused as that Windows refuses them and
// kernel32 has no SetDefaultDllDirectories.
#include <windows.h>

#include <cstring>

extern "C" {
extern decltype(&LoadLibraryExW) __real___imp_LoadLibraryExW;
extern decltype(&GetProcAddress) __real___imp_GetProcAddress;

decltype(&LoadLibraryExW) __wrap___imp_LoadLibraryExW = [](LPCWSTR pszName, HANDLE hFile, DWORD nFlags) {
    if ((nFlags & 0xff00) != 0) {  // LOAD_LIBRARY_SEARCH_APPLICATION_DIR ... _DEFAULT_DIRS
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return HMODULE{};
    }
    return __real___imp_LoadLibraryExW(pszName, hFile, nFlags);
};
decltype(&GetProcAddress) __wrap___imp_GetProcAddress = [](HMODULE hModule, LPCSTR pszProc) {
    if (!IS_INTRESOURCE(pszProc) && std::strcmp(pszProc, "SetDefaultDllDirectories") == 0) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FARPROC{};
    }
    return __real___imp_GetProcAddress(hModule, pszProc);
};
}
