// Where the audio of an MP3 file lies and how to play it: the range of its
// frames, their format, and (from a LAME tag) which part of the decoded
// timeline is the encoder's input, so that a loop can be made seamless.
// A file may hold frames of several streams (a jingle at 22.05 kHz before a
// song at 44.1 kHz, two songs of different rates put together): the stream
// that plays is the one with the longest run of frames, from its first run of
// several frames on; shorter runs before that are junk. Finding it walks the
// frame headers of the whole file once.
#pragma once

#include <cstdint>
#include <functional>

#include "audio/ByteWindow.h"
#include "audio/Mp3FrameHeader.h"
#include "audio/Mp3FrameWalker.h"

// Larger files are refused: several hours of music even at high rates.
constexpr uint64_t kMaxMusicFileSize = uint64_t(2) << 30;

struct Mp3Stream {
    Mp3FrameHeader firstHeader;  // of the first audio frame
    uint64_t nAudioBegin = 0;    // offset of the first audio frame (a header frame excluded)
    uint64_t nAudioEnd = 0;      // end of the frames (an ID3v1 tag excluded)
    // Samples the encoder put before its input and after it in the last
    // frame; the decoder's own delay comes on top of the first.
    bool bGapless = false;
    unsigned nEncoderDelay = 0;
    unsigned nPadding = 0;

    // False when the bytes hold no MP3 audio frame, are more than
    // kMaxMusicFileSize, or when stopped() said so; it is asked between
    // bounded steps of the walk.
    bool Parse(ByteWindow& bytes, const std::function<bool()>& stopped = {});
    // The frames that play, in order.
    Mp3FrameWalker Frames(ByteWindow& bytes) const {
        return Mp3FrameWalker(bytes, nAudioBegin, nAudioEnd, firstHeader);
    }
};
