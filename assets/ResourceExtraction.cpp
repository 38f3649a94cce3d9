#include "assets/ResourceExtraction.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "scene/TempDirectory.h"
#include "scene/TempFilePath.h"

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
    char szPath[kTempFilePathChars];
    if (!BuildTempFilePath(szPath, ReadTempDirectory(), pszFileName)) return false;
    std::FILE* pFile = std::fopen(szPath, "wb");
    if (pFile == NULL) return false;
    if (nBytes > 0) std::fwrite(pData, 1, nBytes, pFile);
    std::fclose(pFile);
    return true;
}
