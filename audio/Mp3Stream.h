// The playable layout of an MP3 file held in memory: its audio frames, their
// format and (from a LAME tag) which part of the decoded timeline is the
// encoder's input, so that a loop can be made seamless. The frames are found
// once, here; playing goes through this same list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/Mp3FrameHeader.h"

struct Mp3FrameRef {
    size_t nOffset = 0;
    size_t nLength = 0;
};

struct Mp3Stream {
    std::vector<Mp3FrameRef> frames;  // audio frames, header frame excluded
    Mp3FrameHeader firstHeader;       // of the first audio frame
    // Samples per channel of one pass as the encoder laid them out, and the
    // window [nKeepStart, nKeepStart + nKeepLength) of them that is its input.
    // The decoder's own delay comes on top of nKeepStart when bGapless.
    uint64_t nPassSamples = 0;
    bool bGapless = false;
    uint64_t nKeepStart = 0;
    uint64_t nKeepLength = 0;

    // False when the data holds no MP3 audio frame.
    bool Parse(const uint8_t* pData, size_t nSize);
};
