// MPEG audio Layer III files as they are found on disk: an optional ID3v2 tag,
// a run of frames (the first of which may be a Xing/Info or VBRI header frame
// carrying no audio), and an optional 128-byte ID3v1 tag at the very end.
// Magic numbers, limits and fixed layouts only; parsing lives elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mp3 {

// ---- frame header (4 bytes, big-endian bit fields) ----
constexpr size_t kFrameHeaderSize = 4;
constexpr size_t kCrcSize = 2;               // follows the header when protected
constexpr uint32_t kSyncMask = 0xFFE00000u;  // 11 set bits

enum class MpegVersion : uint8_t { Mpeg25 = 0, Reserved = 1, Mpeg2 = 2, Mpeg1 = 3 };
constexpr uint8_t kLayer3Bits = 1;           // layer field value for Layer III
constexpr uint8_t kChannelModeMono = 3;
constexpr uint8_t kEmphasisReserved = 2;

constexpr unsigned kSamplesPerFrameMpeg1 = 1152;
constexpr unsigned kSamplesPerFrameMpeg2 = 576;  // MPEG-2 and MPEG-2.5
constexpr unsigned kMaxSamplesPerFrame = kSamplesPerFrameMpeg1;
constexpr unsigned kMaxChannels = 2;

// Side information lengths, which place the Xing/Info tag.
constexpr size_t kSideInfoMpeg1Mono = 17;
constexpr size_t kSideInfoMpeg1Stereo = 32;
constexpr size_t kSideInfoMpeg2Mono = 9;
constexpr size_t kSideInfoMpeg2Stereo = 17;

// Largest legal Layer III frame: MPEG-1, 320 kbit/s at 32 kHz, padded.
constexpr size_t kMaxFrameLength = 144 * 320000 / 32000 + 1;

// Samples the standard decoder's filter bank lags behind the encoder's input.
constexpr unsigned kDecoderDelay = 529;

// ---- ID3v2 (at the start of the file; may repeat) ----
constexpr size_t kId3v2HeaderSize = 10;
constexpr size_t kId3v2FooterSize = 10;
constexpr uint8_t kId3v2FlagFooter = 0x10;
struct Id3v2Header {
    char magic[3];       // "ID3"
    uint8_t versionMajor;
    uint8_t versionRevision;
    uint8_t flags;
    uint8_t size[4];     // syncsafe: 7 bits per byte, excludes header and footer
};
static_assert(sizeof(Id3v2Header) == kId3v2HeaderSize, "ID3v2 header is 10 bytes");

// ---- ID3v1 (the last 128 bytes) ----
constexpr size_t kId3v1Size = 128;
constexpr char kId3v1Magic[3] = {'T', 'A', 'G'};

// ---- Xing / Info tag (after the side information; a CRC does not move it) ----
constexpr char kXingMagic[4] = {'X', 'i', 'n', 'g'};
constexpr char kInfoMagic[4] = {'I', 'n', 'f', 'o'};
constexpr uint32_t kXingFlagFrames = 0x1;
constexpr uint32_t kXingFlagBytes = 0x2;
constexpr uint32_t kXingFlagToc = 0x4;
constexpr uint32_t kXingFlagQuality = 0x8;
constexpr size_t kXingTocSize = 100;

// LAME extension that follows the Xing fields.
struct LameTag {
    char encoder[9];        // "LAME3.100", "Lavc58.91" ...
    uint8_t revisionMethod;
    uint8_t lowpass;
    uint8_t peak[4];
    uint8_t radioGain[2];
    uint8_t audiophileGain[2];
    uint8_t flagsAth;
    uint8_t bitrate;
    uint8_t delayPadding[3];  // 12 bits encoder delay, 12 bits padding
    uint8_t misc;
    uint8_t mp3Gain;
    uint8_t presetSurround[2];
    uint8_t musicLength[4];
    uint8_t musicCrc[2];
    uint8_t tagCrc[2];
};
static_assert(sizeof(LameTag) == 36, "LAME tag is 36 bytes");
// Anything larger than one MPEG-1 frame is not a plausible delay or padding.
constexpr unsigned kMaxEncoderDelay = 4095;

// ---- VBRI tag (Fraunhofer), at a fixed place after the header ----
constexpr size_t kVbriOffset = kFrameHeaderSize + 32;
constexpr char kVbriMagic[4] = {'V', 'B', 'R', 'I'};
struct VbriHeader {
    char magic[4];
    uint8_t version[2];
    uint8_t delay[2];
    uint8_t quality[2];
    uint8_t bytes[4];
    uint8_t frames[4];
    uint8_t tocEntries[2];
    uint8_t tocScale[2];
    uint8_t tocEntrySize[2];
    uint8_t tocFramesPerEntry[2];
};
static_assert(sizeof(VbriHeader) == 26, "VBRI header is 26 bytes");

}  // namespace mp3
