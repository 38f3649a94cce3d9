// Finds where the audio of an MP3 file lies between its tags: ID3v2 tags at the
// start (possibly more than one, possibly with a footer) and an ID3v1 tag in the
// last 128 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

class Id3Tags {
public:
    // Offset of the first byte after the ID3v2 tags at the start; the size of
    // the data when a tag claims more than there is.
    static size_t SkipId3v2(const uint8_t* pData, size_t nSize);
    // End of the audio: nSize, or nSize - 128 when an ID3v1 tag ends the data.
    // Never below nBegin.
    static size_t AudioEnd(const uint8_t* pData, size_t nBegin, size_t nSize);
    // Size of one ID3v2 tag at p, header and footer included; 0 if none.
    static size_t Id3v2TagSize(const uint8_t* p, size_t nAvailable);
};
