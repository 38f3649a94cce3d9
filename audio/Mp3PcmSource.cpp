#include "audio/Mp3PcmSource.h"

#include <algorithm>
#include <cstring>

Mp3PcmSource::Mp3PcmSource(const uint8_t* pData, const Mp3Stream& stream,
                           Mp3FrameDecoder& decoder)
    : m_pData(pData),
      m_stream(stream),
      m_decoder(decoder),
      m_nChannels(stream.firstHeader.nChannels),
      m_walker(pData, stream.nFirstAudioOffset, stream.nAudioEnd),
      m_trimmer(stream.nPassSamples, stream.nKeepStart, stream.nKeepLength) {
    m_walker.Restart(stream.nFirstAudioOffset);
}

void Mp3PcmSource::Rewind() {
    m_decoder.Reset();
    m_walker.Restart(m_stream.nFirstAudioOffset);
    m_trimmer.Rewind();
    m_bEnded = false;
    m_bOutputThisPass = false;
    m_pending.clear();
    m_nPendingRead = 0;
}

void Mp3PcmSource::AppendTrimmed(const std::vector<int16_t>& decoded) {
    size_t nFrames = decoded.size() / m_nChannels;
    const int16_t* p = decoded.data();
    while (nFrames > 0) {
        bool bKeep = false;
        const size_t nRun = m_trimmer.NextRun(nFrames, &bKeep);
        if (bKeep) m_pending.insert(m_pending.end(), p, p + nRun * m_nChannels);
        p += nRun * m_nChannels;
        nFrames -= nRun;
    }
}

// Decodes one more frame; false once nothing more will come.
bool Mp3PcmSource::Refill() {
    if (m_bEnded) return false;
    Mp3Frame frame;
    m_decoded.clear();
    if (m_walker.Next(&frame)) {
        if (m_decoder.Decode(m_pData + frame.nOffset, frame.header.nFrameLength, m_decoded) &&
            !m_decoded.empty())
            m_bOutputThisPass = true;
    } else if (m_bLoop.load() && m_bOutputThisPass) {
        // A pass that gave no sound at all would loop forever without output.
        m_walker.Restart(m_stream.nFirstAudioOffset);
        m_bOutputThisPass = false;
        return true;
    } else {
        m_decoder.Flush(m_decoded);
        m_bEnded = true;
    }
    AppendTrimmed(m_decoded);
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
