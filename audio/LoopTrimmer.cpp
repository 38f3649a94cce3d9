#include "audio/LoopTrimmer.h"

#include <algorithm>

void LoopTrimmer::SetPass(uint64_t nPass) {
    if (nPass == 0 || nPass <= m_nTrimmed) {
        m_nKeepStart = 0;
        m_nPass = m_nKeepLength = std::max<uint64_t>(nPass, 1);
        return;
    }
    m_nPass = nPass;
    m_nKeepLength = nPass - m_nTrimmed;
}

size_t LoopTrimmer::NextRun(size_t nAvailable, bool* pKeep) {
    uint64_t nRun;
    if (m_nPosition < m_nKeepStart) {
        *pKeep = false;
        nRun = m_nKeepStart - m_nPosition;
    } else if (m_nPass == 0) {
        *pKeep = true;
        nRun = nAvailable;
    } else {
        const uint64_t nInPass = (m_nPosition - m_nKeepStart) % m_nPass;
        *pKeep = nInPass < m_nKeepLength;
        nRun = *pKeep ? m_nKeepLength - nInPass : m_nPass - nInPass;
    }
    const size_t n = size_t(std::min<uint64_t>(nRun, nAvailable));
    m_nPosition += n;
    return n;
}
