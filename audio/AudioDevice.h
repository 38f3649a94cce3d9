// The library's state between BASS_Init and BASS_Free: whether output runs,
// and the streams by handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>

#include "audio/AudioStream.h"

class AudioDevice {
public:
    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    DWORD CreateStream(bool bMemory, const void* pFile, uint64_t nOffset, uint64_t nLength);
    bool Play(DWORD hStream, bool bRestart, bool bLoop);
    bool FreeStream(DWORD hStream);
    // Output as a whole: paused streams stay where they are.
    void Start();
    void Stop();

private:
    std::map<DWORD, std::unique_ptr<AudioStream>> m_streams;
    DWORD m_nNextHandle = 0x10000;
    bool m_bStarted = true;
};
