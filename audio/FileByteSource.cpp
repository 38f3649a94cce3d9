#include "audio/FileByteSource.h"

std::wstring LongPathForm(const std::wstring& strPath) {
    if (strPath.size() < MAX_PATH || strPath.compare(0, 4, L"\\\\?\\") == 0 ||
        strPath.compare(0, 4, L"\\\\.\\") == 0)
        return strPath;
    if (strPath.size() > 2 && strPath[1] == L':' && strPath[2] == L'\\')
        return L"\\\\?\\" + strPath;
    if (strPath.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + strPath.substr(2);
    return strPath;
}

namespace {
// Without it a pipe's server may impersonate the user at the default level.
constexpr DWORD kIdentifyOnly = SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;

// The ANSI functions stop at MAX_PATH: every path goes through the wide ones.
HANDLE OpenForReading(const char* pszPath) {
    const int nWide = MultiByteToWideChar(CP_ACP, 0, pszPath, -1, nullptr, 0);
    if (nWide <= 0) return INVALID_HANDLE_VALUE;
    std::wstring strWide(size_t(nWide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, pszPath, -1, &strWide[0], nWide);
    strWide.resize(size_t(nWide - 1));
    return CreateFileW(LongPathForm(strWide).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | kIdentifyOnly, nullptr);
}
}  // namespace

FileByteSource::~FileByteSource() {
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
}

bool FileByteSource::Open(const char* pszPath, uint64_t nOffset, uint64_t nLength) {
    if (m_hFile != INVALID_HANDLE_VALUE || pszPath == nullptr || pszPath[0] == '\0') return false;
    m_hFile = OpenForReading(pszPath);
    LARGE_INTEGER size;
    // A pipe may report the bytes it holds as its size: only disk files are read.
    if (m_hFile == INVALID_HANDLE_VALUE || GetFileType(m_hFile) != FILE_TYPE_DISK ||
        !GetFileSizeEx(m_hFile, &size) || size.QuadPart <= 0 || nOffset >= uint64_t(size.QuadPart))
        return false;
    const uint64_t nAvailable = uint64_t(size.QuadPart) - nOffset;
    m_nBase = nOffset;
    m_nSize = nLength == 0 || nLength > nAvailable ? nAvailable : nLength;
    return true;
}

bool FileByteSource::ReadAt(uint64_t nOffset, uint8_t* pDst, size_t nLength) {
    if (m_hFile == INVALID_HANDLE_VALUE || nOffset > m_nSize || nLength > m_nSize - nOffset)
        return false;
    while (nLength > 0) {
        OVERLAPPED at{};
        const uint64_t nAt = m_nBase + nOffset;
        at.Offset = DWORD(nAt);
        at.OffsetHigh = DWORD(nAt >> 32);
        const DWORD nAsk = nLength > 0x40000000 ? 0x40000000 : DWORD(nLength);
        DWORD nRead = 0;
        // A short read means the file shrank under us: as good as gone.
        if (!ReadFile(m_hFile, pDst, nAsk, &nRead, &at) || nRead != nAsk) return false;
        pDst += nRead;
        nOffset += nRead;
        nLength -= nRead;
    }
    return true;
}
