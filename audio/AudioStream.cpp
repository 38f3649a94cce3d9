#include "audio/AudioStream.h"

#include "audio/FileByteSource.h"

namespace {
// How long stopping waits for the stream's thread: the window goes either way.
constexpr DWORD kStopWaitMilliseconds = 2000;
// A device that gives no buffer back for this long, while buffers are queued
// and nothing is paused, has gone as surely as one that refuses a buffer.
constexpr DWORD kStallMilliseconds = 1000;
// How often a device that went is looked for again.
constexpr DWORD kReopenMilliseconds = 2000;

std::atomic<int> g_nStuckStreams{0};

DWORD Since(DWORD nTick) { return GetTickCount() - nTick; }
DWORD Until(DWORD nTick) {
    const DWORD nLeft = nTick - GetTickCount();
    return LONG(nLeft) > 0 ? nLeft : 0;
}
}  // namespace

AudioStream::~AudioStream() {
    if (m_hThread) CloseHandle(m_hThread);
    if (m_hQuit) CloseHandle(m_hQuit);
    if (m_hWake) CloseHandle(m_hWake);
}

int StuckStreams() { return g_nStuckStreams.load(); }

void FreeOrGiveUp(std::unique_ptr<AudioStream> pStream) {
    if (pStream && !pStream->Stop()) pStream.release();  // its thread frees it
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
    if (WaitForSingleObject(m_hThread, kStopWaitMilliseconds) == WAIT_OBJECT_0) {
        CloseHandle(m_hThread);
        m_hThread = nullptr;
        return true;
    }
    ++g_nStuckStreams;
    // It may have finished meanwhile: then it no longer touches the stream.
    if (m_eOwner.exchange(Owner::Thread) != Owner::ThreadDone) return false;
    --g_nStuckStreams;
    return true;
}

DWORD WINAPI AudioStream::ThreadMain(LPVOID pParam) {
    auto* pThis = static_cast<AudioStream*>(pParam);
    // Opening (a long scan, the codec, the sound stack) must not slow the
    // window's first frame. Playing keeps 480 ms queued: a little above the
    // window is enough, and a stretch of junk scanned at that priority
    // cannot starve it.
    if (pThis->Open()) {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
        pThis->Loop();
    }
    pThis->Close();
    // The last touch of the stream, unless the caller gave up on it.
    if (pThis->m_eOwner.exchange(Owner::ThreadDone) == Owner::Thread) {
        delete pThis;
        --g_nStuckStreams;
    }
    return 0;
}

// Each step may take long (a file on a network share, loading the codec and
// the system's sound stack), so a request to stop is looked for between them.
bool AudioStream::Open() {
    if (Quitting()) return false;  // stopped before it began: nothing is opened
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

// Plays as asked until told to quit. Once the source has ended it waits,
// using no time, for a request to play again; while the device is gone it
// looks for it again now and then, and plays on from where it was.
void AudioStream::Loop() {
    bool bPlaying = false;
    m_nLastProgress = GetTickCount();
    for (;;) {
        bPlaying = TakeRequests(bPlaying);
        if (bPlaying && !m_player.IsOpen() && Until(m_nReopenAt) == 0) Reopen();
        DWORD nWait = INFINITE;
        if (bPlaying) nWait = m_player.IsOpen() ? Feed(&bPlaying) : Until(m_nReopenAt);
        const HANDLE waits[3] = {m_hQuit, m_hWake, m_player.DoneEvent()};
        const DWORD nResult = WaitForMultipleObjects(m_player.IsOpen() ? 3 : 2, waits, FALSE, nWait);
        if (nResult == WAIT_OBJECT_0 + 2) {
            m_nLastProgress = GetTickCount();
            m_bPlayedSinceOpen = true;
        } else if (nResult != WAIT_OBJECT_0 + 1 && nResult != WAIT_TIMEOUT) {
            return;
        }
    }
}

// Applies the caller's requests; answers whether the stream plays.
bool AudioStream::TakeRequests(bool bPlaying) {
    if (m_bPaused.load() != m_bDevicePaused) {
        m_player.Pause(m_bDevicePaused = !m_bDevicePaused);
        m_nLastProgress = GetTickCount();
    }
    if (m_bPlayAsked.exchange(false)) {
        m_pSource->SetLooping(m_bLoop.load());
        if (m_bRestartAsked.exchange(false) || !bPlaying) {
            m_player.Reset();
            m_pSource->Rewind();
            bPlaying = true;
        }
    }
    return bPlaying;
}

// Queues what it can and watches the device; answers how long the loop may
// wait for it.
DWORD AudioStream::Feed(bool* pPlaying) {
    if (m_player.AllDone()) m_nLastProgress = GetTickCount();  // an idle device owes nothing
    bool bStarved = false;
    if (!m_player.Queue(*m_pSource, [this] { return Quitting(); }, &bStarved)) return LoseDevice();
    *pPlaying = !(m_pSource->Ended() && m_player.AllDone());
    if (m_player.AllDone() || m_bDevicePaused) return bStarved ? 0 : INFINITE;
    const DWORD nQuiet = Since(m_nLastProgress);
    if (nQuiet >= kStallMilliseconds) return LoseDevice();
    return bStarved ? 0 : kStallMilliseconds - nQuiet;
}

// Closes a device that went, keeping what it may still own. One that had
// played is looked for again at once (the system may have another output by
// now), one that had not in a while; answers how long until then.
DWORD AudioStream::LoseDevice() {
    m_player.Close();
    m_nReopenAt = GetTickCount() + (m_bPlayedSinceOpen ? 0 : kReopenMilliseconds);
    return Until(m_nReopenAt);
}

void AudioStream::Reopen() {
    m_bPlayedSinceOpen = false;
    m_nLastProgress = GetTickCount();
    if (!m_player.Open(m_decoder.PcmFormat())) m_nReopenAt = GetTickCount() + kReopenMilliseconds;
    else if (m_bDevicePaused) m_player.Pause(true);
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
