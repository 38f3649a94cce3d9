// Builders of crafted MP3 bytes for the parser and loop tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "audio/ByteSource.h"  // and <cstring>

namespace mp3test {

using Bytes = std::vector<uint8_t>;

// Header bits: version 3 = MPEG-1, 2 = MPEG-2, 0 = MPEG-2.5; layer 1 = III.
inline Bytes Header(unsigned version, unsigned bitrateIndex, unsigned rateIndex, bool padding,
                    bool mono, unsigned layer = 1) {
    const uint32_t h = 0xFFE10000u | (version << 19) | (layer << 17) | (bitrateIndex << 12) |
                       (rateIndex << 10) | ((padding ? 1u : 0u) << 9) | ((mono ? 3u : 0u) << 6);
    return {uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)};
}

// nLength bytes: the header, then a filler byte (a whole frame, or a whole tag).
inline Bytes Frame(Bytes header, size_t nLength, uint8_t fill = 0x55) {
    header.resize(nLength, fill);
    return header;
}

// The frame with a CRC after its header, as lame -p writes it.
inline Bytes WithCrc(Bytes frame) {
    frame[1] &= 0xFE;
    frame[4] = 0x60, frame[5] = 0x0E;
    return frame;
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, stereo, no padding: 417 bytes.
inline Bytes CbrFrame() { return Frame(Header(3, 9, 0, false, false), 417); }

// The parts one after another.
inline Bytes Cat(const std::vector<Bytes>& parts) {
    Bytes b;
    for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

inline Bytes Frames(size_t n, const Bytes& frame = CbrFrame()) { return Cat(std::vector<Bytes>(n, frame)); }

// An Info frame like lame's: frames flag, then a LAME tag with delay/padding.
inline Bytes InfoFrame(const char* magic, uint32_t frames, unsigned delay, unsigned padding,
                       const char* encoder = "LAME3.100") {
    Bytes f = Frame(Header(3, 9, 0, false, false), 417, 0);
    const size_t x = 4 + 32, lame = x + 8 + 4 + 100;
    for (int i = 0; i < 4; ++i) f[x + i] = uint8_t(magic[i]);
    f[x + 7] = 0x1 | 0x4;  // frames and TOC
    for (int i = 0; i < 4; ++i) f[x + 8 + i] = uint8_t(frames >> (24 - 8 * i));
    for (int i = 0; i < 9; ++i) f[lame + i] = uint8_t(encoder[i]);
    f[lame + 21] = uint8_t(delay >> 4);
    f[lame + 22] = uint8_t(((delay & 15) << 4) | (padding >> 8));
    f[lame + 23] = uint8_t(padding);
    return f;
}

inline Bytes Id3v2Header(size_t nBody, bool footer = false) {
    return {'I', 'D', '3', 4, 0, uint8_t(footer ? 0x10 : 0), uint8_t((nBody >> 21) & 0x7F),
            uint8_t((nBody >> 14) & 0x7F), uint8_t((nBody >> 7) & 0x7F), uint8_t(nBody & 0x7F)};
}

// 0xFF: sync-like junk inside the tag.
inline Bytes Id3v2(size_t nBody, bool footer = false) { return Frame(Id3v2Header(nBody, footer), 10 + nBody + (footer ? 10 : 0), 0xFF); }

// 2 MiB of cover art in a tag, starting with three frames that are not audio.
inline Bytes CoverArtTag() { return Frame(Cat({Id3v2Header(2 << 20), Frames(3)}), 10 + (2 << 20), 0xFF); }

// A file of any size without the memory: pieces at their offsets, zeros between.
// It is cut to nCut bytes once nReads reads have been made: reads past its new
// end fail from then on, as they do on a file cut while it plays.
class SparseFile : public ByteSource {
public:
    void Append(const Bytes& b) {
        if (!b.empty()) m_pieces.emplace_back(m_nSize, b);
        m_nSize += b.size();
    }
    // ID3v2 tags of nBytes in all, their bodies zero. nBytes may not exceed a
    // multiple of the largest tag, 2^28 + 9 bytes, by 1 to 9.
    void AppendTags(uint64_t nBytes) {
        for (uint64_t n; nBytes > 0; nBytes -= n) {
            n = std::min<uint64_t>(nBytes, 10 + 0x0FFFFFFF);
            Append(Id3v2Header(size_t(n - 10)));
            m_nSize += n - 10;
        }
    }
    uint64_t Size() const override { return m_nSize; }
    bool ReadAt(uint64_t nOffset, uint8_t* pDst, size_t nLength) override {
        if (nReads-- <= 0 && (++nReadsAfterCut, nOffset + nLength > nCut)) return false;
        if (nOffset > m_nSize || nLength > m_nSize - nOffset) return false;
        std::memset(pDst, 0, nLength);
        for (const auto& [nAt, b] : m_pieces) {
            const uint64_t nFrom = std::max(nAt, nOffset);
            const uint64_t nTo = std::min(nAt + b.size(), nOffset + nLength);
            if (nFrom < nTo) std::memcpy(pDst + (nFrom - nOffset), b.data() + (nFrom - nAt), nTo - nFrom);
        }
        return true;
    }
    int nReads = 1 << 30, nReadsAfterCut = 0;
    uint64_t nCut = 0;

private:
    std::vector<std::pair<uint64_t, Bytes>> m_pieces;
    uint64_t m_nSize = 0;
};

}  // namespace mp3test
