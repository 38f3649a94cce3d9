#include "assets/ResourceExtraction.h"

#include <windows.h>

#include <cstring>

#include "scene/TempDirectory.h"
#include "scene/TempFilePath.h"

namespace {

// Every byte, or false: a full disk may take part of a write and refuse the rest.
bool WriteAll(HANDLE hFile, const unsigned char* pData, std::size_t nBytes) {
    while (nBytes > 0) {
        const DWORD nChunk = nBytes > 0x40000000 ? 0x40000000 : static_cast<DWORD>(nBytes);
        DWORD nWritten = 0;
        if (!WriteFile(hFile, pData, nChunk, &nWritten, NULL) || nWritten == 0) return false;
        pData += nWritten;
        nBytes -= nWritten;
    }
    return true;
}

}  // namespace

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

// In place, never truncated first: another saver starting at the same moment
// writes the same bytes and reads the file straight after its own write, so
// neither ever sees it shorter. Both share reading and writing with the
// other's writer and loaders (the skin's loader opens for update). A name
// that cannot be opened for writing (read-only, a directory, held by a
// program that shares no writing) fails, so its contents are never loaded;
// a hidden or system file is opened as any other and written over.
bool WriteTempFile(const char* pszFileName, const unsigned char* pData, std::size_t nBytes) {
    char szPath[kTempFilePathChars];
    if (!BuildTempFilePath(szPath, ReadTempDirectory(), pszFileName)) return false;
    HANDLE hFile = CreateFileA(szPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const bool bWritten = WriteAll(hFile, pData, nBytes) && SetEndOfFile(hFile);
    return CloseHandle(hFile) && bWritten;
}
