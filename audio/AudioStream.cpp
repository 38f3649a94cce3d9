#include "audio/AudioStream.h"

#include "audio/FileByteSource.h"

AudioStream::~AudioStream() { Shutdown(); }

// The codec is closed before the output: under Wine, closing an ACM stream
// while waveOutClose is still tearing down its device corrupts the heap now
// and then ("free block overwritten" with heap checking on).
bool AudioStream::Shutdown() {
    if (!m_player.Stop()) return false;
    m_decoder.Close();
    return true;
}

void FreeOrLeak(std::unique_ptr<AudioStream> pStream) {
    if (pStream && !pStream->Shutdown()) pStream.release();
}

bool AudioStream::OpenFile(const char* pszPath, uint64_t nOffset, uint64_t nLength) {
    auto pFile = std::make_unique<FileByteSource>();
    if (!pFile->Open(pszPath, nOffset, nLength)) return false;
    m_pBytes = std::move(pFile);
    return Prepare();
}

bool AudioStream::OpenMemory(const void* pData, uint64_t nLength) {
    if (pData == nullptr || nLength == 0 || nLength > SIZE_MAX) return false;
    m_pBytes = std::make_unique<MemoryByteSource>(static_cast<const uint8_t*>(pData), size_t(nLength));
    return Prepare();
}

// Reads only the head of the file: the codec and the output device are opened
// by the player's thread.
bool AudioStream::Prepare() {
    ByteWindow head(*m_pBytes);
    if (!m_stream.Parse(head)) return false;
    m_pSource = std::make_unique<Mp3PcmSource>(*m_pBytes, m_stream, m_decoder);
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
    if (!m_player.Stop()) return false;  // still stuck: the source is not ours to rewind
    m_pSource->Rewind();
    if (bPaused) m_player.Pause();
    return m_player.Start(*m_pSource, [this](WAVEFORMATEX* pFormat) {
        if (!m_decoder.Open(m_stream.firstHeader)) return false;
        *pFormat = m_decoder.PcmFormat();
        return true;
    });
}
