// Full paths of the scene's files in the temporary directory, in the fixed-size
// buffer the loaders are given.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kTempFilePathChars = 260;  // with the terminating NUL

// Writes the directory followed by the file name into szPath. False when the
// directory is unknown (empty) or the whole path would not fit: the buffer then
// holds an empty string, never a truncated path.
bool BuildTempFilePath(char (&szPath)[kTempFilePathChars], const std::string& strDirectory,
                       const char* pszFileName);
