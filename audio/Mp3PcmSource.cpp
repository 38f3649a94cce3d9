#include "audio/Mp3PcmSource.h"

#include <algorithm>
#include <cstring>

namespace {
// Bytes a decoder may leave untaken before they are given up as garbage.
constexpr size_t kMaxUntaken = 2 * mp3::kMaxFrameLength;
// Frames a decoder may hold back: a loop that has kept nothing for longer than
// this and than a whole pass gives nothing at all, and ends.
constexpr uint64_t kMaxHeldFrames = 8;
// Steps (a frame fed, a pass begun, a stretch of junk scanned) in one Read at
// most, so that the player's thread looks for a request to stop between them.
constexpr unsigned kMaxStepsPerRead = 64;

uint64_t KeepStart(const Mp3Stream& stream, const Mp3FrameDecoder& decoder) {
    return stream.bGapless ? stream.nEncoderDelay + decoder.Delay() : 0;
}

uint64_t Trimmed(const Mp3Stream& stream) {
    return stream.bGapless ? uint64_t(stream.nEncoderDelay) + stream.nPadding : 0;
}
}  // namespace

Mp3PcmSource::Mp3PcmSource(ByteSource& bytes, const Mp3Stream& stream, Mp3FrameDecoder& decoder)
    : m_window(bytes),
      m_stream(stream),
      m_decoder(decoder),
      m_nChannels(std::max(1u, stream.firstHeader.nChannels)),
      // The pass's end must be known before its padding comes out of the decoder.
      m_nWalkAhead(2 + stream.nPadding / std::max(1u, stream.firstHeader.nSamplesPerFrame)),
      m_trimmer(KeepStart(stream, decoder), Trimmed(stream)),
      m_walker(stream.Frames(m_window)) {}

void Mp3PcmSource::Rewind() {
    m_decoder.Reset();
    m_trimmer = LoopTrimmer(KeepStart(m_stream, m_decoder), Trimmed(m_stream));
    m_nFirstPassFrames = m_nFedSinceKept = 0;
    m_bEnded = m_bRunning = false;
    m_nFed = m_nLag = 0;
    m_input.clear();
    m_pending.clear();
    m_nPendingRead = 0;
    StartPass();
}

void Mp3PcmSource::StartPass() {
    m_window.Drop();
    m_walker = m_stream.Frames(m_window);
    m_ahead.clear();
    m_bWalked = false;
    m_nPassFrames = 0;
}

void Mp3PcmSource::WalkAhead() {
    Mp3Frame frame;
    while (!m_bWalked && m_ahead.size() <= m_nWalkAhead) {
        const Mp3FrameWalker::Step step = m_walker.Next(&frame);
        if (step == Mp3FrameWalker::Step::Later) return;  // the scan goes on in the next step
        if (step == Mp3FrameWalker::Step::Frame) {
            m_ahead.push_back(frame);
            ++m_nPassFrames;
            continue;
        }
        m_bWalked = true;
        if (m_nFirstPassFrames == 0 && !m_window.Failed()) {
            m_nFirstPassFrames = m_nPassFrames;
            m_trimmer.SetPass(m_nPassFrames * m_stream.firstHeader.nSamplesPerFrame);
        }
    }
}

void Mp3PcmSource::AppendTrimmed(const int16_t* p, size_t nFrames) {
    while (nFrames > 0) {
        bool bKeep = false;
        const size_t nRun = m_trimmer.NextRun(nFrames, &bKeep);
        if (bKeep && nRun > 0) {
            m_pending.insert(m_pending.end(), p, p + nRun * m_nChannels);
            m_nFedSinceKept = 0;
        }
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

void Mp3PcmSource::Feed(const Mp3Frame& frame) {
    size_t nGot = 0;
    const uint8_t* p = m_window.At(frame.nOffset, frame.header.nFrameLength, &nGot);
    if (nGot < frame.header.nFrameLength) return;  // unreadable: the next step ends
    m_input.insert(m_input.end(), p, p + nGot);
    m_nFed += m_stream.firstHeader.nSamplesPerFrame;
    ++m_nFedSinceKept;
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
    Place();
}

void Mp3PcmSource::End() {
    m_decoded.clear();
    m_decoder.Flush(m_decoded);
    m_bEnded = true;
    // Held-back samples follow on directly.
    AppendTrimmed(m_decoded.data(), m_decoded.size() / m_nChannels);
}

// One bounded step: feeds a frame or begins a pass; false once nothing more
// will come.
bool Mp3PcmSource::Refill() {
    if (m_bEnded) return false;
    if (!m_window.Failed()) WalkAhead();
    if (m_window.Failed()) {
        m_bEnded = true;  // the file went away: nothing more, not even held-back samples
        return false;
    }
    // Still scanning a stretch of junk: frames are fed only once enough are
    // known ahead, and the scan goes on in the next step.
    if (!m_bWalked && m_ahead.size() <= m_nWalkAhead) return true;
    if (!m_ahead.empty()) {
        const Mp3Frame frame = m_ahead.front();
        m_ahead.pop_front();
        Feed(frame);
        return true;
    }
    // A pass with another number of frames than the first: the file changed.
    const bool bSameFile = m_nFirstPassFrames != 0 && m_nPassFrames == m_nFirstPassFrames;
    if (m_bLoop.load() && bSameFile &&
        m_nFedSinceKept < std::max(kMaxHeldFrames, m_nFirstPassFrames)) {
        StartPass();
        return true;
    }
    End();
    return true;
}

size_t Mp3PcmSource::Read(int16_t* pDst, size_t nFrames) {
    size_t nDone = 0;
    unsigned nSteps = 0;
    while (nDone < nFrames) {
        const size_t nPendingFrames = (m_pending.size() - m_nPendingRead) / m_nChannels;
        if (nPendingFrames == 0) {
            m_pending.clear();
            m_nPendingRead = 0;
            if (nSteps++ == kMaxStepsPerRead || !Refill()) break;
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
