#include "assets/ResourceExtraction.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

bool CopyResource(const char* pszName, const char* pszType, unsigned char** ppCopy, std::int32_t* pnSize) {
    HRSRC hResource = FindResourceA(NULL, pszName, pszType);
    if (hResource == NULL) return false;
    DWORD nSize = SizeofResource(NULL, hResource);
    HGLOBAL hData = LoadResource(NULL, hResource);
    const void* pData = hData != NULL ? LockResource(hData) : NULL;
    if (pData == NULL || nSize > 0x7fffffff) return false;
    *pnSize = static_cast<std::int32_t>(nSize);
    *ppCopy = new unsigned char[nSize > 0 ? nSize : 1];
    std::memcpy(*ppCopy, pData, nSize);
    return true;
}

bool WriteTempFile(const char* pszFileName, const unsigned char* pData, std::size_t nBytes) {
    DWORD nLength = GetTempPathA(0, NULL);
    if (nLength == 0) return false;
    char* pszTempDir = new char[nLength];
    DWORD nWritten = GetTempPathA(nLength, pszTempDir);
    char szPath[FERRO_TEMP_PATH_SIZE];
    int nPath = (nWritten > 0 && nWritten < nLength)
                    ? std::snprintf(szPath, sizeof szPath, "%s%s", pszTempDir, pszFileName)
                    : -1;
    delete[] pszTempDir;
    if (nPath < 0 || nPath >= FERRO_TEMP_PATH_SIZE) return false;  // cut short: not our file's name
    std::FILE* pFile = std::fopen(szPath, "wb");
    if (pFile == NULL) return false;
    if (nBytes > 0) std::fwrite(pData, 1, nBytes, pFile);
    std::fclose(pFile);
    return true;
}
