// What the PCM source needs from an MP3 decoder: frame bytes in, interleaved
// 16-bit samples out. A decoder may take only part of what it is given (the
// source offers the rest again), hold samples back and give them later, or
// give nothing for a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/Mp3Format.h"

class Mp3FrameDecoder {
public:
    virtual ~Mp3FrameDecoder() = default;
    // Appends whatever PCM the bytes yield to pcm and sets *pUsed to the bytes
    // it took; false on a decoder error (the bytes are then dropped).
    virtual bool Decode(const uint8_t* pData, size_t nLength, size_t* pUsed,
                        std::vector<int16_t>& pcm) = 0;
    // Appends the samples still held back (end of a non-looping stream).
    virtual void Flush(std::vector<int16_t>& pcm) = 0;
    // Forgets all state, for a restart from the first frame.
    virtual void Reset() = 0;
    // Samples the decoder's output lags behind the encoder's timeline.
    virtual unsigned Delay() const { return mp3::kDecoderDelay; }
};
