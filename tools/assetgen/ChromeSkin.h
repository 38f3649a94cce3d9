// The skin: a 64 x 64 24-bit TGA drawn as a chrome environment map. Columns
// follow the angle from straight up (sky, horizon, ground, horizon, sky) and
// rows the direction around it; both wrap, so the sliding texture never shows
// a seam.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> WriteChromeSkin();
