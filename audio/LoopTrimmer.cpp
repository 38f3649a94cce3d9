#include "audio/LoopTrimmer.h"

#include <algorithm>

LoopTrimmer::LoopTrimmer(uint64_t nPass, uint64_t nKeepStart, uint64_t nKeepLength)
    : m_nPass(nPass), m_nKeepStart(nKeepStart), m_nKeepLength(nKeepLength) {
    // An unusable window keeps everything rather than nothing.
    if (m_nPass == 0 || m_nKeepLength == 0 || m_nKeepLength > m_nPass) {
        m_nKeepStart = 0;
        m_nKeepLength = m_nPass = std::max<uint64_t>(m_nPass, 1);
    }
}

size_t LoopTrimmer::NextRun(size_t nAvailable, bool* pKeep) {
    uint64_t nRun;
    if (m_nPosition < m_nKeepStart) {
        *pKeep = false;
        nRun = m_nKeepStart - m_nPosition;
    } else {
        const uint64_t nInPass = (m_nPosition - m_nKeepStart) % m_nPass;
        *pKeep = nInPass < m_nKeepLength;
        nRun = *pKeep ? m_nKeepLength - nInPass : m_nPass - nInPass;
    }
    const size_t n = size_t(std::min<uint64_t>(nRun, nAvailable));
    m_nPosition += n;
    return n;
}
