#include "framework/SystemLibrary.h"

#include "framework/DelayImports.h"

#include <delayimp.h>

#include <cwchar>

namespace {

// Windows 7 without KB2533623 knows neither the LOAD_LIBRARY_SEARCH_* flags
// (LoadLibraryExW refuses them) nor SetDefaultDllDirectories.
bool SearchFlagsRefused(HMODULE hModule)
{
    return hModule == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER;
}

// A name the activation context redirects (the manifest's Common Controls 6)
// loads from the side-by-side store, before any search of folders.
bool RedirectedSideBySide(const wchar_t* pszName)
{
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, pszName, &data) != FALSE;
}

HMODULE LoadBySystem32Path(const wchar_t* pszName)
{
    wchar_t szPath[MAX_PATH];
    const UINT nDir = ::GetSystemDirectoryW(szPath, MAX_PATH);
    const size_t nName = std::wcslen(pszName);
    if (nDir == 0 || nDir + 1 + nName >= MAX_PATH)
        return nullptr;
    szPath[nDir] = L'\\';
    std::wmemcpy(szPath + nDir + 1, pszName, nName + 1);
    // The DLL's own imports are then looked for beside it, in System32, first.
    return ::LoadLibraryExW(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemLibrary(const char* pszName)
{
    wchar_t szName[64];
    size_t n = 0;
    for (; pszName[n] != '\0'; ++n) {
        if (n + 1 == sizeof szName / sizeof szName[0] || static_cast<unsigned char>(pszName[n]) > 0x7f)
            return nullptr;  // system DLLs have short ASCII names
        szName[n] = static_cast<wchar_t>(pszName[n]);
    }
    szName[n] = L'\0';
    // By name: the manifest's side-by-side redirection applies to names only.
    // The flag keeps the search, and that for the DLL's own imports, to System32.
    HMODULE hModule = ::LoadLibraryExW(szName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!SearchFlagsRefused(hModule))
        return hModule;
    return RedirectedSideBySide(szName) ? ::LoadLibraryExW(szName, nullptr, 0) : LoadBySystem32Path(szName);
}

// Every later search for a DLL, also those that system DLLs make on the
// program's behalf, looks in System32 alone.
void RestrictDllSearchToSystem32()
{
    using SetDefaultDllDirectoriesFn = BOOL WINAPI(DWORD);
    auto* const pSetDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (pSetDefaultDllDirectories != nullptr && pSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Without it, user32 and comctl32 look for the theming library by name,
    // the program's folder first. Bound from System32 now, the loaded copy is
    // the one they get. (opengl32, which gdi32 looks for, is bound next.)
    LoadSystemLibrary("uxtheme.dll");
}

// The delay-load helper's hook: it would otherwise call LoadLibrary, which
// searches the program's folder first.
FARPROC WINAPI BindDelayLoadedLibrary(unsigned nNotify, PDelayLoadInfo pInfo)
{
    if (nNotify != dliNotePreLoadLibrary)
        return nullptr;
    if (HMODULE hModule = LoadSystemLibrary(pInfo->szDll))
        return reinterpret_cast<FARPROC>(hModule);
    // Not in System32: fail as a missing import does, never look elsewhere.
    ULONG_PTR info = reinterpret_cast<ULONG_PTR>(pInfo);
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, &info);
    return nullptr;
}

}  // namespace

PfnDliHook __pfnDliNotifyHook2 = BindDelayLoadedLibrary;
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr pDescriptor, FARPROC* pEntry);

// The descriptors of the delay-load import libraries.
#define FERRO_DELAY_IMPORT(name) extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_lib##name##_delay_a;
FERRO_DELAY_IMPORTS
#undef FERRO_DELAY_IMPORT

namespace {

// Every function the program imports from them, bound before it is first
// called. Binding at the first call goes through dlltool's stub, which keeps
// the integer argument registers but not xmm0-3: that call's floating-point
// arguments would be lost (glColor4f, gluPerspective...).
void BindDelayLoadedImports()
{
    static const ImgDelayDescr* const descriptors[] = {
#define FERRO_DELAY_IMPORT(name) &__DELAY_IMPORT_DESCRIPTOR_lib##name##_delay_a,
        FERRO_DELAY_IMPORTS
#undef FERRO_DELAY_IMPORT
    };
    for (const ImgDelayDescr* pDescriptor : descriptors) {
        HMODULE hImage = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(pDescriptor), &hImage);
        auto* pEntry = reinterpret_cast<FARPROC*>(reinterpret_cast<BYTE*>(hImage) + pDescriptor->rvaIAT);
        for (; *pEntry != nullptr; ++pEntry)
            __delayLoadHelper2(pDescriptor, pEntry);
    }
}

// The first thing every program with this library does, before even the
// constructors of its global objects.
[[gnu::constructor(101)]] void BindSystemLibraries()
{
    RestrictDllSearchToSystem32();
    BindDelayLoadedImports();
}

}  // namespace

FARPROC SystemLibraryProc(const char* pszLibrary, const char* pszProc)
{
    HMODULE hModule = LoadSystemLibrary(pszLibrary);
    return hModule != nullptr ? ::GetProcAddress(hModule, pszProc) : nullptr;
}
