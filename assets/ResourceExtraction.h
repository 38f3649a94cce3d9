// Steps shared by the asset records' ExtractResourceToTemp: copying an
// embedded resource out of the program image and writing bytes to a file in
// the temporary directory (Windows only).
#pragma once

#include <cstddef>
#include <cstdint>

// Copies resource pszName of type pszType from the program's own module into a
// new[] buffer in *ppCopy and its size into *pnSize. False when there is no
// such resource; nothing is allocated then.
bool CopyResource(const char* pszName, const char* pszType, unsigned char** ppCopy, std::int32_t* pnSize);

// Writes nBytes from pData to pszFileName in the temporary directory, over
// what the file held, and ends the file there. False, touching nothing, when
// the directory cannot be had or the full path does not fit the scene's path
// buffer (BuildTempFilePath); false when the file cannot be opened for writing
// or any write, the end or the close fails: only a true result means that the
// file holds exactly these bytes.
bool WriteTempFile(const char* pszFileName, const unsigned char* pData, std::size_t nBytes);
