#include "audio/Mp3FrameHeader.h"

namespace {

// Layer III bit rates in kbit/s, index 0 (free format) and 15 (bad) excluded.
constexpr unsigned kBitratesMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96,
                                         112, 128, 160, 192, 224, 256, 320, 0};
constexpr unsigned kBitratesMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56,
                                         64, 80, 96, 112, 128, 144, 160, 0};
// Sample rates in Hz by version (MPEG-2.5, reserved, MPEG-2, MPEG-1).
constexpr unsigned kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

uint32_t ReadBigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

bool Mp3FrameHeader::Parse(const uint8_t* p, size_t nAvailable, Mp3FrameHeader* pOut) {
    if (p == nullptr || nAvailable < mp3::kFrameHeaderSize) return false;
    const uint32_t h = ReadBigEndian32(p);
    if ((h & mp3::kSyncMask) != mp3::kSyncMask) return false;
    const unsigned version = (h >> 19) & 3;
    const unsigned layer = (h >> 17) & 3;
    const unsigned bitrateIndex = (h >> 12) & 15;
    const unsigned rateIndex = (h >> 10) & 3;
    const unsigned emphasis = h & 3;
    if (version == unsigned(mp3::MpegVersion::Reserved) || layer != mp3::kLayer3Bits ||
        rateIndex == 3 || emphasis == mp3::kEmphasisReserved)
        return false;
    const bool bMpeg1 = version == unsigned(mp3::MpegVersion::Mpeg1);
    const unsigned kbps = bMpeg1 ? kBitratesMpeg1[bitrateIndex] : kBitratesMpeg2[bitrateIndex];
    if (kbps == 0) return false;

    Mp3FrameHeader r;
    r.eVersion = mp3::MpegVersion(version);
    r.bProtected = ((h >> 16) & 1) == 0;
    r.bPadding = ((h >> 9) & 1) != 0;
    r.uChannelMode = uint8_t((h >> 6) & 3);
    r.nBitrate = kbps * 1000;
    r.nSampleRate = kSampleRates[version][rateIndex];
    r.nChannels = r.uChannelMode == mp3::kChannelModeMono ? 1 : 2;
    r.nSamplesPerFrame = bMpeg1 ? mp3::kSamplesPerFrameMpeg1 : mp3::kSamplesPerFrameMpeg2;
    const size_t nSlotFactor = bMpeg1 ? 144 : 72;
    r.nFrameLength = nSlotFactor * r.nBitrate / r.nSampleRate + (r.bPadding ? 1 : 0);
    if (r.nFrameLength < r.SideInfoEnd()) return false;
    *pOut = r;
    return true;
}

size_t Mp3FrameHeader::SideInfoSize() const {
    const bool bMpeg1 = eVersion == mp3::MpegVersion::Mpeg1;
    return bMpeg1 ? (nChannels == 1 ? mp3::kSideInfoMpeg1Mono : mp3::kSideInfoMpeg1Stereo)
                  : (nChannels == 1 ? mp3::kSideInfoMpeg2Mono : mp3::kSideInfoMpeg2Stereo);
}

size_t Mp3FrameHeader::SideInfoEnd() const {
    return mp3::kFrameHeaderSize + (bProtected ? mp3::kCrcSize : 0) + SideInfoSize();
}

bool Mp3FrameHeader::SameStreamAs(const Mp3FrameHeader& other) const {
    return eVersion == other.eVersion && nSampleRate == other.nSampleRate &&
           nChannels == other.nChannels;
}
