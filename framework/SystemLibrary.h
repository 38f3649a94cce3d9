// System DLLs from System32 alone. Windows searches the program's own folder
// first for every DLL that is not a KnownDLL, and a saver is often run from
// Downloads: a DLL planted there must never load. So the program imports only
// KnownDLLs when it loads. Before any of its own code runs, this restricts
// every later search for a DLL to System32 (also those that system DLLs make
// on its behalf: sound drivers, codecs, the OpenGL driver, theming) and binds
// from there the DLLs of framework/DelayImports.h (opengl32, glu32, winmm,
// msacm32); the setup dialog's comctl32 and comdlg32 come from here too, when
// it opens.
#pragma once

#include <windows.h>

// The named export of a system DLL, which this loads from System32 (one that
// the manifest redirects, Common Controls 6, from the side-by-side store);
// nullptr when either is missing. The DLL stays loaded for the rest of the process (the system's
// dialogs may leave threads running in it): callers keep the result.
FARPROC SystemLibraryProc(const char* pszLibrary, const char* pszProc);

template <class Fn> Fn* SystemLibraryFunction(const char* pszLibrary, const char* pszProc)
{
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(SystemLibraryProc(pszLibrary, pszProc)));
}
