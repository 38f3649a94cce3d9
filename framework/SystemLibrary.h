// A system DLL loaded on first use rather than imported: the saver and the
// preview then never map what only the setup dialog needs.
#pragma once

#include <windows.h>

// The named export of a system DLL, which this loads; nullptr when either is
// missing. The DLL stays loaded for the rest of the process (the system's
// dialogs may leave threads running in it): callers keep the result.
FARPROC SystemLibraryProc(const char* pszLibrary, const char* pszProc);

template <class Fn> Fn* SystemLibraryFunction(const char* pszLibrary, const char* pszProc)
{
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(SystemLibraryProc(pszLibrary, pszProc)));
}
