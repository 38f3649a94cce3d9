#include "audio/Mp3FrameWalker.h"

Mp3FrameWalker::Mp3FrameWalker(const uint8_t* pData, size_t nBegin, size_t nEnd)
    : m_pData(pData), m_nEnd(nEnd), m_nPos(nBegin < nEnd ? nBegin : nEnd) {}

bool Mp3FrameWalker::Confirmed(size_t nOffset, const Mp3FrameHeader& header) const {
    const size_t nNext = nOffset + header.nFrameLength;
    if (nNext == m_nEnd) return true;
    Mp3FrameHeader next;
    return Mp3FrameHeader::Parse(m_pData + nNext, m_nEnd - nNext, &next) &&
           next.SameStreamAs(header);
}

bool Mp3FrameWalker::Next(Mp3Frame* pFrame) {
    while (m_nEnd - m_nPos >= mp3::kFrameHeaderSize) {
        Mp3FrameHeader h;
        const bool bFrame = Mp3FrameHeader::Parse(m_pData + m_nPos, m_nEnd - m_nPos, &h) &&
                            (!m_bLocked || h.SameStreamAs(m_format)) &&
                            h.nFrameLength <= m_nEnd - m_nPos &&
                            (m_bInSync || Confirmed(m_nPos, h));
        if (bFrame) {
            if (!m_bLocked) {
                m_format = h;
                m_bLocked = true;
            }
            m_bInSync = true;
            pFrame->nOffset = m_nPos;
            pFrame->header = h;
            m_nPos += h.nFrameLength;
            return true;
        }
        m_bInSync = false;
        ++m_nPos;
    }
    m_nPos = m_nEnd;
    return false;
}
