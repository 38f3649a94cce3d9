#include "scene/TempFilePath.h"

#include <cstdio>

bool BuildTempFilePath(char (&szPath)[kTempFilePathChars], const std::string& strDirectory,
                       const char* pszFileName) {
    szPath[0] = '\0';
    if (strDirectory.empty()) return false;
    const int nLength = std::snprintf(szPath, kTempFilePathChars, "%s%s",
                                      strDirectory.c_str(), pszFileName);
    if (nLength < 0 || static_cast<std::size_t>(nLength) >= kTempFilePathChars) {
        szPath[0] = '\0';
        return false;
    }
    return true;
}
