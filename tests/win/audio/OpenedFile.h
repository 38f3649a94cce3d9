// What the audio library asked of CreateFileW last: the link's wrap of it
// hands every call's arguments after the name to RecordOpen.
#pragma once

#include <windows.h>

#include <atomic>

extern std::atomic<DWORD> g_nLastOpenFlags;
void RecordOpen(DWORD nAccess, DWORD nShare, LPSECURITY_ATTRIBUTES pSecurity, DWORD nDisposition,
                DWORD nFlags, HANDLE hTemplate);
