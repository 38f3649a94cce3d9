#include "audio/ByteWindow.h"

#include <algorithm>

const uint8_t* ByteWindow::At(uint64_t nOffset, size_t nWant, size_t* pGot) {
    *pGot = 0;
    const uint64_t nSize = m_source.Size();
    if (m_bFailed || nOffset >= nSize) return nullptr;
    nWant = size_t(std::min<uint64_t>({nWant, kCapacity, nSize - nOffset}));
    if (nOffset < m_nStart || nOffset + nWant > m_nStart + m_nHeld) {
        const size_t nRead = size_t(std::min<uint64_t>(kCapacity, nSize - nOffset));
        m_bytes.resize(kCapacity);
        m_nStart = nOffset;
        m_nHeld = 0;
        if (!m_source.ReadAt(nOffset, m_bytes.data(), nRead)) {
            m_bFailed = true;
            return nullptr;
        }
        m_nHeld = nRead;
    }
    *pGot = nWant;
    return m_bytes.data() + (nOffset - m_nStart);
}
