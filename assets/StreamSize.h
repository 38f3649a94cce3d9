// The length of an open file, so that counts read from it can be checked
// against what the file could possibly hold before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdio>

// *pSize = length of the stream in bytes; the position is left unchanged.
// False when the stream cannot be measured.
bool StreamSize(std::FILE* pFile, std::size_t* pSize);
