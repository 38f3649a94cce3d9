// Plays an MP3 file through the audio library for a while, for the CPU
// benchmark (scripts/bench-audio).
//   AudioPlayTool FILE SECONDS [AFTER_SECONDS]
// Loops FILE for SECONDS, frees the stream and the library, then stays alive
// AFTER_SECONDS more (so a capture can be seen to stop growing). Prints one
// line per step; exit code 0 when the stream played, 2 when the library
// refused it, 1 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "audio/AudioLibrary.h"

namespace {

double CpuSeconds() {
    FILETIME create, exitTime, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &create, &exitTime, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& t) {
        return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: AudioPlayTool FILE SECONDS [AFTER_SECONDS]\n");
        return 1;
    }
    const double dSeconds = std::atof(argv[2]);
    const double dAfter = argc > 3 ? std::atof(argv[3]) : 0.0;
    if (!BASS_Init(-1, 44100, 0, nullptr)) {
        std::printf("init failed\n");
        return 2;
    }
    BASS_Start();
    LARGE_INTEGER nFreq, nBefore, nAfter;
    QueryPerformanceFrequency(&nFreq);
    QueryPerformanceCounter(&nBefore);
    const DWORD hStream = BASS_StreamCreateFile(FALSE, argv[1], 0, 0, 0);
    QueryPerformanceCounter(&nAfter);
    std::printf("open_ms %.2f\n", 1000.0 * double(nAfter.QuadPart - nBefore.QuadPart) / double(nFreq.QuadPart));
    if (hStream == 0) {
        std::printf("stream failed\n");
        BASS_Free();
        return 2;
    }
    const double dCpuBefore = CpuSeconds();
    const DWORD nStart = GetTickCount();
    BASS_StreamPlay(hStream, FALSE, BASS_SAMPLE_LOOP);
    std::printf("playing\n");
    std::fflush(stdout);
    Sleep(DWORD(dSeconds * 1000));
    const double dCpu = CpuSeconds() - dCpuBefore;
    const double dWall = (GetTickCount() - nStart) * 0.001;
    BASS_StreamFree(hStream);
    BASS_Stop();
    BASS_Free();
    std::printf("freed\ncpu_seconds %.3f wall_seconds %.3f cpu_percent %.2f\n", dCpu, dWall,
                dWall > 0 ? 100.0 * dCpu / dWall : 0.0);
    std::fflush(stdout);
    Sleep(DWORD(dAfter * 1000));
    return 0;
}
