#include "audio/Mp3FrameWalker.h"

#include <algorithm>

#include "audio/Id3Tags.h"

namespace {
// A frame and the header after it.
constexpr size_t kLook = mp3::kMaxFrameLength + mp3::kFrameHeaderSize;
}

Mp3FrameWalker::Mp3FrameWalker(ByteWindow& bytes, uint64_t nBegin, uint64_t nEnd, bool bAtFrame)
    : m_pBytes(&bytes), m_nEnd(nEnd), m_nPos(std::min(nBegin, nEnd)), m_bInSync(bAtFrame) {}

// p holds the frame at the current position and what follows, up to nAvailable.
bool Mp3FrameWalker::Confirmed(const uint8_t* p, size_t nAvailable,
                               const Mp3FrameHeader& header) const {
    const size_t nNext = header.nFrameLength;
    if (m_nPos + nNext == m_nEnd) return true;
    Mp3FrameHeader next;
    return Mp3FrameHeader::Parse(p + nNext, nAvailable - nNext, &next) && next.SameStreamAs(header);
}

Mp3FrameWalker::Step Mp3FrameWalker::Next(Mp3Frame* pFrame) {
    for (size_t nScanned = 0; m_nEnd - m_nPos >= mp3::kFrameHeaderSize; ++nScanned) {
        if (nScanned == kScanStep) return Step::Later;
        const size_t nWant = size_t(std::min<uint64_t>(kLook, m_nEnd - m_nPos));
        size_t nGot = 0;
        const uint8_t* p = m_pBytes->At(m_nPos, nWant, &nGot);
        if (nGot < nWant) break;  // unreadable
        Mp3FrameHeader h;
        const bool bFrame = Mp3FrameHeader::Parse(p, nGot, &h) &&
                            (!m_bLocked || h.SameStreamAs(m_format)) && h.nFrameLength <= nGot &&
                            (m_bInSync || Confirmed(p, nGot, h));
        if (bFrame) {
            if (!m_bLocked) {
                m_format = h;
                m_bLocked = true;
            }
            m_bInSync = true;
            pFrame->nOffset = m_nPos;
            pFrame->header = h;
            m_nPos += h.nFrameLength;
            return Step::Frame;
        }
        m_bInSync = false;
        const uint64_t nTag = Id3Tags::Id3v2TagSize(p, nGot);
        m_nPos += std::min<uint64_t>(nTag ? nTag : 1, m_nEnd - m_nPos);
    }
    m_nPos = m_nEnd;
    return Step::End;
}
