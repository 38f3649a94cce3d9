#include "audio/AudioDevice.h"

// Returns at once: the stream's own thread opens the file, the codec and the device.
DWORD AudioDevice::CreateStream(bool bMemory, const void* pFile, uint64_t nOffset,
                                uint64_t nLength) {
    if (pFile == nullptr || (!bMemory && *static_cast<const char*>(pFile) == '\0')) return 0;
    // While a stream given up on is still stuck in a call, the system's file,
    // codec or device is likely to hold a new one too: it stays silent.
    if (StuckStreams() > 0) return 0;
    const DWORD h = m_nNextHandle;
    if (h == 0 || m_streams.count(h)) return 0;  // only after four billion streams
    auto pStream = std::make_unique<AudioStream>();
    pStream->SetPaused(!m_bStarted);
    if (!pStream->Start(bMemory ? nullptr : static_cast<const char*>(pFile), bMemory ? pFile : nullptr,
                        nOffset, nLength))
        return 0;
    ++m_nNextHandle;
    m_streams.emplace(h, std::move(pStream));
    return h;
}

bool AudioDevice::Play(DWORD hStream, bool bRestart, bool bLoop) {
    auto it = m_streams.find(hStream);
    if (it == m_streams.end()) return false;
    it->second->Play(bLoop, bRestart);
    return true;
}

AudioDevice::~AudioDevice() {
    for (auto& entry : m_streams) FreeOrGiveUp(std::move(entry.second));
}

bool AudioDevice::FreeStream(DWORD hStream) {
    auto it = m_streams.find(hStream);
    if (it == m_streams.end()) return false;
    FreeOrGiveUp(std::move(it->second));
    m_streams.erase(it);
    return true;
}

void AudioDevice::Start() {
    m_bStarted = true;
    for (auto& entry : m_streams) entry.second->SetPaused(false);
}

void AudioDevice::Stop() {
    m_bStarted = false;
    for (auto& entry : m_streams) entry.second->SetPaused(true);
}
