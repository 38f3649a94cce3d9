// A window of a byte source held in memory: frames are walked and decoded from
// it, and it moves on as they do. After a failed read it reports the end of
// the data for good, so a file that goes away mid-play simply ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/ByteSource.h"

class ByteWindow {
public:
    // Bytes held at once: many frames, and any single request.
    static constexpr size_t kCapacity = 256 * 1024;

    explicit ByteWindow(ByteSource& source) : m_source(source) {}

    // Up to nWant (at most kCapacity) bytes at nOffset; *pGot says how many,
    // fewer only at the end of the source or after a failed read. The pointer
    // holds until the next call.
    const uint8_t* At(uint64_t nOffset, size_t nWant, size_t* pGot);
    uint64_t Size() const { return m_source.Size(); }
    bool Failed() const { return m_bFailed; }
    // Forgets what is held: the next access reads the source afresh.
    void Drop() { m_nHeld = 0; }

private:
    ByteSource& m_source;
    std::vector<uint8_t> m_bytes;
    uint64_t m_nStart = 0;  // source offset of m_bytes[0]
    size_t m_nHeld = 0;
    bool m_bFailed = false;
};
