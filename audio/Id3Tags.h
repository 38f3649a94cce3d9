// The tags around the audio of an MP3 file: ID3v2 tags (possibly more than one,
// possibly with a footer) and an ID3v1 tag in the last 128 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/ByteWindow.h"

class Id3Tags {
public:
    // End of the audio: the size, or 128 bytes less when an ID3v1 tag ends
    // the data. Never below nBegin.
    static uint64_t AudioEnd(ByteWindow& bytes, uint64_t nBegin);
    // Size of one ID3v2 tag at p, header and footer included; 0 if none.
    static size_t Id3v2TagSize(const uint8_t* p, size_t nAvailable);
};
