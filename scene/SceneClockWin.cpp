// The multimedia timer behind the scene's clock.
#include "scene/SceneClock.h"

#include <windows.h>
#include <mmsystem.h>

std::uint32_t ReadSceneClock() {
    return static_cast<std::uint32_t>(timeGetTime());
}
