#include "audio/Mp3PcmSource.h"

#include <algorithm>
#include <cstring>

namespace {
// Bytes a decoder may leave untaken before they are given up as garbage.
constexpr size_t kMaxUntaken = 2 * mp3::kMaxFrameLength;

uint64_t KeepStart(const Mp3Stream& stream, const Mp3FrameDecoder& decoder) {
    return stream.bGapless ? stream.nKeepStart + decoder.Delay() : 0;
}
}

Mp3PcmSource::Mp3PcmSource(const uint8_t* pData, const Mp3Stream& stream,
                           Mp3FrameDecoder& decoder)
    : m_pData(pData),
      m_stream(stream),
      m_decoder(decoder),
      m_nChannels(std::max(1u, stream.firstHeader.nChannels)),
      m_trimmer(stream.nPassSamples, KeepStart(stream, decoder), stream.nKeepLength) {}

void Mp3PcmSource::Rewind() {
    m_decoder.Reset();
    m_trimmer.Rewind();
    m_nNextFrame = 0;
    m_bEnded = m_bOutputThisPass = m_bRunning = false;
    m_nFed = m_nLag = 0;
    m_input.clear();
    m_pending.clear();
    m_nPendingRead = 0;
}

void Mp3PcmSource::AppendTrimmed(const int16_t* p, size_t nFrames) {
    while (nFrames > 0) {
        bool bKeep = false;
        const size_t nRun = m_trimmer.NextRun(nFrames, &bKeep);
        if (bKeep) m_pending.insert(m_pending.end(), p, p + nRun * m_nChannels);
        p += nRun * m_nChannels;
        nFrames -= nRun;
    }
}

// Puts the decoded samples where the frames fed so far end in the timeline:
// a gap before them is skipped, an overlap with what was placed is dropped.
void Mp3PcmSource::Place() {
    const size_t nCount = m_decoded.size() / m_nChannels;
    if (nCount == 0) return;
    if (!m_bRunning) {
        m_bRunning = true;
        m_nLag = m_nFed > nCount ? m_nFed - nCount : 0;
    }
    const uint64_t nEnd = std::max(m_nFed - m_nLag, uint64_t(nCount));
    const uint64_t nStart = nEnd - nCount;
    if (nStart > m_trimmer.Position()) m_trimmer.Skip(nStart - m_trimmer.Position());
    const uint64_t nSkipFront = m_trimmer.Position() - nStart;
    if (nSkipFront < nCount)
        AppendTrimmed(m_decoded.data() + nSkipFront * m_nChannels, size_t(nCount - nSkipFront));
}

void Mp3PcmSource::FeedNextFrame() {
    const Mp3FrameRef& frame = m_stream.frames[m_nNextFrame++];
    m_input.insert(m_input.end(), m_pData + frame.nOffset, m_pData + frame.nOffset + frame.nLength);
    m_nFed += m_stream.firstHeader.nSamplesPerFrame;
    m_decoded.clear();
    while (!m_input.empty()) {
        size_t nUsed = 0;
        if (!m_decoder.Decode(m_input.data(), m_input.size(), &nUsed, m_decoded))
            nUsed = m_input.size();
        nUsed = std::min(nUsed, m_input.size());
        m_input.erase(m_input.begin(), m_input.begin() + ptrdiff_t(nUsed));
        if (nUsed == 0) break;
    }
    if (m_input.size() > kMaxUntaken) m_input.clear();
    if (!m_decoded.empty()) m_bOutputThisPass = true;
    Place();
}

// Decodes one more frame; false once nothing more will come.
bool Mp3PcmSource::Refill() {
    if (m_bEnded) return false;
    if (m_nNextFrame < m_stream.frames.size()) {
        FeedNextFrame();
    } else if (m_bLoop.load() && m_bOutputThisPass) {
        // A pass that gave no sound at all would loop forever without output.
        m_nNextFrame = 0;
        m_bOutputThisPass = false;
    } else {
        m_decoded.clear();
        m_decoder.Flush(m_decoded);
        m_bEnded = true;
        // Held-back samples follow on directly.
        AppendTrimmed(m_decoded.data(), m_decoded.size() / m_nChannels);
    }
    return true;
}

size_t Mp3PcmSource::Read(int16_t* pDst, size_t nFrames) {
    size_t nDone = 0;
    while (nDone < nFrames) {
        const size_t nPendingFrames = (m_pending.size() - m_nPendingRead) / m_nChannels;
        if (nPendingFrames == 0) {
            m_pending.clear();
            m_nPendingRead = 0;
            if (!Refill()) break;
            continue;
        }
        const size_t n = std::min(nPendingFrames, nFrames - nDone);
        std::memcpy(pDst + nDone * m_nChannels, m_pending.data() + m_nPendingRead,
                    n * m_nChannels * sizeof(int16_t));
        m_nPendingRead += n * m_nChannels;
        nDone += n;
    }
    return nDone;
}
