#include "support/audio/FakeAudioLibrary.h"

#include "audio/AudioLibrary.h"

FakeAudioLibrary g_FakeAudio;

bool FakeAudioCall::operator==(const FakeAudioCall& o) const {
    return strName == o.strName && nArg0 == o.nArg0 && nArg1 == o.nArg1 && nArg2 == o.nArg2 &&
           nArg3 == o.nArg3 && hWnd == o.hWnd && strPath == o.strPath;
}

std::vector<std::string> FakeAudioLibrary::Names() const {
    std::vector<std::string> names;
    for (const FakeAudioCall& c : calls) names.push_back(c.strName);
    return names;
}

void PrintTo(const FakeAudioCall& c, std::ostream* pOut) {
    *pOut << c.strName << "(" << c.nArg0 << ", " << c.nArg1 << ", " << c.nArg2 << ", " << c.nArg3
          << ", hwnd " << c.hWnd << ", \"" << c.strPath << "\")";
}

FakeAudioCall MakeFakeAudioCall(const char* pszName, int64_t a0, int64_t a1, int64_t a2, int64_t a3) {
    FakeAudioCall c;
    c.strName = pszName;
    c.nArg0 = a0;
    c.nArg1 = a1;
    c.nArg2 = a2;
    c.nArg3 = a3;
    return c;
}

namespace {
void Record(const char* pszName, int64_t a0 = 0, int64_t a1 = 0, int64_t a2 = 0, int64_t a3 = 0) {
    g_FakeAudio.calls.push_back(MakeFakeAudioCall(pszName, a0, a1, a2, a3));
}
}  // namespace

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win) {
    Record("BASS_Init", device, freq, flags);
    g_FakeAudio.calls.back().hWnd = win;
    return g_FakeAudio.bInitResult;
}

BOOL BASS_Start() {
    Record("BASS_Start");
    return TRUE;
}

DWORD BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    Record("BASS_StreamCreateFile", mem, int64_t(offset), int64_t(length), flags);
    if (!mem && file) g_FakeAudio.calls.back().strPath = static_cast<const char*>(file);
    return g_FakeAudio.hCreateResult;
}

BOOL BASS_StreamPlay(DWORD handle, BOOL flush, DWORD flags) {
    Record("BASS_StreamPlay", handle, flush, flags);
    return TRUE;
}

BOOL BASS_StreamFree(DWORD handle) {
    Record("BASS_StreamFree", handle);
    return TRUE;
}

BOOL BASS_Stop() {
    Record("BASS_Stop");
    return TRUE;
}

BOOL BASS_Free() {
    Record("BASS_Free");
    return TRUE;
}
