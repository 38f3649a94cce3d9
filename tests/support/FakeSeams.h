// Native stand-ins for the scene's Windows seams: the millisecond clock, the
// temporary directory (a fresh one of this process's own, removed at exit),
// and the extraction of the embedded assets, which copies res/ferrovane.md3 or
// res/ferrovane.tga there as the real one writes the model or the skin.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fakescene {

void SetClock(std::uint32_t uMilliseconds);  // what ReadSceneClock() returns from now on
// Writes the bytes to a file of the temporary directory and returns its path.
std::string WriteTestFile(const std::string& strName, const std::vector<std::uint8_t>& bytes);

}  // namespace fakescene
