// A read-only view of a whole file, or a part of it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // nLength 0: up to the end. False for a missing, empty or unreadable file
    // and for a range outside it.
    bool Open(const char* pszPath, uint64_t nOffset, uint64_t nLength);
    const uint8_t* Data() const { return m_pView + m_nSkip; }
    size_t Size() const { return m_nSize; }

private:
    void Close();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMapping = nullptr;
    const uint8_t* m_pView = nullptr;
    size_t m_nSkip = 0;
    size_t m_nSize = 0;
};
