#include "audio/WaveOutPlayer.h"

namespace {
constexpr size_t kBufferCount = 8;
constexpr DWORD kBufferMilliseconds = 60;  // 8 x 60 ms queued
// How long closing waits for the player's thread: the window goes either way.
constexpr DWORD kStopWaitMilliseconds = 2000;

// What a device that could not be closed still owns: its headers, their
// buffers and the event it signals. Freeing them would let the driver write
// into reused memory, so they are kept for the life of the process.
struct DeviceLeftovers {
    std::vector<WAVEHDR> headers;
    std::vector<std::vector<int16_t>> buffers;
    HANDLE hEvent;
};
}  // namespace

WaveOutPlayer::~WaveOutPlayer() {
    if (!Stop()) return;
    Close();
    if (m_hQuit) CloseHandle(m_hQuit);
}

// On the player's thread.
bool WaveOutPlayer::Open() {
    if (!m_prepare(&m_format)) return false;
    m_hBufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!m_hBufferDone ||
        waveOutOpen(&m_hWaveOut, WAVE_MAPPER, &m_format, DWORD_PTR(m_hBufferDone), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        m_hWaveOut = nullptr;
        Close();
        return false;
    }
    const size_t nFrames = size_t(m_format.nSamplesPerSec) * kBufferMilliseconds / 1000;
    m_buffers.assign(kBufferCount, std::vector<int16_t>(nFrames * m_format.nChannels));
    m_headers.assign(kBufferCount, WAVEHDR{});
    for (size_t i = 0; i < kBufferCount; ++i) {
        m_headers[i].lpData = reinterpret_cast<LPSTR>(m_buffers[i].data());
        m_headers[i].dwBufferLength = DWORD(m_buffers[i].size() * sizeof(int16_t));
        if (waveOutPrepareHeader(m_hWaveOut, &m_headers[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            Close();
            return false;
        }
    }
    m_bOpen = true;
    if (m_bPaused.load()) waveOutPause(m_hWaveOut);
    return true;
}

void WaveOutPlayer::Close() {
    if (m_hWaveOut) {
        // After the last device went (MMSYSERR_NODRIVER) any of these may fail.
        waveOutReset(m_hWaveOut);
        bool bReleased = true;
        for (WAVEHDR& h : m_headers)
            if ((h.dwFlags & WHDR_PREPARED) &&
                waveOutUnprepareHeader(m_hWaveOut, &h, sizeof h) != MMSYSERR_NOERROR)
                bReleased = false;
        bReleased = bReleased && waveOutClose(m_hWaveOut) == MMSYSERR_NOERROR;
        m_hWaveOut = nullptr;
        if (!bReleased) {
            // Moving keeps every block where the driver was told it is.
            new DeviceLeftovers{std::move(m_headers), std::move(m_buffers), m_hBufferDone};
            m_hBufferDone = nullptr;
        }
    }
    m_bOpen = false;
    m_headers.clear();
    m_buffers.clear();
    if (m_hBufferDone) CloseHandle(m_hBufferDone);
    m_hBufferDone = nullptr;
}

bool WaveOutPlayer::Start(Mp3PcmSource& source, Prepare prepare) {
    if (m_hThread) return false;
    if (!m_hQuit) m_hQuit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_hQuit) return false;
    m_pSource = &source;
    m_prepare = std::move(prepare);
    m_bEnded = false;
    ResetEvent(m_hQuit);
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (!m_hThread) return false;
    SetThreadPriority(m_hThread, THREAD_PRIORITY_HIGHEST);
    return true;
}

bool WaveOutPlayer::Stop() {
    if (!m_hThread) return true;
    SetEvent(m_hQuit);
    if (WaitForSingleObject(m_hThread, kStopWaitMilliseconds) != WAIT_OBJECT_0) return false;
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    // Gives back every queued buffer (marked done) and rewinds the device.
    waveOutReset(m_hWaveOut);
    return true;
}

void WaveOutPlayer::Pause() {
    m_bPaused = true;
    if (m_bOpen.load()) waveOutPause(m_hWaveOut);
}

void WaveOutPlayer::Resume() {
    m_bPaused = false;
    if (m_bOpen.load()) waveOutRestart(m_hWaveOut);
}

DWORD WINAPI WaveOutPlayer::ThreadMain(LPVOID pParam) {
    static_cast<WaveOutPlayer*>(pParam)->Run();
    return 0;
}

// Fills buffer i from the source and queues it; false when nothing was queued:
// the source has nothing yet or has ended, or the device refused the buffer
// (*pFailed).
bool WaveOutPlayer::Fill(size_t i, bool* pFailed) {
    WAVEHDR& header = m_headers[i];
    const size_t nCapacity = m_buffers[i].size() / m_format.nChannels;
    size_t nFrames = 0;
    // Each read is bounded; a request to stop is looked for between them.
    while (nFrames < nCapacity && !m_pSource->Ended() && !Quitting()) {
        const size_t nRead = m_pSource->Read(m_buffers[i].data() + nFrames * m_format.nChannels,
                                             nCapacity - nFrames);
        if (nRead == 0) break;
        nFrames += nRead;
    }
    if (nFrames == 0) return false;
    header.dwBufferLength = DWORD(nFrames * m_format.nBlockAlign);
    header.dwFlags &= ~WHDR_DONE;
    if (waveOutWrite(m_hWaveOut, &header, sizeof header) != MMSYSERR_NOERROR) {
        header.dwFlags |= WHDR_DONE;
        *pFailed = true;
        return false;
    }
    return true;
}

bool WaveOutPlayer::AllDone() const {
    for (const WAVEHDR& h : m_headers)
        if (!(h.dwFlags & WHDR_DONE)) return false;
    return true;
}

void WaveOutPlayer::Run() {
    if (!m_bOpen.load() && !Open()) {
        m_bEnded = true;
        return;
    }
    // Buffers that are neither queued nor done are free; at the start all are.
    for (WAVEHDR& h : m_headers) h.dwFlags |= WHDR_DONE;
    bool bFailed = false;
    const HANDLE waits[2] = {m_hQuit, m_hBufferDone};
    for (;;) {
        bool bStarved = false;  // a free buffer got nothing from a source that goes on
        for (size_t i = 0; i < m_headers.size() && !bFailed; ++i)
            if ((m_headers[i].dwFlags & WHDR_DONE) && !Fill(i, &bFailed))
                bStarved = !m_pSource->Ended();
        // Ends rather than wait for ever on a device that takes nothing more.
        if (bFailed || (m_pSource->Ended() && AllDone())) break;
        const DWORD nWait = WaitForMultipleObjects(2, waits, FALSE, bStarved ? 0 : INFINITE);
        if (nWait != WAIT_OBJECT_0 + 1 && nWait != WAIT_TIMEOUT) break;
    }
    m_bEnded = true;
}
