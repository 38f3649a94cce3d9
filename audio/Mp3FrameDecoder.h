// What the PCM source needs from an MP3 decoder: whole frames in, interleaved
// 16-bit samples out. A decoder may hold samples back and give them later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Mp3FrameDecoder {
public:
    virtual ~Mp3FrameDecoder() = default;
    // Appends whatever PCM the frame yields to pcm; false on a decoder error.
    virtual bool Decode(const uint8_t* pFrame, size_t nLength, std::vector<int16_t>& pcm) = 0;
    // Appends the samples still held back (end of a non-looping stream).
    virtual void Flush(std::vector<int16_t>& pcm) = 0;
    // Forgets all state, for a restart from the first frame.
    virtual void Reset() = 0;
};
