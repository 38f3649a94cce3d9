// How many bytes of an embedded MD3 resource go to its file: the end offset
// that the header gives, so the file is exactly one model long.
#pragma once

#include <cstddef>

// The header's end offset when the resource holds a full header and the offset
// lies within it; otherwise the whole resource, so nothing past the copy is
// ever read and a damaged header still yields a file for the loader to refuse.
std::size_t Md3ExtractSize(const unsigned char* pData, std::size_t nSize);
