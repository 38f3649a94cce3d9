#include "audio/MappedFile.h"

namespace {
// Far beyond any song; keeps every size below in range of size_t and DWORD math.
constexpr uint64_t kMaxFileSize = uint64_t(1) << 30;
}

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
    if (m_pView) UnmapViewOfFile(m_pView);
    if (m_hMapping) CloseHandle(m_hMapping);
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_pView = nullptr;
    m_hMapping = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
    m_nSkip = m_nSize = 0;
}

bool MappedFile::Open(const char* pszPath, uint64_t nOffset, uint64_t nLength) {
    Close();
    if (pszPath == nullptr || pszPath[0] == '\0') return false;
    m_hFile = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > kMaxFileSize || nOffset >= uint64_t(size.QuadPart)) {
        Close();
        return false;
    }
    const uint64_t nAvailable = uint64_t(size.QuadPart) - nOffset;
    if (nLength == 0 || nLength > nAvailable) nLength = nAvailable;
    m_hMapping = CreateFileMappingA(m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_hMapping) m_pView = static_cast<const uint8_t*>(
        MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 0));
    if (m_pView == nullptr) {
        Close();
        return false;
    }
    m_nSkip = size_t(nOffset);
    m_nSize = size_t(nLength);
    return true;
}
