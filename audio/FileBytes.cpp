#include "audio/FileBytes.h"

#include <windows.h>

#include <string>

namespace {
// A path longer than MAX_PATH opens only in its "\\?\" form, which the ANSI
// functions do not take: such a path goes through the wide one.
HANDLE OpenForReading(const char* pszPath) {
    std::wstring strWide;
    const int nWide = MultiByteToWideChar(CP_ACP, 0, pszPath, -1, nullptr, 0);
    if (nWide > MAX_PATH && pszPath[1] == ':' && pszPath[2] == '\\') {
        strWide.resize(size_t(nWide));
        MultiByteToWideChar(CP_ACP, 0, pszPath, -1, &strWide[0], nWide);
        strWide.insert(0, L"\\\\?\\");
        return CreateFileW(strWide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadOpenFile(HANDLE hFile, uint64_t nOffset, uint64_t nLength, std::vector<uint8_t>* pOut) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > kMaxMusicFileSize || nOffset >= uint64_t(size.QuadPart))
        return false;
    const uint64_t nAvailable = uint64_t(size.QuadPart) - nOffset;
    if (nLength == 0 || nLength > nAvailable) nLength = nAvailable;
    LARGE_INTEGER start;
    start.QuadPart = LONGLONG(nOffset);
    if (!SetFilePointerEx(hFile, start, nullptr, FILE_BEGIN)) return false;
    pOut->resize(size_t(nLength));
    DWORD nRead = 0;
    return ReadFile(hFile, pOut->data(), DWORD(nLength), &nRead, nullptr) && nRead == nLength;
}
}  // namespace

bool ReadFileBytes(const char* pszPath, uint64_t nOffset, uint64_t nLength,
                   std::vector<uint8_t>* pOut) {
    pOut->clear();
    if (pszPath == nullptr || pszPath[0] == '\0') return false;
    const HANDLE hFile = OpenForReading(pszPath);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const bool bOk = ReadOpenFile(hFile, nOffset, nLength, pOut);
    CloseHandle(hFile);
    if (!bOk) pOut->clear();
    return bOk;
}
