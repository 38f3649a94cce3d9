// Walks the frames of an MP3 byte range, skipping garbage between them. After
// garbage (or at the start) a frame counts only when the bytes after it are
// another frame of the same stream or the end of the range, so that stray
// sync bits in junk are not taken for audio. The first frame fixes the stream's
// version, sample rate and channel count; frames of another stream are junk.
// A long run of junk ends the walk: no real file has one, and scanning a huge
// file that is no MP3 at all would take seconds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/ByteWindow.h"
#include "audio/Mp3FrameHeader.h"

struct Mp3Frame {
    uint64_t nOffset = 0;
    Mp3FrameHeader header;
};

class Mp3FrameWalker {
public:
    // Junk bytes in a row after which the walk ends.
    static constexpr uint64_t kMaxJunk = 1024 * 1024;

    Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd);

    // The next whole frame; false at the end of the range, after too much
    // junk, or when the bytes can no longer be read.
    bool Next(Mp3Frame* pFrame);

private:
    bool Confirmed(const uint8_t* p, size_t nAvailable, const Mp3FrameHeader& header) const;

    ByteWindow* m_pBytes;
    uint64_t m_nEnd;
    uint64_t m_nPos;
    bool m_bInSync = false;
    bool m_bLocked = false;
    Mp3FrameHeader m_format;
};
