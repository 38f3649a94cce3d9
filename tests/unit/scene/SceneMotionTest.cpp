// The scene's pose from the clock and the two rates, the trail's steps back
// towards the previous pose, and the skin's slide, at the precision the
// picture depends on.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/SceneMotion.h"

TEST(SceneMotion, PoseTrailAndSkinFromTheClock) {
    // Two updates, at uPrevMs and then at uNowMs, of a scene started at dStart seconds.
    const struct {
        const char* what;
        double dStart;
        std::uint32_t uPrevMs, uNowMs;
        float fOps, fRps;
        double aExpected[5];  // angle, height, angle step, height step, skin shift; NAN: not checked
    } kCases[] = {
        {"at the start: height 15 sin(3.141592), not 0", 0, 0, 0, 1, 1, {0, 9.8038469e-6, 0, 0, 0}},
        {"1 oscillation: lowest at 0.25 s, copies above", 0, 0, 250, 1, 0, {0, -15, 0, 2.5000016, 0}},
        {"1 oscillation: highest at 0.75 s, copies below", 0, 250, 750, 1, 0, {0, 15, 0, -5, 0}},
        {"0.5 revolutions: 540 degrees at 3 s, skin half along", 0, 2900, 3000, 0, 0.5f, {540, 9.8038469e-6, -3, 0, 0.5}},
        {"an hour at 0.6 revolutions: unwrapped, skin in place", 0, 3599000, 3600000, 0, 0.6f, {777600, 9.8038469e-6, -36, 0, 0}},
        {"the clock wraps: back 2^32 ms", 4294967, 4294967295u, 704, 0.5f, 0.5f, {-773093933.28, -14.301213, 128849008, 0.3843252, NAN}},
    };
    const char* const kFields[] = {"angle", "height", "angle step", "height step", "skin shift"};
    for (const auto& c : kCases) {
        SceneMotion motion{};
        AdvanceMotion(motion, c.uPrevMs, c.dStart, c.fOps, c.fRps);
        AdvanceMotion(motion, c.uNowMs, c.dStart, c.fOps, c.fRps);
        ComputeTrailSteps(motion);
        const double aActual[] = {motion.m_fAngle, motion.m_fHeight, motion.m_fAngleStep, motion.m_fHeightStep,
                                  TextureShift(motion.m_fAngle)};
        for (int i = 0; i < 5; ++i)
            if (!std::isnan(c.aExpected[i]))
                EXPECT_NEAR(aActual[i], c.aExpected[i], std::fabs(c.aExpected[i]) * 1e-6 + 1e-12) << c.what << ": " << kFields[i];
    }
}
