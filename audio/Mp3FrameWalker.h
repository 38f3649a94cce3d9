// Walks the frames of an MP3 byte range, skipping what lies between them: an
// ID3v2 tag by its declared size (cover art can take megabytes), anything else
// byte by byte, however long. After such a gap, at the start, or where the
// stream changes (another version, sample rate or channel count), a frame
// counts only when the bytes after it are another frame of the same stream or
// the end of the range, so that stray sync bits in junk are not taken for
// audio. A walker for one stream reports only that stream's frames and passes
// over the others whole. Each call scans a bounded number of bytes, so that a
// caller can stop during a long scan.
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
    // Frame: *pFrame is the next whole frame. Later: no frame in this call's
    // share of junk; ask again. End: the end of the range, or the bytes can no
    // longer be read.
    enum class Step { Frame, Later, End };
    // Bytes of junk, or of another stream's frames, scanned in one call at most.
    static constexpr size_t kScanStep = 16 * 1024;

    // Every frame, of any stream.
    Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd);
    // Only the frames of format's stream; nBegin holds one of them, which
    // needs no confirming.
    Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd, const Mp3FrameHeader& format);

    Step Next(Mp3Frame* pFrame);

private:
    bool Confirmed(const uint8_t* p, size_t nAvailable, const Mp3FrameHeader& header) const;

    ByteWindow* m_pBytes;
    uint64_t m_nEnd;
    uint64_t m_nPos;
    bool m_bInSync = false;   // m_nPos follows a frame of m_last's stream
    bool m_bOneStream = false;
    Mp3FrameHeader m_format;  // the stream reported, when m_bOneStream
    Mp3FrameHeader m_last;
};
