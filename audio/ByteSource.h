// Random access to the bytes of a music file, or of memory. Playing reads a
// file as it goes, so a long mix costs no more memory than a short song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies nLength bytes at nOffset (inside Size()) to pDst; false when they
    // cannot be read: the file shrank, or its volume went away.
    virtual bool ReadAt(uint64_t nOffset, uint8_t* pDst, size_t nLength) = 0;
};

class MemoryByteSource : public ByteSource {
public:
    // pData must outlive the source.
    MemoryByteSource(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}
    uint64_t Size() const override { return m_nSize; }
    bool ReadAt(uint64_t nOffset, uint8_t* pDst, size_t nLength) override {
        if (nOffset > m_nSize || nLength > m_nSize - nOffset) return false;
        if (nLength > 0) std::memcpy(pDst, m_pData + nOffset, nLength);
        return true;
    }

private:
    const uint8_t* m_pData;
    size_t m_nSize;
};
