// Reads a whole file, or a part of it, into memory. Copying rather than
// mapping: a mapped file on a share that goes away would fault in the player.
#pragma once

#include <cstdint>
#include <vector>

// Larger files are refused: far beyond any song, and the copy must fit.
constexpr uint64_t kMaxMusicFileSize = uint64_t(64) << 20;

// nLength 0: up to the end. False for a missing, empty, unreadable or too
// large file and for a range outside it.
bool ReadFileBytes(const char* pszPath, uint64_t nOffset, uint64_t nLength,
                   std::vector<uint8_t>* pOut);
