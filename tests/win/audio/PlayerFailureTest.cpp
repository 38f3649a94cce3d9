// A device that refuses a buffer must not leave a stream that claims to play
// and stays silent for ever: the player ends, and playing the stream again
// starts it afresh. The link routes the library's waveOutWrite import here.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "audio/AudioLibrary.h"
#include "win/audio/ToneFile.h"

namespace {
std::atomic<bool> g_bRefuse{false};
std::atomic<int> g_nQueued{0};
std::atomic<int> g_nRefused{0};

bool QueuedWithin(DWORD nMilliseconds) {
    const int nBefore = g_nQueued.load();
    for (DWORD nWaited = 0; nWaited < nMilliseconds; nWaited += 20) {
        if (g_nQueued.load() > nBefore) return true;
        Sleep(20);
    }
    return false;
}
}  // namespace

extern "C" {
extern decltype(&waveOutWrite) __real___imp_waveOutWrite;
static MMRESULT WINAPI RefusingWaveOutWrite(HWAVEOUT hWaveOut, LPWAVEHDR pHeader, UINT cbHeader) {
    if (g_bRefuse.load()) return ++g_nRefused, MMSYSERR_NOMEM;
    const MMRESULT result = __real___imp_waveOutWrite(hWaveOut, pHeader, cbHeader);
    if (result == MMSYSERR_NOERROR) ++g_nQueued;
    return result;
}
decltype(&waveOutWrite) __wrap___imp_waveOutWrite = RefusingWaveOutWrite;
}

TEST(AudioLibrary, PlaysAgainAfterTheDeviceRefusedABuffer) {
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    ASSERT_TRUE(BASS_Start());
    const std::string strTone = ToneNextToProgram();
    const DWORD hStream = BASS_StreamCreateFile(FALSE, strTone.c_str(), 0, 0, 0);
    ASSERT_NE(0u, hStream);
    ASSERT_TRUE(BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_TRUE(QueuedWithin(5000)) << "never played";

    g_bRefuse = true;  // the queued buffers drain; a refused one is never given back
    for (DWORD nWaited = 0; g_nRefused.load() == 0 && nWaited < 5000; nWaited += 20) Sleep(20);
    ASSERT_GT(g_nRefused.load(), 0) << "never asked the device for another buffer";
    g_bRefuse = false;
    EXPECT_FALSE(QueuedWithin(500)) << "went on playing through a refused buffer";
    ASSERT_TRUE(BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_TRUE(QueuedWithin(5000)) << "silent after the device refused a buffer";

    EXPECT_TRUE(BASS_StreamFree(hStream));
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_Free());
}
