#include "audio/AudioStream.h"

#include "audio/FileBytes.h"

// The codec is closed before the output: under Wine, closing an ACM stream
// while waveOutClose is still tearing down its device corrupts the heap now
// and then ("free block overwritten" with heap checking on).
AudioStream::~AudioStream() {
    m_player.Stop();
    m_decoder.Close();
}

bool AudioStream::OpenFile(const char* pszPath, uint64_t nOffset, uint64_t nLength) {
    return ReadFileBytes(pszPath, nOffset, nLength, &m_file) && Prepare(m_file.data(), m_file.size());
}

bool AudioStream::OpenMemory(const void* pData, uint64_t nLength) {
    if (pData == nullptr || nLength == 0 || nLength > SIZE_MAX) return false;
    return Prepare(static_cast<const uint8_t*>(pData), size_t(nLength));
}

bool AudioStream::Prepare(const uint8_t* pData, size_t nSize) {
    if (!m_stream.Parse(pData, nSize) || !m_decoder.Open(m_stream.firstHeader) ||
        !m_player.Open(m_decoder.PcmFormat()))
        return false;
    m_pSource = std::make_unique<Mp3PcmSource>(pData, m_stream, m_decoder);
    return true;
}

bool AudioStream::Play(bool bLoop, bool bRestart, bool bPaused) {
    if (!m_pSource) return false;
    m_pSource->SetLooping(bLoop);
    // A player that stopped on a device error starts again as from the beginning.
    if (m_player.IsRunning() && !bRestart) {
        if (!bPaused) m_player.Resume();
        return true;
    }
    m_player.Stop();
    m_pSource->Rewind();
    if (bPaused) m_player.Pause();
    return m_player.Start(*m_pSource);
}
