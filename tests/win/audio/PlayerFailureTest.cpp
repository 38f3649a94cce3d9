// What a failing device or codec may not do to the program: a refused buffer
// must not leave a stream that claims to play and stays silent for ever; a
// codec stuck for ever must not hold the window that closes; a device that
// went away must not have its buffers freed under it. The link routes the
// library's imports of these calls here.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "audio/AudioLibrary.h"
#include "win/audio/ToneFile.h"
#include "win/TestPack.h"

namespace {
std::atomic<bool> g_bRefuse{false};
std::atomic<bool> g_bCodecStuck{false};
std::atomic<bool> g_bDeviceGone{false};
std::atomic<int> g_nQueued{0};
std::atomic<int> g_nRefused{0};
std::atomic<int> g_nStuck{0};
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

bool QueuedWithin(DWORD nMilliseconds) {
    const int nBefore = g_nQueued.load();
    return Within(nMilliseconds, [&] { return g_nQueued.load() > nBefore; });
}

DWORD PlayTone() {
    if (!BASS_Init(-1, 44100, 0, nullptr) || !BASS_Start()) return 0;
    const DWORD hStream = BASS_StreamCreateFile(FALSE, ToneNextToProgram().c_str(), 0, 0, 0);
    return hStream && BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP) ? hStream : 0;
}

DWORD WINAPI FreeStream(LPVOID hStream) {
    BASS_StreamFree(DWORD(reinterpret_cast<UINT_PTR>(hStream)));
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

extern "C" {
extern decltype(&waveOutWrite) __real___imp_waveOutWrite;
extern decltype(&waveOutOpen) __real___imp_waveOutOpen;
extern decltype(&waveOutReset) __real___imp_waveOutReset;
extern decltype(&waveOutUnprepareHeader) __real___imp_waveOutUnprepareHeader;
extern decltype(&waveOutClose) __real___imp_waveOutClose;
MMRESULT WINAPI __real_acmStreamConvert(HACMSTREAM, LPACMSTREAMHEADER, DWORD);

static MMRESULT WINAPI TestWaveOutWrite(HWAVEOUT hWaveOut, LPWAVEHDR pHeader, UINT cbHeader) {
    if (g_bRefuse.load()) return ++g_nRefused, MMSYSERR_NOMEM;
    const MMRESULT result = __real___imp_waveOutWrite(hWaveOut, pHeader, cbHeader);
    if (result == MMSYSERR_NOERROR) ++g_nQueued;
    return result;
}
static MMRESULT WINAPI TestWaveOutOpen(LPHWAVEOUT phWaveOut, UINT uDevice, LPCWAVEFORMATEX pFormat,
                                       DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) {
    g_hDeviceEvent = reinterpret_cast<HANDLE>(dwCallback);
    return __real___imp_waveOutOpen(phWaveOut, uDevice, pFormat, dwCallback, dwInstance, fdwOpen);
}
static MMRESULT WINAPI TestWaveOutReset(HWAVEOUT hWaveOut) {
    return g_bDeviceGone.load() ? MMSYSERR_NODRIVER : __real___imp_waveOutReset(hWaveOut);
}
static MMRESULT WINAPI TestWaveOutUnprepareHeader(HWAVEOUT hWaveOut, LPWAVEHDR pHeader, UINT cb) {
    if (!g_bDeviceGone.load()) return __real___imp_waveOutUnprepareHeader(hWaveOut, pHeader, cb);
    g_kept.push_back(pHeader);
    return MMSYSERR_NODRIVER;
}
static MMRESULT WINAPI TestWaveOutClose(HWAVEOUT hWaveOut) {
    return g_bDeviceGone.load() ? WAVERR_STILLPLAYING : __real___imp_waveOutClose(hWaveOut);
}
decltype(&waveOutWrite) __wrap___imp_waveOutWrite = TestWaveOutWrite;
decltype(&waveOutOpen) __wrap___imp_waveOutOpen = TestWaveOutOpen;
decltype(&waveOutReset) __wrap___imp_waveOutReset = TestWaveOutReset;
decltype(&waveOutUnprepareHeader) __wrap___imp_waveOutUnprepareHeader = TestWaveOutUnprepareHeader;
decltype(&waveOutClose) __wrap___imp_waveOutClose = TestWaveOutClose;

MMRESULT WINAPI __wrap_acmStreamConvert(HACMSTREAM h, LPACMSTREAMHEADER p, DWORD f) {
    if (g_bCodecStuck.load()) {
        ++g_nStuck;
        Sleep(INFINITE);
    }
    return __real_acmStreamConvert(h, p, f);
}
}

TEST(AudioLibrary, PlaysAgainAfterTheDeviceRefusedABuffer) {
    FERRO_SKIP_IF(MissingForMusic());
    const DWORD hStream = PlayTone();
    ASSERT_NE(0u, hStream);
    EXPECT_TRUE(QueuedWithin(5000)) << "never played";

    g_bRefuse = true;  // the queued buffers drain; a refused one is never given back
    ASSERT_TRUE(Within(5000, [] { return g_nRefused.load() > 0; })) << "never asked the device for another buffer";
    g_bRefuse = false;
    EXPECT_FALSE(QueuedWithin(500)) << "went on playing through a refused buffer";
    ASSERT_TRUE(BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_TRUE(QueuedWithin(5000)) << "silent after the device refused a buffer";

    EXPECT_TRUE(BASS_StreamFree(hStream));
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_Free());
}

TEST(AudioLibrary, StoppingReturnsWhileTheCodecIsStuck) {
    FERRO_SKIP_IF(MissingForMusic());
    const DWORD hStream = PlayTone();
    ASSERT_NE(0u, hStream);
    g_bCodecStuck = true;
    ASSERT_TRUE(Within(5000, [] { return g_nStuck.load() > 0; })) << "the codec was never called";
    const HANDLE hFree = CreateThread(nullptr, 0, FreeStream,
                                      reinterpret_cast<LPVOID>(UINT_PTR(hStream)), 0, nullptr);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hFree, 3000)) << "stopping waits for the codec";
    CloseHandle(hFree);
    EXPECT_TRUE(BASS_Free());
    g_bCodecStuck = false;  // the stuck thread stays where it is, with all it uses
}

TEST(AudioLibrary, KeepsWhatAGoneDeviceStillOwns) {
    FERRO_SKIP_IF(MissingForMusic());
    const DWORD hStream = PlayTone();
    ASSERT_NE(0u, hStream);
    ASSERT_TRUE(QueuedWithin(5000));
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
