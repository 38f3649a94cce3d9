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

size_t Id3Tags::SkipId3v2(const uint8_t* pData, size_t nSize) {
    size_t nPos = 0;
    for (;;) {
        const size_t nTag = Id3v2TagSize(pData + nPos, nSize - nPos);
        if (nTag == 0) return nPos;
        if (nTag >= nSize - nPos) return nSize;
        nPos += nTag;
    }
}

size_t Id3Tags::AudioEnd(const uint8_t* pData, size_t nBegin, size_t nSize) {
    if (nSize < nBegin + mp3::kId3v1Size) return nSize;
    const uint8_t* pTag = pData + nSize - mp3::kId3v1Size;
    if (std::memcmp(pTag, mp3::kId3v1Magic, sizeof mp3::kId3v1Magic) == 0)
        return nSize - mp3::kId3v1Size;
    return nSize;
}
