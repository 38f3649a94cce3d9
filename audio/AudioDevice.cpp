#include "audio/AudioDevice.h"


DWORD AudioDevice::CreateStream(bool bMemory, const void* pFile, uint64_t nOffset,
                                uint64_t nLength) {
    auto pStream = std::make_unique<AudioStream>();
    const bool bOpen = bMemory ? pFile && nOffset == 0 && pStream->OpenMemory(pFile, nLength)
                               : pStream->OpenFile(static_cast<const char*>(pFile), nOffset, nLength);
    if (!bOpen) return 0;
    DWORD h = m_nNextHandle++;
    if (h == 0 || m_streams.count(h)) return 0;  // only after four billion streams
    m_streams.emplace(h, std::move(pStream));
    return h;
}

bool AudioDevice::Play(DWORD hStream, bool bRestart, bool bLoop) {
    auto it = m_streams.find(hStream);
    return it != m_streams.end() && it->second->Play(bLoop, bRestart, !m_bStarted);
}

AudioDevice::~AudioDevice() {
    for (auto& entry : m_streams) FreeOrLeak(std::move(entry.second));
}

bool AudioDevice::FreeStream(DWORD hStream) {
    auto it = m_streams.find(hStream);
    if (it == m_streams.end()) return false;
    FreeOrLeak(std::move(it->second));
    m_streams.erase(it);
    return true;
}

void AudioDevice::Start() {
    m_bStarted = true;
    for (auto& entry : m_streams) entry.second->Resume();
}

void AudioDevice::Stop() {
    m_bStarted = false;
    for (auto& entry : m_streams) entry.second->Pause();
}
