// The clock the scene's motion follows: the system's millisecond count, which
// wraps around every 2^32 ms.
#pragma once

#include <cstdint>

std::uint32_t ReadSceneClock();
