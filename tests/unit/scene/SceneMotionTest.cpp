// The scene's motion maths: pose from the clock and the two rates, trail steps
// and the skin's slide, at the precision the picture depends on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "scene/Scene.h"
#include "scene/SceneMotion.h"
#include "support/FakeSceneClock.h"

namespace {

SceneMotion PoseAt(double dElapsed, float fOscillations, float fRevolutions) {
    SceneMotion motion{};
    const double dStart = 1000.0;
    const auto uNow = static_cast<std::uint32_t>(std::llround((dStart + dElapsed) * 1000.0));
    AdvanceMotion(motion, uNow, dStart, fOscillations, fRevolutions);
    return motion;
}

TEST(SceneMotion, PoseFollowsTheClockAndTheRates) {
    // At the start the spin is 0 and the height 15 x sin(3.141592), not 0.
    SceneMotion start = PoseAt(0.0, 1.0f, 1.0f);
    EXPECT_EQ(start.m_dElapsed, 0.0);
    EXPECT_EQ(start.m_fAngle, 0.0f);
    EXPECT_NEAR(start.m_fHeight, 9.8e-6f, 0.05e-6f);
    EXPECT_GT(start.m_fHeight, 0.0f);

    // One oscillation a second: down first, bottom at a quarter, top at three quarters.
    EXPECT_NEAR(PoseAt(0.25, 1.0f, 0.0f).m_fHeight, -15.0f, 1e-4f);
    EXPECT_NEAR(PoseAt(0.75, 1.0f, 0.0f).m_fHeight, 15.0f, 1e-4f);
    EXPECT_LT(PoseAt(0.1, 1.0f, 0.0f).m_fHeight, 0.0f);

    // Half a revolution a second for 3 s: 540 degrees, never wrapped; the skin
    // then stands half a period along.
    SceneMotion turned = PoseAt(3.0, 0.0f, 0.5f);
    EXPECT_EQ(turned.m_fAngle, 540.0f);
    EXPECT_EQ(TextureShift(turned.m_fAngle), 0.5);
    // No oscillation: the height stays where it starts.
    EXPECT_NEAR(turned.m_fHeight, 9.8e-6f, 0.05e-6f);

    // An hour at 0.6 revolutions a second: 777,600 degrees, and the skin's
    // shift still within one period.
    SceneMotion hour = PoseAt(3600.0, 0.0f, 0.6f);
    EXPECT_EQ(hour.m_fAngle, 777600.0f);
    const double dShift = TextureShift(hour.m_fAngle);
    EXPECT_GE(dShift, 0.0);
    EXPECT_LT(dShift, 1.0);
    // Whole turns bring the skin back to where it started (up to float rounding).
    EXPECT_TRUE(dShift < 1e-3 || dShift > 1.0 - 1e-3) << dShift;
}

TEST(SceneMotion, TextureShiftKeepsTheSignOfTheAngle) {
    EXPECT_NEAR(TextureShift(450.0f), 0.25, 1e-6);
    EXPECT_NEAR(TextureShift(-450.0f), -0.25, 1e-6);  // fmod takes the dividend's sign
}

TEST(SceneMotion, EachUpdateKeepsThePreviousPoseAndNeverAccumulates) {
    SceneMotion motion{};
    AdvanceMotion(motion, 2000, 1.0, 1.0f, 0.5f);
    const float fAngle = motion.m_fAngle;
    const float fHeight = motion.m_fHeight;
    AdvanceMotion(motion, 3500, 1.0, 1.0f, 0.5f);
    EXPECT_EQ(motion.m_fPrevAngle, fAngle);
    EXPECT_EQ(motion.m_fPrevHeight, fHeight);
    EXPECT_EQ(motion.m_fAngle, 450.0f);
    // The same time again gives the same pose, however many frames came between.
    SceneMotion direct{};
    AdvanceMotion(direct, 3500, 1.0, 1.0f, 0.5f);
    EXPECT_EQ(direct.m_fAngle, motion.m_fAngle);
    EXPECT_EQ(direct.m_fHeight, motion.m_fHeight);
    // Rates changed mid-run: the pose jumps to what the new rates give.
    AdvanceMotion(motion, 3500, 1.0, 1.0f, 2.0f);
    EXPECT_EQ(motion.m_fPrevAngle, 450.0f);
    EXPECT_EQ(motion.m_fAngle, 1800.0f);
}

TEST(SceneMotion, TrailStepsGoOneSixthBackTowardsThePreviousPose) {
    SceneMotion motion{};
    motion.m_fPrevAngle = 10.0f;
    motion.m_fAngle = 16.0f;
    motion.m_fPrevHeight = 3.0f;
    motion.m_fHeight = 0.0f;
    ComputeTrailSteps(motion);
    EXPECT_EQ(motion.m_fAngleStep, -1.0f);
    EXPECT_EQ(motion.m_fHeightStep, 0.5f);
    const float afAngles[] = {15.0f, 14.0f, 13.0f, 12.0f, 11.0f};
    const float afAbove[] = {1.075f, 2.15f, 3.225f, 4.3f, 5.375f};  // scene units
    for (int k = 1; k <= 5; ++k) {
        EXPECT_FLOAT_EQ(motion.m_fAngle + k * motion.m_fAngleStep, afAngles[k - 1]);
        EXPECT_FLOAT_EQ(2.15f * k * motion.m_fHeightStep, afAbove[k - 1]);
    }

    // Standing still, the copies coincide with the model.
    SceneMotion still{};
    still.m_fPrevAngle = still.m_fAngle = 123.5f;
    still.m_fPrevHeight = still.m_fHeight = -7.25f;
    ComputeTrailSteps(still);
    EXPECT_EQ(still.m_fAngleStep, 0.0f);
    EXPECT_EQ(still.m_fHeightStep, 0.0f);
}

TEST(SceneMotion, MillisecondClockWrapJumpsBackAndGoesOn) {
    g_Motion = SceneMotion{};
    const double dStart = 4294967.0;  // the clock 0.295 s before it wraps
    fakescene::SetClock(4294967295u);
    UpdateMotion(dStart, 0.5f, 0.5f);
    EXPECT_NEAR(g_Motion.m_dElapsed, 0.295, 1e-8);
    const double dBefore = g_Motion.m_dElapsed;

    fakescene::SetClock(704u);  // 705 ms later, after the wrap
    UpdateMotion(dStart, 0.5f, 0.5f);
    EXPECT_NEAR(g_Motion.m_dElapsed - dBefore, 0.705 - 4294967.296, 1e-6);
    EXPECT_NEAR(g_Motion.m_dElapsed, 0.704 - dStart, 1e-8);
    // The pose is what the new elapsed time gives, whatever its size.
    EXPECT_FLOAT_EQ(g_Motion.m_fAngle, -773093933.28f);
    EXPECT_TRUE(std::isfinite(g_Motion.m_fHeight));
    EXPECT_LE(std::fabs(g_Motion.m_fHeight), 15.0f);
    EXPECT_FLOAT_EQ(g_Motion.m_fPrevAngle, static_cast<float>(0.295 * 180.0));
    g_Motion = SceneMotion{};
}

}  // namespace
