// Plays a PCM source through waveOut on a thread of its own. The waveOut
// callback only signals an event; all wave calls for buffers happen on the
// player's thread. Several buffers are queued so that the device has hundreds
// of milliseconds in hand whatever the other threads do.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <vector>

#include "audio/Mp3PcmSource.h"

class WaveOutPlayer {
public:
    WaveOutPlayer() = default;
    ~WaveOutPlayer();
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

    // Opens the default output for the format; false when there is none.
    bool Open(const WAVEFORMATEX& format);
    // Starts (or, after Stop, starts again) pulling PCM from source.
    bool Start(Mp3PcmSource& source);
    // Ends the thread and drops everything queued; the device stays open.
    // Waits about two seconds at most: false when the thread is still stuck in
    // a codec or driver call. It may then still use the player, its source and
    // all behind them, which the caller must leak rather than free.
    bool Stop();
    void Pause();
    void Resume();
    // False once the thread has ended: the source ran out, or the device
    // refused a buffer or the wait failed (then nothing more would be heard).
    bool IsRunning() const { return m_hThread != nullptr && !m_bEnded.load(); }

private:
    static DWORD WINAPI ThreadMain(LPVOID pParam);
    void Run();
    bool Fill(size_t i, bool* pFailed);
    bool AllDone() const;
    bool Quitting() const { return WaitForSingleObject(m_hQuit, 0) == WAIT_OBJECT_0; }
    void Close();

    HWAVEOUT m_hWaveOut = nullptr;
    HANDLE m_hBufferDone = nullptr;  // set by the device's callback
    HANDLE m_hQuit = nullptr;
    HANDLE m_hThread = nullptr;
    Mp3PcmSource* m_pSource = nullptr;
    std::atomic<bool> m_bEnded{false};
    WAVEFORMATEX m_format{};
    std::vector<WAVEHDR> m_headers;
    std::vector<std::vector<int16_t>> m_buffers;
};
