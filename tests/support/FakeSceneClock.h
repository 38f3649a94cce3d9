// A settable stand-in for the scene's millisecond clock in native tests.
#pragma once

#include <cstdint>

namespace fakescene {

// The count that ReadSceneClock() returns from now on (0 until first set).
void SetClock(std::uint32_t uMilliseconds);

}  // namespace fakescene
