#include "assets/Md3ExtractSize.h"

#include <cstdint>
#include <cstring>

#include "assets/Md3Format.h"

std::size_t Md3ExtractSize(const unsigned char* pData, std::size_t nSize) {
    if (pData == nullptr || nSize < sizeof(Md3Header)) return nSize;
    // Little-endian int32, as the file stores it, whatever the host.
    const unsigned char* p = pData + MD3_END_OFFSET_POSITION;
    std::uint32_t uEnd = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    if (uEnd > 0x7fffffffu || uEnd > nSize) return nSize;
    return uEnd;
}
