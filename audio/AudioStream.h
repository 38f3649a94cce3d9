// One playable MP3 stream, played by a thread of its own that owns it from
// opening the file to closing the device: a music file on a sleeping network
// share, a stuck codec or a hanging sound driver can hold that thread, never
// the caller's window.
//
// Which thread touches what:
// - the caller (the user-interface thread): Start, Play, SetPaused, Stop and
//   m_hThread; it writes the request members below and signals m_hWake.
// - both: m_hQuit, m_hWake, m_eOwner and the atomic requests (m_bPlayAsked,
//   m_bRestartAsked, m_bLoop, m_bPaused); the where-from members, written
//   before the thread starts and only read after.
// - the stream's thread only: everything else, from the file to the device.
//   After the thread has ended, the caller merely frees what is left; a
//   stream given up on while its thread was stuck is freed by that thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/AcmMp3Decoder.h"
#include "audio/ByteSource.h"
#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "audio/WaveOutPlayer.h"

class AudioStream {
public:
    AudioStream() = default;
    // Only after Stop() answered true, or when Start() failed.
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Starts the thread that opens the file at pszPath (or, when pData is
    // set, reads nLength bytes there), then the codec and the device. It
    // stays silent when any of them fails. False only when no thread started.
    bool Start(const char* pszPath, const void* pData, uint64_t nOffset, uint64_t nLength);
    // Plays from where it is, or from the start when bRestart or after it stopped.
    void Play(bool bLoop, bool bRestart);
    void SetPaused(bool bPaused);
    // Asks the thread to close everything and end, and waits about two
    // seconds at most. False when it is still stuck in a call: the stream
    // then belongs to its thread, which frees it when the call returns.
    bool Stop();

private:
    // Who frees the stream: the caller, or the thread once it is given up on.
    enum class Owner { Caller, ThreadDone, Thread };

    static DWORD WINAPI ThreadMain(LPVOID pParam);
    bool Quitting() const { return WaitForSingleObject(m_hQuit, 0) == WAIT_OBJECT_0; }
    bool Open();
    void Loop();
    bool TakeRequests(bool bPlaying);
    DWORD Feed(bool* pPlaying);
    DWORD LoseDevice();
    void Reopen();
    void Close();

    HANDLE m_hThread = nullptr;
    HANDLE m_hQuit = nullptr;  // manual reset: looked at between bounded steps
    HANDLE m_hWake = nullptr;  // a request is waiting
    std::atomic<Owner> m_eOwner{Owner::Caller};
    std::atomic<bool> m_bPlayAsked{false};
    std::atomic<bool> m_bRestartAsked{false};
    std::atomic<bool> m_bLoop{false};
    std::atomic<bool> m_bPaused{false};
    std::string m_strPath;
    const void* m_pData = nullptr;
    uint64_t m_nOffset = 0;
    uint64_t m_nLength = 0;

    // Declared in the order of need, so that they go in the reverse order.
    std::unique_ptr<ByteSource> m_pBytes;
    Mp3Stream m_stream;
    AcmMp3Decoder m_decoder;
    std::unique_ptr<Mp3PcmSource> m_pSource;
    WaveOutPlayer m_player;
    // The device's state as the loop sees it (the stream's thread only).
    bool m_bDevicePaused = false;
    bool m_bPlayedSinceOpen = false;  // it has given a buffer back since it was opened
    DWORD m_nLastProgress = 0;  // tick count of the last buffer given back, or of a start
    DWORD m_nReopenAt = 0;      // tick count of the next look for a device that went
};

// Frees a stream, or gives it to its thread when the thread is stuck.
void FreeOrGiveUp(std::unique_ptr<AudioStream> pStream);
// Streams given up on whose threads are still stuck in a call. While there is
// one, no new stream starts: a hung driver or share then holds one thread,
// not one more at each start.
int StuckStreams();
