// The seven entry points over one AudioDevice, which exists exactly while the
// library is initialised. Only the program's user-interface thread calls them.
#include "audio/AudioLibrary.h"

#include "audio/AudioDevice.h"

namespace {
// Deliberately not a static object: if the process ends while initialised,
// no destructor runs against a device that the system is tearing down.
AudioDevice* g_pAudioDevice = nullptr;
}

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win) {
    (void)flags;
    (void)win;
    if (device != -1 && device != 1) return FALSE;  // only the default output
    // The output device is opened by each stream that has audio to play: merely
    // initialising starts nothing of the system's sound stack.
    if (freq == 0) return FALSE;
    if (g_pAudioDevice == nullptr) g_pAudioDevice = new AudioDevice();
    return TRUE;
}

BOOL BASS_Start() {
    if (!g_pAudioDevice) return FALSE;
    g_pAudioDevice->Start();
    return TRUE;
}

DWORD BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    (void)flags;
    if (!g_pAudioDevice) return 0;
    return g_pAudioDevice->CreateStream(mem != FALSE, file, offset, length);
}

BOOL BASS_StreamPlay(DWORD handle, BOOL flush, DWORD flags) {
    if (!g_pAudioDevice) return FALSE;
    return g_pAudioDevice->Play(handle, flush != FALSE, (flags & BASS_SAMPLE_LOOP) != 0);
}

BOOL BASS_StreamFree(DWORD handle) {
    return g_pAudioDevice && g_pAudioDevice->FreeStream(handle);
}

BOOL BASS_Stop() {
    if (!g_pAudioDevice) return FALSE;
    g_pAudioDevice->Stop();
    return TRUE;
}

BOOL BASS_Free() {
    if (!g_pAudioDevice) return FALSE;
    delete g_pAudioDevice;
    g_pAudioDevice = nullptr;
    return TRUE;
}
