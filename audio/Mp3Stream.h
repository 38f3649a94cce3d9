// Where the audio of an MP3 file lies and how to play it: the range of its
// frames, their format, and (from a LAME tag) which part of the decoded
// timeline is the encoder's input, so that a loop can be made seamless. Only
// the head and tail of the file are read here; the frames are walked as they
// play, so opening a long file costs no time.
#pragma once

#include <cstdint>
#include <functional>

#include "audio/ByteWindow.h"
#include "audio/Mp3FrameHeader.h"

struct Mp3Stream {
    Mp3FrameHeader firstHeader;  // of the first audio frame
    uint64_t nAudioBegin = 0;    // offset of the first audio frame (a header frame excluded)
    uint64_t nAudioEnd = 0;      // end of the frames (an ID3v1 tag excluded)
    // Samples the encoder put before its input and after it in the last
    // frame; the decoder's own delay comes on top of the first.
    bool bGapless = false;
    unsigned nEncoderDelay = 0;
    unsigned nPadding = 0;

    // False when the bytes hold no MP3 audio frame, or when stopped() said
    // so; it is asked between bounded steps of a long scan.
    bool Parse(ByteWindow& bytes, const std::function<bool()>& stopped = {});
};
