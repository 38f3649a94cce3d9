// GetTempPathA behind the scene's temporary directory: one call for the length,
// one for the path.
#include "scene/TempDirectory.h"

#include <windows.h>

#include <vector>

std::string ReadTempDirectory() {
    const DWORD nNeeded = GetTempPathA(0, nullptr);
    if (nNeeded == 0) return std::string();
    std::vector<char> buffer(nNeeded);
    const DWORD nLength = GetTempPathA(nNeeded, buffer.data());
    // 0 is a failure; a length that no longer fits means the path changed
    // between the calls and the buffer holds nothing usable.
    if (nLength == 0 || nLength >= nNeeded) return std::string();
    return std::string(buffer.data(), nLength);
}
