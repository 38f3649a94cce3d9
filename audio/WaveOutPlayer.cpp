#include "audio/WaveOutPlayer.h"

namespace {
constexpr size_t kBufferCount = 8;
constexpr DWORD kBufferMilliseconds = 60;  // 8 x 60 ms queued
}

WaveOutPlayer::~WaveOutPlayer() {
    Stop();
    Close();
}

bool WaveOutPlayer::Open(const WAVEFORMATEX& format) {
    Close();
    m_format = format;
    m_hBufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_hQuit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_hBufferDone || !m_hQuit ||
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
    return true;
}

void WaveOutPlayer::Close() {
    if (m_hWaveOut) {
        waveOutReset(m_hWaveOut);
        for (WAVEHDR& h : m_headers)
            if (h.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(m_hWaveOut, &h, sizeof h);
        waveOutClose(m_hWaveOut);
        m_hWaveOut = nullptr;
    }
    m_headers.clear();
    m_buffers.clear();
    if (m_hBufferDone) CloseHandle(m_hBufferDone);
    if (m_hQuit) CloseHandle(m_hQuit);
    m_hBufferDone = m_hQuit = nullptr;
}

bool WaveOutPlayer::Start(Mp3PcmSource& source) {
    if (!m_hWaveOut || m_hThread) return false;
    m_pSource = &source;
    m_bEnded = false;
    ResetEvent(m_hQuit);
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (!m_hThread) return false;
    SetThreadPriority(m_hThread, THREAD_PRIORITY_HIGHEST);
    return true;
}

void WaveOutPlayer::Stop() {
    if (!m_hThread) return;
    SetEvent(m_hQuit);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    // Gives back every queued buffer (marked done) and rewinds the device.
    waveOutReset(m_hWaveOut);
}

void WaveOutPlayer::Pause() {
    if (m_hWaveOut) waveOutPause(m_hWaveOut);
}

void WaveOutPlayer::Resume() {
    if (m_hWaveOut) waveOutRestart(m_hWaveOut);
}

DWORD WINAPI WaveOutPlayer::ThreadMain(LPVOID pParam) {
    static_cast<WaveOutPlayer*>(pParam)->Run();
    return 0;
}

// Fills buffer i from the source and queues it; false when the source is done
// or the device refused the buffer (*pFailed).
bool WaveOutPlayer::Fill(size_t i, bool* pFailed) {
    WAVEHDR& header = m_headers[i];
    const size_t nCapacity = m_buffers[i].size() / m_format.nChannels;
    const size_t nFrames = m_pSource->Read(m_buffers[i].data(), nCapacity);
    if (nFrames == 0) return false;
    header.dwBufferLength = DWORD(nFrames * m_format.nBlockAlign);
    header.dwFlags &= ~WHDR_DONE;
    if (waveOutWrite(m_hWaveOut, &header, sizeof header) != MMSYSERR_NOERROR) {
        header.dwFlags |= WHDR_DONE;
        *pFailed = true;
        return false;
    }
    return nFrames == nCapacity;
}

bool WaveOutPlayer::AllDone() const {
    for (const WAVEHDR& h : m_headers)
        if (!(h.dwFlags & WHDR_DONE)) return false;
    return true;
}

void WaveOutPlayer::Run() {
    // Buffers that are neither queued nor done are free; at the start all are.
    for (WAVEHDR& h : m_headers) h.dwFlags |= WHDR_DONE;
    bool bMore = true, bFailed = false;
    const HANDLE waits[2] = {m_hQuit, m_hBufferDone};
    for (;;) {
        for (size_t i = 0; i < m_headers.size() && bMore; ++i)
            if (m_headers[i].dwFlags & WHDR_DONE) bMore = Fill(i, &bFailed);
        // Ends rather than wait for ever on a device that takes nothing more.
        if (bFailed || (!bMore && AllDone()) ||
            WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            m_bEnded = true;
            return;
        }
    }
}
