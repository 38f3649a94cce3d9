#include "audio/WaveOutPlayer.h"

namespace {
constexpr size_t kBufferCount = 8;
constexpr DWORD kBufferMilliseconds = 60;  // 8 x 60 ms queued

// What a device that failed to give back or to close still owns: its headers,
// their buffers, and the event it signals unless it closed. Freeing them
// would let the driver write into reused memory, so they are kept for the
// life of the process.
struct DeviceLeftovers {
    std::vector<WAVEHDR> headers;
    std::vector<std::vector<int16_t>> buffers;
    HANDLE hEvent;
};
}  // namespace

bool WaveOutPlayer::Open(const WAVEFORMATEX& format) {
    m_format = format;
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
        m_headers[i].dwFlags |= WHDR_DONE;  // free: neither queued nor playing
    }
    return true;
}

void WaveOutPlayer::Close() {
    if (m_hWaveOut) {
        // After the last device went (MMSYSERR_NODRIVER) any of these may fail.
        waveOutReset(m_hWaveOut);
        bool bUnprepared = true;
        for (WAVEHDR& h : m_headers)
            if ((h.dwFlags & WHDR_PREPARED) &&
                waveOutUnprepareHeader(m_hWaveOut, &h, sizeof h) != MMSYSERR_NOERROR)
                bUnprepared = false;
        // Closed all the same: only what it would not give back stays its own.
        const bool bClosed = waveOutClose(m_hWaveOut) == MMSYSERR_NOERROR;
        m_hWaveOut = nullptr;
        if (!bUnprepared || !bClosed) {
            // Moving keeps every block where the driver was told it is.
            new DeviceLeftovers{std::move(m_headers), std::move(m_buffers),
                                bClosed ? nullptr : m_hBufferDone};
            if (!bClosed) m_hBufferDone = nullptr;
        }
    }
    m_headers.clear();
    m_buffers.clear();
    if (m_hBufferDone) CloseHandle(m_hBufferDone);
    m_hBufferDone = nullptr;
}

void WaveOutPlayer::Reset() {
    // Gives back every queued buffer, marked done, and rewinds the device.
    if (!AllDone()) waveOutReset(m_hWaveOut);
}

void WaveOutPlayer::Pause(bool bPaused) {
    if (!m_hWaveOut) return;
    if (bPaused) waveOutPause(m_hWaveOut);
    else waveOutRestart(m_hWaveOut);
}

bool WaveOutPlayer::AllDone() const {
    for (const WAVEHDR& h : m_headers)
        if (!(h.dwFlags & WHDR_DONE)) return false;
    return true;
}

// Fills buffer i from the source and queues it; false when nothing was queued:
// the source has nothing yet or has ended, or the device refused the buffer
// (*pFailed).
bool WaveOutPlayer::Fill(size_t i, Mp3PcmSource& source, const std::function<bool()>& stopped,
                         bool* pFailed) {
    WAVEHDR& header = m_headers[i];
    const size_t nCapacity = m_buffers[i].size() / m_format.nChannels;
    size_t nFrames = 0;
    while (nFrames < nCapacity && !source.Ended() && !stopped()) {
        const size_t nRead = source.Read(m_buffers[i].data() + nFrames * m_format.nChannels,
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

bool WaveOutPlayer::Queue(Mp3PcmSource& source, const std::function<bool()>& stopped,
                          bool* pStarved) {
    bool bFailed = false;
    *pStarved = false;
    for (size_t i = 0; i < m_headers.size() && !bFailed; ++i)
        if ((m_headers[i].dwFlags & WHDR_DONE) && !Fill(i, source, stopped, &bFailed))
            *pStarved = !source.Ended();
    return !bFailed;
}
