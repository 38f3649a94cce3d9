// What a failing file, device or codec may not do to the program: a call
// stuck for ever must neither be made by the window's thread nor hold it when
// it stops the music; a device that went away must not have its buffers freed
// under it. The link routes the library's imports of these
// calls here.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "audio/AudioLibrary.h"
#include "win/audio/ToneFile.h"
#include "win/TestPack.h"

namespace {
std::atomic<bool> g_bDeviceGone{false};
std::atomic<int> g_nQueued{0};

// The call that blocks for ever when entered, and who entered the wrapped calls.
enum class Call { None, CreateFile, CodecOpen, CodecClose, DeviceOpen, DeviceReset, DeviceClose };
std::atomic<Call> g_stuck{Call::None};
std::atomic<int> g_nStuck{0};
std::atomic<DWORD> g_nWindowThread{0};
std::atomic<bool> g_bWindowThreadCalled{false};

void Enter(Call call) {
    if (GetCurrentThreadId() == g_nWindowThread.load()) g_bWindowThreadCalled = true;
    if (call == Call::None || call != g_stuck.load()) return;
    ++g_nStuck;
    Sleep(INFINITE);
}
HANDLE g_hDeviceEvent = nullptr;
std::vector<WAVEHDR*> g_kept;  // headers a gone device refused to give back

// Every block freed while watched, so that a test can tell whether the
// library freed what a device still owns.
std::atomic<bool> g_bWatchFrees{false};
void* g_freed[1 << 14];
std::atomic<size_t> g_nFreed{0};

bool Freed(const void* p) {
    return std::find(g_freed, g_freed + std::min(g_nFreed.load(), std::size(g_freed)), p) !=
           g_freed + std::min(g_nFreed.load(), std::size(g_freed));
}

template <typename Condition>
bool Within(DWORD nMilliseconds, Condition condition) {
    for (const DWORD nUntil = GetTickCount() + nMilliseconds; GetTickCount() < nUntil; Sleep(20))
        if (condition()) return true;
    return condition();
}

DWORD PlayTone() {
    if (!BASS_Init(-1, 44100, 0, nullptr) || !BASS_Start()) return 0;
    const DWORD hStream = BASS_StreamCreateFile(FALSE, ToneNextToProgram().c_str(), 0, 0, 0);
    return hStream && BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP) ? hStream : 0;
}

// The scene window's part: music on, then off once the stuck call is entered
// or a buffer played; how long switching it off took, in *pParam.
DWORD WINAPI MusicOnAndOff(LPVOID pParam) {
    g_nWindowThread = GetCurrentThreadId();
    const int nQueued = g_nQueued.load();
    const DWORD hStream = PlayTone();
    Within(5000, [&] { return g_nStuck.load() > 0 || g_nQueued.load() > nQueued; });
    const DWORD nStart = GetTickCount();
    BASS_StreamFree(hStream);
    BASS_Stop();
    BASS_Free();
    *static_cast<DWORD*>(pParam) = GetTickCount() - nStart;
    return 0;
}
}  // namespace

void operator delete(void* p) noexcept {
    if (p && g_bWatchFrees.load()) {
        const size_t n = g_nFreed++;
        if (n < std::size(g_freed)) g_freed[n] = p;
    }
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

void RecordOpen(DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);  // MusicPathTest.cpp

extern "C" {
extern decltype(&CreateFileW) __real___imp_CreateFileW;
extern decltype(&waveOutWrite) __real___imp_waveOutWrite;
extern decltype(&waveOutOpen) __real___imp_waveOutOpen;
extern decltype(&waveOutReset) __real___imp_waveOutReset;
extern decltype(&waveOutUnprepareHeader) __real___imp_waveOutUnprepareHeader;
extern decltype(&waveOutClose) __real___imp_waveOutClose;
decltype(acmStreamOpen) __real_acmStreamOpen;
decltype(acmStreamClose) __real_acmStreamClose;

decltype(&CreateFileW) __wrap___imp_CreateFileW = [](LPCWSTR pszName, auto... args) {
    if (std::wcsstr(pszName, L"audio_tone")) Enter(Call::CreateFile);
    RecordOpen(args...);
    return __real___imp_CreateFileW(pszName, args...);
};
decltype(&waveOutWrite) __wrap___imp_waveOutWrite = [](HWAVEOUT h, LPWAVEHDR p, UINT cb) {
    const MMRESULT result = __real___imp_waveOutWrite(h, p, cb);
    if (result == MMSYSERR_NOERROR) ++g_nQueued;
    return result;
};
decltype(&waveOutOpen) __wrap___imp_waveOutOpen = [](LPHWAVEOUT ph, UINT n, LPCWAVEFORMATEX pFormat,
                                                     DWORD_PTR nCallback, auto... args) {
    Enter(Call::DeviceOpen);
    g_hDeviceEvent = reinterpret_cast<HANDLE>(nCallback);
    return __real___imp_waveOutOpen(ph, n, pFormat, nCallback, args...);
};
decltype(&waveOutReset) __wrap___imp_waveOutReset = [](HWAVEOUT h) {
    Enter(Call::DeviceReset);
    return g_bDeviceGone.load() ? MMRESULT(MMSYSERR_NODRIVER) : __real___imp_waveOutReset(h);
};
decltype(&waveOutUnprepareHeader) __wrap___imp_waveOutUnprepareHeader = [](HWAVEOUT h, LPWAVEHDR p,
                                                                           UINT cb) {
    if (!g_bDeviceGone.load()) return __real___imp_waveOutUnprepareHeader(h, p, cb);
    g_kept.push_back(p);
    return MMRESULT(MMSYSERR_NODRIVER);
};
decltype(&waveOutClose) __wrap___imp_waveOutClose = [](HWAVEOUT h) {
    Enter(Call::DeviceClose);
    return g_bDeviceGone.load() ? MMRESULT(WAVERR_STILLPLAYING) : __real___imp_waveOutClose(h);
};
MMRESULT WINAPI __wrap_acmStreamOpen(LPHACMSTREAM ph, HACMDRIVER hDriver, LPWAVEFORMATEX pFrom,
                                     LPWAVEFORMATEX pTo, LPWAVEFILTER pFilter, DWORD_PTR nCallback,
                                     DWORD_PTR nInstance, DWORD nFlags) {
    Enter(Call::CodecOpen);
    return __real_acmStreamOpen(ph, hDriver, pFrom, pTo, pFilter, nCallback, nInstance, nFlags);
}
MMRESULT WINAPI __wrap_acmStreamClose(HACMSTREAM h, DWORD nFlags) {
    return Enter(Call::CodecClose), __real_acmStreamClose(h, nFlags);
}
}

// Music switched off while the file, the codec or the device hangs for ever:
// the window's thread never makes the call, and waits for it two seconds at
// most. The stuck thread stays where it is, with all it uses.
static void ExpectStoppingReturnsWhile(std::initializer_list<std::pair<const char*, Call>> rows) {
    for (const auto& [pszCall, call] : rows) {
        SCOPED_TRACE(pszCall);
        g_stuck = call;
        g_nStuck = 0;
        g_bWindowThreadCalled = false;
        DWORD nStopMs = ~0u;
        const HANDLE hWindow = CreateThread(nullptr, 0, MusicOnAndOff, &nStopMs, 0, nullptr);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hWindow, 10000)) << "the window's thread is held";
        CloseHandle(hWindow);
        EXPECT_LT(nStopMs, 3000u);
        EXPECT_GT(g_nStuck.load(), 0) << "the call was never made";
        EXPECT_FALSE(g_bWindowThreadCalled.load()) << "the window's thread called into file, codec or device";
        g_stuck = Call::None;
    }
}

TEST(AudioLibrary, StoppingReturnsWhileOpeningHangs) {
    ExpectStoppingReturnsWhile({{"CreateFileW on the music", Call::CreateFile}, {"acmStreamOpen", Call::CodecOpen}});
}

TEST(AudioLibrary, StoppingReturnsWhileTheCodecOrDeviceHangs) {
    FERRO_SKIP_IF(MissingForMusic());  // neither is reached without both
    ExpectStoppingReturnsWhile({{"acmStreamClose", Call::CodecClose}, {"waveOutOpen", Call::DeviceOpen},
                                {"waveOutReset", Call::DeviceReset}, {"waveOutClose", Call::DeviceClose}});
}

TEST(AudioLibrary, KeepsWhatAGoneDeviceStillOwns) {
    FERRO_SKIP_IF(MissingForMusic());
    const int nQueued = g_nQueued.load();
    const DWORD hStream = PlayTone();
    ASSERT_NE(0u, hStream);
    ASSERT_TRUE(Within(5000, [&] { return g_nQueued.load() > nQueued; }));
    g_bDeviceGone = g_bWatchFrees = true;
    EXPECT_TRUE(BASS_StreamFree(hStream));
    EXPECT_TRUE(BASS_Free());
    g_bDeviceGone = g_bWatchFrees = false;
    ASSERT_FALSE(g_kept.empty());
    EXPECT_FALSE(Freed(*std::min_element(g_kept.begin(), g_kept.end()))) << "the headers";
    for (WAVEHDR* pHeader : g_kept) EXPECT_FALSE(Freed(pHeader->lpData)) << "a buffer";
    DWORD nFlags = 0;
    EXPECT_TRUE(GetHandleInformation(g_hDeviceEvent, &nFlags)) << "the device's event";
}
