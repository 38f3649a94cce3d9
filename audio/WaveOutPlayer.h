// The default output device, fed PCM through a ring of queued buffers. Used
// only by the stream's own thread (AudioStream): opening, feeding, pausing and
// closing all happen there. The waveOut callback only signals DoneEvent(), so
// no wave call ever runs inside the driver's callback. Several buffers are
// queued so that the device has hundreds of milliseconds in hand whatever the
// other threads do.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <vector>

#include "audio/Mp3PcmSource.h"

class WaveOutPlayer {
public:
    WaveOutPlayer() = default;
    ~WaveOutPlayer() { Close(); }
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

    // False, and closed, when the device refuses the format or its buffers.
    bool Open(const WAVEFORMATEX& format);
    bool IsOpen() const { return m_hWaveOut != nullptr; }
    // Gives the device back; the buffers it would not give back, and the
    // event of a device that would not close, are leaked.
    void Close();
    // Signalled whenever the device is done with a buffer; null when closed.
    HANDLE DoneEvent() const { return m_hBufferDone; }
    // Queues every free buffer it can fill; each read from the source is
    // bounded and stopped() is asked between them. *pStarved: a free buffer got
    // nothing from a source that goes on. False when the device refused a buffer.
    bool Queue(Mp3PcmSource& source, const std::function<bool()>& stopped, bool* pStarved);
    // Drops whatever is queued, so that every buffer is free.
    void Reset();
    void Pause(bool bPaused);
    bool AllDone() const;

private:
    bool Fill(size_t i, Mp3PcmSource& source, const std::function<bool()>& stopped, bool* pFailed);

    HWAVEOUT m_hWaveOut = nullptr;
    HANDLE m_hBufferDone = nullptr;  // set by the device's callback
    WAVEFORMATEX m_format{};
    std::vector<WAVEHDR> m_headers;
    std::vector<std::vector<int16_t>> m_buffers;
};
