#include "audio/AudioStream.h"

#include "audio/FileByteSource.h"

namespace {
// How long stopping waits for the stream's thread: the window goes either way.
constexpr DWORD kStopWaitMilliseconds = 2000;
}

AudioStream::~AudioStream() {
    if (m_hThread) CloseHandle(m_hThread);
    if (m_hQuit) CloseHandle(m_hQuit);
    if (m_hWake) CloseHandle(m_hWake);
}

void FreeOrLeak(std::unique_ptr<AudioStream> pStream) {
    if (pStream && !pStream->Stop()) pStream.release();
}

bool AudioStream::Start(const char* pszPath, const void* pData, uint64_t nOffset, uint64_t nLength) {
    if (pszPath) m_strPath = pszPath;
    m_pData = pData;
    m_nOffset = nOffset;
    m_nLength = nLength;
    m_hQuit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!m_hQuit || !m_hWake) return false;
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return m_hThread != nullptr;
}

void AudioStream::Play(bool bLoop, bool bRestart) {
    m_bLoop = bLoop;
    if (bRestart) m_bRestartAsked = true;
    m_bPlayAsked = true;
    SetEvent(m_hWake);
}

void AudioStream::SetPaused(bool bPaused) {
    m_bPaused = bPaused;
    if (m_hWake) SetEvent(m_hWake);  // before Start, the thread reads it as it begins
}

bool AudioStream::Stop() {
    if (!m_hThread) return true;
    SetEvent(m_hQuit);
    if (WaitForSingleObject(m_hThread, kStopWaitMilliseconds) != WAIT_OBJECT_0) return false;
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    return true;
}

DWORD WINAPI AudioStream::ThreadMain(LPVOID pParam) {
    auto* pThis = static_cast<AudioStream*>(pParam);
    // Opening (a long scan, the codec, the sound stack) must not slow the
    // window's first frame; playing must not wait for it.
    if (pThis->Open()) {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
        pThis->Loop();
    }
    pThis->Close();
    return 0;
}

// Each step may take long (a file on a network share, loading the codec and
// the system's sound stack), so a request to stop is looked for between them.
bool AudioStream::Open() {
    if (m_pData) {
        if (m_nOffset != 0 || m_nLength == 0 || m_nLength > SIZE_MAX) return false;
        m_pBytes = std::make_unique<MemoryByteSource>(static_cast<const uint8_t*>(m_pData),
                                                      size_t(m_nLength));
    } else {
        auto pFile = std::make_unique<FileByteSource>();
        if (!pFile->Open(m_strPath.c_str(), m_nOffset, m_nLength)) return false;
        m_pBytes = std::move(pFile);
    }
    ByteWindow head(*m_pBytes);
    if (!m_stream.Parse(head, [this] { return Quitting(); })) return false;
    if (Quitting() || !m_decoder.Open(m_stream.firstHeader)) return false;
    m_pSource = std::make_unique<Mp3PcmSource>(*m_pBytes, m_stream, m_decoder);
    return !Quitting() && m_player.Open(m_decoder.PcmFormat());
}

// Plays as asked until told to quit. Once the source has ended or the device
// refused a buffer it waits, using no time, for a request to play again.
void AudioStream::Loop() {
    bool bPlaying = false;
    bool bPaused = false;
    const auto stopped = [this] { return Quitting(); };
    const HANDLE waits[3] = {m_hQuit, m_hWake, m_player.DoneEvent()};
    for (;;) {
        if (m_bPaused.load() != bPaused) m_player.Pause(bPaused = !bPaused);
        if (m_bPlayAsked.exchange(false)) {
            m_pSource->SetLooping(m_bLoop.load());
            if (m_bRestartAsked.exchange(false) || !bPlaying) {
                m_player.Reset();
                m_pSource->Rewind();
                bPlaying = true;
            }
        }
        bool bStarved = false;
        if (bPlaying)
            bPlaying = m_player.Queue(*m_pSource, stopped, &bStarved) &&
                       !(m_pSource->Ended() && m_player.AllDone());
        const DWORD nWait = WaitForMultipleObjects(3, waits, FALSE, bStarved ? 0 : INFINITE);
        if (nWait != WAIT_OBJECT_0 + 1 && nWait != WAIT_OBJECT_0 + 2 && nWait != WAIT_TIMEOUT) return;
    }
}

// The codec is closed before the output: under Wine, closing an ACM stream
// while waveOutClose is still tearing down its device corrupts the heap now
// and then ("free block overwritten" with heap checking on).
void AudioStream::Close() {
    m_player.Reset();
    m_decoder.Close();
    m_player.Close();
    m_pSource.reset();
    m_pBytes.reset();
}
