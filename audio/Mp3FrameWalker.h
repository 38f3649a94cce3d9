// Walks the frames of an MP3 byte range, skipping garbage between them. After
// garbage (or at the start) a frame counts only when the bytes after it are
// another frame of the same stream or the end of the range, so that stray
// sync bits in junk are not taken for audio. The first frame fixes the stream's
// version, sample rate and channel count; frames of another stream are junk.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/Mp3FrameHeader.h"

struct Mp3Frame {
    size_t nOffset = 0;
    Mp3FrameHeader header;
};

class Mp3FrameWalker {
public:
    Mp3FrameWalker(const uint8_t* pData, size_t nBegin, size_t nEnd);

    // The next whole frame; false at the end of the range.
    bool Next(Mp3Frame* pFrame);

private:
    bool Confirmed(size_t nOffset, const Mp3FrameHeader& header) const;

    const uint8_t* m_pData;
    size_t m_nEnd;
    size_t m_nPos;
    bool m_bInSync = false;
    bool m_bLocked = false;
    Mp3FrameHeader m_format;
};
