// What a failing file, device or codec may not do to the program: a call
// stuck in the stream's thread must neither be made by the window's thread
// nor hold it, and costs one stuck stream however often the music is switched;
// a device that went must not have its buffers freed under it, and the music
// plays on once it is back. The link routes the library's imports of these
// calls here; the music is a scene window's, switched as the setup dialog does.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <memory>
#include <vector>

#include "scene/SceneWnd.h"
#include "sound/SceneMusic.h"
#include "win/PumpUntil.h"
#include "win/TestPack.h"

namespace {
// The call that blocks when entered, until the row lets it go on; the
// window's thread is never held there, only seen to have called.
enum class Call { None, ThreadStart, CreateFile, CodecOpen, CodecClose, DeviceOpen, DeviceReset, DeviceClose };
std::atomic<Call> g_stuck{Call::None};
std::atomic<int> g_nStuck{0}, g_nFileOpens{0};
const HANDLE g_hRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
std::atomic<DWORD> g_nWindowThread{0};
std::atomic<bool> g_bWindowThreadCalled{false};

void Enter(Call call) {
    if (GetCurrentThreadId() == g_nWindowThread.load()) g_bWindowThreadCalled = true;
    else if (call != Call::None && call == g_stuck.load()) ++g_nStuck, WaitForSingleObject(g_hRelease, INFINITE);
}

// The device as the rows make it fail: it refuses the next writes
// or every open, or takes the writes of the device opened as g_nSwallowOpen
// without ever playing them; it refuses to give buffers back or to close.
std::atomic<int> g_nWritesToRefuse{0}, g_nOpens{0}, g_nSwallowOpen{-1}, g_nCloses{0};
std::atomic<bool> g_bOpensRefused{false}, g_bUnprepareRefused{false}, g_bCloseRefused{false};
std::atomic<int> g_nQueued{0};  // buffers a real device took
HANDLE g_hDeviceEvent = nullptr;
std::vector<WAVEHDR*> g_kept;  // headers the device refused to give back

// Every block freed while watched, so that a test can tell whether the
// library freed what a device still owns.
std::atomic<bool> g_bWatching{false};
void* g_freed[1 << 14];
std::atomic<size_t> g_nFreed{0};
void WatchFrees(bool bOn) { g_nFreed = bOn ? 0 : g_nFreed.load(), g_bWatching = bOn; }
bool Freed(const void* p) {
    const auto pEnd = g_freed + std::min(g_nFreed.load(), std::size(g_freed));
    return std::find(g_freed, pEnd, p) != pEnd;
}

size_t ThreadCount() {
    const HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    size_t n = 0;
    for (BOOL b = Thread32First(hSnapshot, &entry); b; b = Thread32Next(hSnapshot, &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    return CloseHandle(hSnapshot), n;
}

// A scene window with its music on, as the saver has it: its creation starts
// the music and draws the first frame; its destruction stops the music.
struct MusicScene {
    CWnd host;
    CSceneWnd wnd{0};
    MusicScene() {
        host.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), "", WS_POPUP | WS_VISIBLE, 0, 0,
                      64, 48, nullptr, nullptr);
        wnd.SetMp3Path(ToneNextToProgram());
        wnd.SetMusicEnabled(1);
        wnd.CreateSceneWindow(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 64, 48}, &host);
        UpdateWindow(wnd.m_hWnd);
    }
    void ClickMusicBox() {
        wnd.SetMusicEnabled(!wnd.m_bMusic);
        wnd.m_bMusic ? wnd.StartMusic() : wnd.StopMusic();
    }
};

}  // namespace

void operator delete(void* p) noexcept {
    if (p && g_bWatching.load()) {
        const size_t n = g_nFreed++;
        if (n < std::size(g_freed)) g_freed[n] = p;
    }
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

void RecordOpen(DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);  // MusicPathTest.cpp

extern "C" {
#define FERRO_REAL(f) extern decltype(&f) __real___imp_##f;
FERRO_REAL(CreateThread) FERRO_REAL(CreateFileW) FERRO_REAL(waveOutWrite)
FERRO_REAL(waveOutOpen) FERRO_REAL(waveOutReset) FERRO_REAL(waveOutUnprepareHeader) FERRO_REAL(waveOutClose)
decltype(acmStreamOpen) __real_acmStreamOpen;
decltype(acmStreamClose) __real_acmStreamClose;

// Threads that the window's thread starts wait for the row to let them go.
decltype(&CreateThread) __wrap___imp_CreateThread = [](LPSECURITY_ATTRIBUTES pSecurity, SIZE_T nStack,
                                                       LPTHREAD_START_ROUTINE pStart, LPVOID pParam, auto... args) {
    using Start = std::pair<LPTHREAD_START_ROUTINE, LPVOID>;
    if (GetCurrentThreadId() != g_nWindowThread.load() || g_stuck.load() != Call::ThreadStart)
        return __real___imp_CreateThread(pSecurity, nStack, pStart, pParam, args...);
    return __real___imp_CreateThread(pSecurity, nStack, [](LPVOID p) -> DWORD {
        const Start start = *static_cast<Start*>(p);
        delete static_cast<Start*>(p);
        return Enter(Call::ThreadStart), start.first(start.second);
    }, new Start(pStart, pParam), args...);
};
decltype(&CreateFileW) __wrap___imp_CreateFileW = [](LPCWSTR pszName, auto... args) {
    if (std::wcsstr(pszName, L"audio_tone")) ++g_nFileOpens, Enter(Call::CreateFile);
    RecordOpen(args...);
    return __real___imp_CreateFileW(pszName, args...);
};
decltype(&waveOutWrite) __wrap___imp_waveOutWrite = [](HWAVEOUT h, LPWAVEHDR p, UINT cb) {
    if (g_nWritesToRefuse.load() > 0) return --g_nWritesToRefuse, MMRESULT(MMSYSERR_NODRIVER);
    if (g_nOpens.load() == g_nSwallowOpen.load()) return MMRESULT(MMSYSERR_NOERROR);
    const MMRESULT result = __real___imp_waveOutWrite(h, p, cb);
    if (result == MMSYSERR_NOERROR) ++g_nQueued;
    return result;
};
decltype(&waveOutOpen) __wrap___imp_waveOutOpen = [](LPHWAVEOUT ph, UINT n, LPCWAVEFORMATEX pFormat,
                                                     DWORD_PTR nCallback, auto... args) {
    if (Enter(Call::DeviceOpen), ++g_nOpens, g_bOpensRefused.load()) return MMRESULT(MMSYSERR_NODRIVER);
    g_hDeviceEvent = reinterpret_cast<HANDLE>(nCallback);
    return __real___imp_waveOutOpen(ph, n, pFormat, nCallback, args...);
};
decltype(&waveOutReset) __wrap___imp_waveOutReset = [](HWAVEOUT h) { return Enter(Call::DeviceReset), __real___imp_waveOutReset(h); };
decltype(&waveOutUnprepareHeader) __wrap___imp_waveOutUnprepareHeader = [](HWAVEOUT h, LPWAVEHDR p, auto... args) {
    if (!g_bUnprepareRefused.load()) return __real___imp_waveOutUnprepareHeader(h, p, args...);
    g_kept.push_back(p);
    return MMRESULT(MMSYSERR_NODRIVER);
};
decltype(&waveOutClose) __wrap___imp_waveOutClose = [](HWAVEOUT h) {
    Enter(Call::DeviceClose), ++g_nCloses;
    return g_bCloseRefused.load() ? MMRESULT(WAVERR_STILLPLAYING) : __real___imp_waveOutClose(h);
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

// The music box worked while the thread's start, the file, the codec or the
// device hangs: the window's thread never makes the call, creates its window
// and draws its first frame, and ten clicks wait about two seconds in all and leave one stuck
// thread at most. Once the call returns, that stream goes and music plays
// again; a stream stopped before its thread began never opened its file.
static void ExpectOneStuckStreamWhile(std::initializer_list<std::pair<const char*, Call>> rows) {
    g_nWindowThread = GetCurrentThreadId();
    for (const auto& [pszCall, call] : rows) {
        SCOPED_TRACE(pszCall);
        g_stuck = call, g_nStuck = g_nFileOpens = 0, g_bWindowThreadCalled = false;
        ResetEvent(g_hRelease);
        const int nQueued = g_nQueued.load();
        MusicScene music;  // its window and first frame come while the call hangs
        EXPECT_TRUE(PumpUntil(5000, [&] { return g_nStuck.load() > 0 || g_nQueued.load() > nQueued; }))
            << "within 5 s, neither the call was made nor a buffer played";
        const size_t nThreads = ThreadCount();
        DWORD nClicksMs = 0;
        for (int i = 0; i < 10; ++i) {
            const DWORD nStart = GetTickCount();
            const int nStuck = g_nStuck.load(), nPlayed = g_nQueued.load();
            music.ClickMusicBox();
            nClicksMs += GetTickCount() - nStart;
            // As a person clicks: a stream that starts gets as far as it can first.
            if (g_hMusicStream) PumpUntil(1000, [&] { return g_nStuck.load() > nStuck || g_nQueued.load() > nPlayed; });
        }
        EXPECT_LE(nClicksMs, 2500u) << "ten clicks of the music box";
        EXPECT_LE(ThreadCount(), nThreads + 1) << "threads after the clicks";
        EXPECT_GT(g_nStuck.load(), 0) << "the call was never made";
        SetEvent(g_hRelease);
        int nFileOpens = -1;  // by the stuck stream, once its call returned
        EXPECT_TRUE(PumpUntil(5000, [&] {
            nFileOpens = g_nFileOpens.load();
            return music.ClickMusicBox(), music.ClickMusicBox(), g_hMusicStream != 0;
        })) << "within 5 s of the call's return, the music box starts no stream";
        EXPECT_EQ(call == Call::ThreadStart ? 0 : 1, nFileOpens) << "opens of the file";
        EXPECT_FALSE(g_bWindowThreadCalled.load()) << "the window's thread called into file, codec or device";
        g_stuck = Call::None;
    }
    g_nWindowThread = 0;
}

TEST(AudioLibrary, StoppingReturnsWhileOpeningHangs) {
    ExpectOneStuckStreamWhile({{"the stream's thread, before it runs", Call::ThreadStart},
                               {"CreateFileW on the music", Call::CreateFile}, {"acmStreamOpen", Call::CodecOpen}});
}

TEST(AudioLibrary, StoppingReturnsWhileTheCodecOrDeviceHangs) {
    FERRO_SKIP_IF(MissingForMusic());  // neither is reached without both
    ExpectOneStuckStreamWhile({{"acmStreamClose", Call::CodecClose}, {"waveOutOpen", Call::DeviceOpen},
                               {"waveOutReset", Call::DeviceReset}, {"waveOutClose", Call::DeviceClose}});
}

// A device that goes while the music plays. One that refuses a buffer or
// never gives one back is closed and looked for again, at once and then every
// 2 s, not in a busy loop; once it is back the music plays on. One that
// refuses to give its buffers back is closed all the same and keeps them (and
// its event, when it refuses to close too). Stopping never waits.
TEST(AudioLibrary, KeepsWhatAGoneDeviceOwnsAndPlaysOnWhenItIsBack) {
    FERRO_SKIP_IF(MissingForMusic());
    enum Then { ComesBack, StaysGone, IsStopped };
    const struct { const char* pszRow; int nRefusals; bool bSwallows, bOpensRefused, bUnprepareRefused, bCloseRefused;
                   Then eThen; } rows[] = {
        {"three writes refused", 3, false, false, false, false, ComesBack},
        {"no buffer given back", 0, true, false, false, false, ComesBack},
        {"a write refused, then every open", 1, false, true, false, false, StaysGone},
        {"every write refused", 1 << 30, false, false, false, false, StaysGone},
        {"its buffers not given back", 0, false, false, true, false, IsStopped},
        {"its buffers not given back, nor itself closed", 0, false, false, true, true, IsStopped},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        const int nPlayed = g_nQueued.load();  // the music on, once a real device took a buffer of it
        auto pMusic = std::make_unique<MusicScene>();
        EXPECT_TRUE(PumpUntil(5000, [&] { return g_nQueued.load() > nPlayed; })) << "no buffer played within 5 s";
        const int nOpens = g_nOpens.load(), nCloses = g_nCloses.load();
        g_kept.clear();
        g_bOpensRefused = row.bOpensRefused, g_nSwallowOpen = row.bSwallows ? nOpens : -1;
        g_bUnprepareRefused = row.bUnprepareRefused, g_bCloseRefused = row.bCloseRefused;
        g_nWritesToRefuse = row.nRefusals;
        if (row.eThen == ComesBack) {  // looked for at once, then every 2 s: the refusals take 4 s
            EXPECT_TRUE(PumpUntil(5000, [&] { return g_nWritesToRefuse.load() == 0 && g_nOpens.load() > nOpens; }))
                << "within 5 s, no second waveOutOpen took the refusals";
            const int nQueued = g_nQueued.load();  // the devices that refused are closed
            EXPECT_TRUE(PumpUntil(5000, [&] { return g_nQueued.load() > nQueued; }))
                << "within 5 s more, no device opened again took a buffer";
        } else if (row.eThen == StaysGone) {
            Sleep(4500);
            EXPECT_TRUE(g_nOpens.load() - nOpens >= 2 && g_nOpens.load() - nOpens <= 4) << g_nOpens - nOpens << " opens in 4.5 s";
        }
        const DWORD nStart = GetTickCount();
        WatchFrees(true);
        pMusic.reset();
        WatchFrees(false);
        EXPECT_LT(GetTickCount() - nStart, 1000u) << "stopping waited";
        g_bOpensRefused = g_bUnprepareRefused = g_bCloseRefused = false, g_nSwallowOpen = -1, g_nWritesToRefuse = 0;
        if (row.eThen != IsStopped) continue;
        EXPECT_GT(g_nCloses.load(), nCloses) << "the device was not closed";
        ASSERT_FALSE(g_kept.empty());
        EXPECT_FALSE(Freed(*std::min_element(g_kept.begin(), g_kept.end()))) << "the headers";
        for (WAVEHDR* pHeader : g_kept) EXPECT_FALSE(Freed(pHeader->lpData)) << "a buffer";
        DWORD nFlags = 0;
        EXPECT_TRUE(!row.bCloseRefused || GetHandleInformation(g_hDeviceEvent, &nFlags)) << "the device's event";
    }
}
