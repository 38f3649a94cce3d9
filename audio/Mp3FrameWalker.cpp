#include "audio/Mp3FrameWalker.h"

#include <algorithm>

#include "audio/Id3Tags.h"

namespace {
// A frame and the header after it.
constexpr size_t kLook = mp3::kMaxFrameLength + mp3::kFrameHeaderSize;
}

Mp3FrameWalker::Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd)
    : m_pBytes(&bytes), m_nEnd(nEnd), m_nPos(std::min(nBegin, nEnd)) {}

Mp3FrameWalker::Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd,
                               const Mp3FrameHeader& format)
    : Mp3FrameWalker(bytes, nBegin, nEnd) {
    m_bInSync = m_bOneStream = true;
    m_format = m_last = format;
}

// p holds the frame at the current position and what follows, up to nAvailable.
bool Mp3FrameWalker::Confirmed(const uint8_t* p, size_t nAvailable,
                               const Mp3FrameHeader& header) const {
    const size_t nNext = header.nFrameLength;
    if (m_nPos + nNext == m_nEnd) return true;
    Mp3FrameHeader next;
    return Mp3FrameHeader::Parse(p + nNext, nAvailable - nNext, &next) && next.SameStreamAs(header);
}

Mp3FrameWalker::Step Mp3FrameWalker::Next(Mp3Frame* pFrame) {
    for (size_t nScanned = 0; m_nEnd - m_nPos >= mp3::kFrameHeaderSize;) {
        if (nScanned >= kScanStep) return Step::Later;
        const size_t nWant = size_t(std::min<uint64_t>(kLook, m_nEnd - m_nPos));
        size_t nGot = 0;
        const uint8_t* p = m_pBytes->At(m_nPos, nWant, &nGot);
        if (nGot < nWant) break;  // unreadable
        Mp3FrameHeader h;
        const bool bFrame = Mp3FrameHeader::Parse(p, nGot, &h) && h.nFrameLength <= nGot &&
                            ((m_bInSync && h.SameStreamAs(m_last)) || Confirmed(p, nGot, h));
        if (!bFrame) {
            m_bInSync = false;
            const uint64_t nTag = Id3Tags::Id3v2TagSize(p, nGot);
            m_nPos += std::min<uint64_t>(nTag ? nTag : 1, m_nEnd - m_nPos);
            ++nScanned;
            continue;
        }
        m_bInSync = true;
        m_last = h;
        const uint64_t nOffset = m_nPos;
        m_nPos += h.nFrameLength;
        if (m_bOneStream && !h.SameStreamAs(m_format)) {
            nScanned += h.nFrameLength;
            continue;
        }
        pFrame->nOffset = nOffset;
        pFrame->header = h;
        return Step::Frame;
    }
    m_nPos = m_nEnd;
    return Step::End;
}
