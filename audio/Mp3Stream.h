// The playable layout of an MP3 file held in memory: where its audio frames
// begin and end, their format, how many there are, and (from a LAME tag) which
// decoded samples are real audio, so that a loop can be made seamless.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/Mp3FrameHeader.h"

struct Mp3Stream {
    size_t nFirstAudioOffset = 0;  // first frame that holds audio
    size_t nAudioEnd = 0;          // end of the range the frames are walked in
    Mp3FrameHeader firstHeader;    // of the first audio frame
    uint64_t nFrames = 0;          // audio frames, header frame excluded
    // Decoded samples per channel of one pass, and the window [nKeepStart,
    // nKeepStart + nKeepLength) of them that is the encoder's input.
    uint64_t nPassSamples = 0;
    uint64_t nKeepStart = 0;
    uint64_t nKeepLength = 0;

    // False when the data holds no MP3 audio frame.
    bool Parse(const uint8_t* pData, size_t nSize);
};
