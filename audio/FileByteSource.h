// A music file (or a part of it) read where it lies, as it plays. The file
// stays open, shared, so the user can still copy, replace or delete it.
// Whatever the path names is opened with no more of the user's identity than
// the server needs to know who asks (a pipe's server could otherwise act as
// the user), and only a file on a disk or a network share is read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "audio/ByteSource.h"

// The form of a path that the wide file functions take beyond MAX_PATH: a
// drive path gets "\\?\", a "\\server\share" path "\\?\UNC\server\share".
// Shorter paths, and paths already in that form, are left as they are.
std::wstring LongPathForm(const std::wstring& strPath);

class FileByteSource : public ByteSource {
public:
    FileByteSource() = default;
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // nLength 0: up to the end. False for a missing, empty or unreadable
    // file, for a pipe or a device, and for a range outside the file.
    bool Open(const char* pszPath, uint64_t nOffset, uint64_t nLength);

    uint64_t Size() const override { return m_nSize; }
    bool ReadAt(uint64_t nOffset, uint8_t* pDst, size_t nLength) override;

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    uint64_t m_nBase = 0;
    uint64_t m_nSize = 0;
};
