// The program's small Windows images: the invisible cursor of the scene
// windows and the setup dialog's icon.
#pragma once

#include <cstdint>
#include <vector>

// 32 x 32 monochrome cursor, hot spot (0, 0), AND mask all ones, XOR all zeros:
// the screen shows through everywhere.
std::vector<std::uint8_t> WriteBlankCursor();

// 32 x 32 icon of a weather vane, in 16 colours and in 32-bit true colour.
std::vector<std::uint8_t> WriteVaneIcon();
