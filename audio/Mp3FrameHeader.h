// One decoded MPEG audio frame header. Only Layer III with a known bit rate is
// accepted: free-format and reserved values cannot be walked or decoded.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/Mp3Format.h"

struct Mp3FrameHeader {
    mp3::MpegVersion eVersion = mp3::MpegVersion::Mpeg1;
    bool bProtected = false;       // a 16-bit CRC follows the header
    bool bPadding = false;
    uint8_t uChannelMode = 0;
    unsigned nBitrate = 0;         // bits per second
    unsigned nSampleRate = 0;      // Hz
    unsigned nChannels = 0;        // 1 or 2
    unsigned nSamplesPerFrame = 0; // per channel
    size_t nFrameLength = 0;       // bytes, header included

    // Reads the header at p (at least 4 bytes). False for anything that is not
    // a valid Layer III header with a table bit rate.
    static bool Parse(const uint8_t* p, size_t nAvailable, Mp3FrameHeader* pOut);

    // Bytes of side information, which follows the header and the CRC.
    size_t SideInfoSize() const;
    // Bytes from the frame's start to the end of its side information.
    size_t SideInfoEnd() const;
    // True when two frames can belong to one decodable stream.
    bool SameStreamAs(const Mp3FrameHeader& other) const;
};
