// A recording stand-in for the seven audio library operations, linked into a
// test program instead of the real library. Each call is appended to
// g_FakeAudio.calls; results come from the fields below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct FakeAudioCall {
    std::string strName;      // "BASS_Init", ...
    int64_t nArg0 = 0;        // device / mem / handle
    int64_t nArg1 = 0;        // freq / offset / flush
    int64_t nArg2 = 0;        // flags / length / flags
    int64_t nArg3 = 0;        // flags (create)
    HWND hWnd = nullptr;      // BASS_Init's window
    std::string strPath;      // BASS_StreamCreateFile's path, as a C string
    bool operator==(const FakeAudioCall& o) const;
};

// A call with its numeric arguments, as recorded and as tests expect it.
FakeAudioCall MakeFakeAudioCall(const char* pszName, int64_t a0 = 0, int64_t a1 = 0,
                                int64_t a2 = 0, int64_t a3 = 0);

struct FakeAudioLibrary {
    std::vector<FakeAudioCall> calls;
    BOOL bInitResult = TRUE;
    DWORD hCreateResult = 0x1234;

    void Reset() { *this = FakeAudioLibrary(); }
    std::vector<std::string> Names() const;
};

extern FakeAudioLibrary g_FakeAudio;

// For readable test failures.
void PrintTo(const FakeAudioCall& call, std::ostream* pOut);
