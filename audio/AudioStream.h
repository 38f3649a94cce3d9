// One playable MP3 stream: its bytes (a copy of the file or the caller's memory),
// their layout, the decoder, the PCM source and the output device.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/AcmMp3Decoder.h"
#include "audio/Mp3PcmSource.h"
#include "audio/Mp3Stream.h"
#include "audio/WaveOutPlayer.h"

class AudioStream {
public:
    AudioStream() = default;
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // False when there is no MP3 audio, or no codec or output for it.
    bool OpenFile(const char* pszPath, uint64_t nOffset, uint64_t nLength);
    bool OpenMemory(const void* pData, uint64_t nLength);

    // Plays from where it is, or from the start when bRestart; paused keeps it silent.
    bool Play(bool bLoop, bool bRestart, bool bPaused);
    void Pause() { m_player.Pause(); }
    void Resume() { m_player.Resume(); }

private:
    bool Prepare(const uint8_t* pData, size_t nSize);

    // Declared in the order of need: the player goes first when destroyed.
    std::vector<uint8_t> m_file;
    Mp3Stream m_stream;
    AcmMp3Decoder m_decoder;
    std::unique_ptr<Mp3PcmSource> m_pSource;
    WaveOutPlayer m_player;
};
