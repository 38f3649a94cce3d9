// One playable MP3 stream: where its bytes come from (a file read as it plays,
// or the caller's memory), their layout, the decoder, the PCM source and the
// output device.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/AcmMp3Decoder.h"
#include "audio/ByteSource.h"
#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "audio/WaveOutPlayer.h"

class AudioStream {
public:
    AudioStream() = default;
    // Only after Shutdown() answered true, or when nothing ever played.
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // False when there is no MP3 audio. A codec or output device that cannot
    // be had leaves the stream silent.
    bool OpenFile(const char* pszPath, uint64_t nOffset, uint64_t nLength);
    bool OpenMemory(const void* pData, uint64_t nLength);

    // Plays from where it is, or from the start when bRestart; paused keeps it silent.
    bool Play(bool bLoop, bool bRestart, bool bPaused);
    void Pause() { m_player.Pause(); }
    void Resume() { m_player.Resume(); }
    // Stops playing and closes the codec. False when the player's thread did
    // not end in time: it may still use any part of the stream, so the owner
    // must leak it.
    bool Shutdown();

private:
    bool Prepare();

    // Declared in the order of need: the player goes first when destroyed.
    std::unique_ptr<ByteSource> m_pBytes;
    Mp3Stream m_stream;
    AcmMp3Decoder m_decoder;
    std::unique_ptr<Mp3PcmSource> m_pSource;
    WaveOutPlayer m_player;
};

// Frees a stream, or leaks it when its player's thread is stuck.
void FreeOrLeak(std::unique_ptr<AudioStream> pStream);
