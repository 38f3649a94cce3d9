#include "support/FakeSceneClock.h"

#include "scene/SceneClock.h"

namespace {
std::uint32_t g_uFakeClock = 0;
}

namespace fakescene {
void SetClock(std::uint32_t uMilliseconds) { g_uFakeClock = uMilliseconds; }
}  // namespace fakescene

std::uint32_t ReadSceneClock() { return g_uFakeClock; }
