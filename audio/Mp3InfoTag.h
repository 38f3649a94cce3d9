// The header frame some encoders put first: a Xing/Info tag (optionally with a
// LAME extension giving encoder delay and padding) or a Fraunhofer VBRI tag.
// Such a frame holds no audio and must not be played.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/Mp3FrameHeader.h"

struct Mp3InfoTag {
    enum class Kind { None, Xing, Info, Vbri };

    Kind eKind = Kind::None;
    bool bHasFrames = false;
    uint32_t nFrames = 0;        // audio frames after this one, when given
    bool bHasLame = false;       // the two fields below are valid
    unsigned nEncoderDelay = 0;  // samples the encoder put before the audio
    unsigned nPadding = 0;       // samples after the audio in the last frame

    // Looks for a tag in the frame at p, which holds header.nFrameLength bytes.
    static Mp3InfoTag Parse(const uint8_t* p, const Mp3FrameHeader& header);
};
