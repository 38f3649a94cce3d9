// Overflow-checked sizes for counts read from files: a count times a record
// size that does not fit, or a negative count, never reaches an allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// *pOut = a * b; false when the product does not fit in size_t.
inline bool CheckedMul(std::size_t a, std::size_t b, std::size_t* pOut) {
    if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a) return false;
    *pOut = a * b;
    return true;
}

// *pOut = a + b; false when the sum does not fit in size_t.
inline bool CheckedAdd(std::size_t a, std::size_t b, std::size_t* pOut) {
    if (b > std::numeric_limits<std::size_t>::max() - a) return false;
    *pOut = a + b;
    return true;
}

// Takes nBytes from the allowance *pnLeft; false, leaving it, when it holds fewer.
inline bool TakeBytes(std::size_t nBytes, std::size_t* pnLeft) {
    if (nBytes > *pnLeft) return false;
    *pnLeft -= nBytes;
    return true;
}

// Bytes taken by nCount records of nRecordSize bytes; a count of zero or less
// means no records. False when the size does not fit.
inline bool RecordBytes(std::int32_t nCount, std::size_t nRecordSize, std::size_t* pOut) {
    if (nCount <= 0) {
        *pOut = 0;
        return true;
    }
    return CheckedMul(static_cast<std::size_t>(nCount), nRecordSize, pOut);
}
