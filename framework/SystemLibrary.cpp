#include "framework/SystemLibrary.h"

FARPROC SystemLibraryProc(const char* pszLibrary, const char* pszProc)
{
    // By name, not by path: the manifest's side-by-side redirection (Common
    // Controls 6) applies to names only. System32 alone is searched; Windows 7
    // without KB2533623 refuses the flag, and then takes the usual search.
    HMODULE hModule = ::LoadLibraryExA(pszLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
        hModule = ::LoadLibraryA(pszLibrary);
    return hModule != nullptr ? ::GetProcAddress(hModule, pszProc) : nullptr;
}
