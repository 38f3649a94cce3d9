// Plays a PCM source through waveOut on a thread of its own. The device is
// opened there too, at the first start: loading a codec and the system's sound
// stack takes hundreds of milliseconds that the caller's window must not wait.
// The waveOut callback only signals an event; all wave calls for buffers
// happen on the player's thread. Several buffers are queued so that the device
// has hundreds of milliseconds in hand whatever the other threads do.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <functional>
#include <vector>

#include "audio/Mp3PcmSource.h"

class WaveOutPlayer {
public:
    WaveOutPlayer() = default;
    ~WaveOutPlayer();
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

    // Readies the source on the player's thread and gives the PCM format it
    // makes; false when it cannot play.
    using Prepare = std::function<bool(WAVEFORMATEX*)>;

    // Starts (or, after Stop, starts again) pulling PCM from source. The
    // first start runs prepare and opens the default output on the player's
    // thread; when either fails the thread ends, silently.
    bool Start(Mp3PcmSource& source, Prepare prepare);
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
    bool Open();
    void Close();

    HWAVEOUT m_hWaveOut = nullptr;
    HANDLE m_hBufferDone = nullptr;  // set by the device's callback
    HANDLE m_hQuit = nullptr;
    HANDLE m_hThread = nullptr;
    Mp3PcmSource* m_pSource = nullptr;
    Prepare m_prepare;
    std::atomic<bool> m_bOpen{false};  // m_hWaveOut is set
    std::atomic<bool> m_bPaused{false};
    std::atomic<bool> m_bEnded{false};
    WAVEFORMATEX m_format{};
    std::vector<WAVEHDR> m_headers;
    std::vector<std::vector<int16_t>> m_buffers;
};
