#include "assets/StreamSize.h"

bool StreamSize(std::FILE* pFile, std::size_t* pSize) {
    long nHere = std::ftell(pFile);
    if (nHere < 0 || std::fseek(pFile, 0, SEEK_END) != 0) return false;
    long nEnd = std::ftell(pFile);
    bool bRestored = std::fseek(pFile, nHere, SEEK_SET) == 0;
    if (nEnd < 0 || !bRestored) return false;
    *pSize = static_cast<std::size_t>(nEnd);
    return true;
}
