#include "audio/Id3Tags.h"

#include <cstring>

#include "audio/Mp3Format.h"

size_t Id3Tags::Id3v2TagSize(const uint8_t* p, size_t nAvailable) {
    if (nAvailable < mp3::kId3v2HeaderSize) return 0;
    mp3::Id3v2Header h;
    std::memcpy(&h, p, sizeof h);
    if (std::memcmp(h.magic, "ID3", 3) != 0 || h.versionMajor == 0xFF || h.versionRevision == 0xFF)
        return 0;
    size_t nBody = 0;
    for (uint8_t b : h.size) {
        if (b & 0x80) return 0;  // not syncsafe: not a tag
        nBody = (nBody << 7) | b;
    }
    // At most 2^28 - 1, so the sum cannot overflow.
    return mp3::kId3v2HeaderSize + nBody +
           ((h.flags & mp3::kId3v2FlagFooter) ? mp3::kId3v2FooterSize : 0);
}

uint64_t Id3Tags::AudioEnd(ByteWindow& bytes, uint64_t nBegin) {
    const uint64_t nSize = bytes.Size();
    if (nSize < nBegin + mp3::kId3v1Size) return nSize;
    size_t nGot = 0;
    const uint8_t* pTag = bytes.At(nSize - mp3::kId3v1Size, mp3::kId3v1Size, &nGot);
    if (nGot == mp3::kId3v1Size && std::memcmp(pTag, mp3::kId3v1Magic, sizeof mp3::kId3v1Magic) == 0)
        return nSize - mp3::kId3v1Size;
    return nSize;
}
