#include "audio/Mp3InfoTag.h"

#include <cstring>

#include "audio/Mp3Format.h"

namespace {

uint32_t ReadBigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Encoders known to write the LAME extension after a Xing/Info tag.
bool IsLameEncoder(const char* pEncoder) {
    static const char* const kPrefixes[] = {"LAME", "Lavc", "Lavf", "GOGO"};
    for (const char* pPrefix : kPrefixes)
        if (std::memcmp(pEncoder, pPrefix, 4) == 0) return true;
    return false;
}

void ParseLame(const uint8_t* p, Mp3InfoTag* pTag) {
    mp3::LameTag lame;
    std::memcpy(&lame, p, sizeof lame);
    if (!IsLameEncoder(lame.encoder)) return;
    const uint8_t* d = lame.delayPadding;
    pTag->nEncoderDelay = (unsigned(d[0]) << 4) | (d[1] >> 4);
    pTag->nPadding = (unsigned(d[1] & 0x0F) << 8) | d[2];
    pTag->bHasLame = true;
}

bool ParseXing(const uint8_t* p, size_t nLength, size_t nOffset, Mp3InfoTag* pTag) {
    if (nOffset + 8 > nLength) return false;
    const bool bXing = std::memcmp(p + nOffset, mp3::kXingMagic, 4) == 0;
    const bool bInfo = std::memcmp(p + nOffset, mp3::kInfoMagic, 4) == 0;
    if (!bXing && !bInfo) return false;
    pTag->eKind = bXing ? Mp3InfoTag::Kind::Xing : Mp3InfoTag::Kind::Info;
    const uint32_t uFlags = ReadBigEndian32(p + nOffset + 4);
    size_t nPos = nOffset + 8;
    if (uFlags & mp3::kXingFlagFrames) {
        if (nPos + 4 > nLength) return true;
        pTag->bHasFrames = true;
        pTag->nFrames = ReadBigEndian32(p + nPos);
        nPos += 4;
    }
    if (uFlags & mp3::kXingFlagBytes) nPos += 4;
    if (uFlags & mp3::kXingFlagToc) nPos += mp3::kXingTocSize;
    if (uFlags & mp3::kXingFlagQuality) nPos += 4;
    if (nPos + sizeof(mp3::LameTag) <= nLength) ParseLame(p + nPos, pTag);
    return true;
}

bool ParseVbri(const uint8_t* p, size_t nLength, Mp3InfoTag* pTag) {
    if (mp3::kVbriOffset + sizeof(mp3::VbriHeader) > nLength) return false;
    mp3::VbriHeader v;
    std::memcpy(&v, p + mp3::kVbriOffset, sizeof v);
    if (std::memcmp(v.magic, mp3::kVbriMagic, 4) != 0) return false;
    pTag->eKind = Mp3InfoTag::Kind::Vbri;
    pTag->bHasFrames = true;
    pTag->nFrames = ReadBigEndian32(v.frames);
    return true;
}

}  // namespace

Mp3InfoTag Mp3InfoTag::Parse(const uint8_t* p, const Mp3FrameHeader& header) {
    Mp3InfoTag tag;
    // Encoders write the tag where the side information of an unprotected
    // frame would end, whether or not the frame carries a CRC.
    const size_t nXing = mp3::kFrameHeaderSize + header.SideInfoSize();
    if (!ParseXing(p, header.nFrameLength, nXing, &tag))
        ParseVbri(p, header.nFrameLength, &tag);
    return tag;
}
