// The scene's motion maths. The precision of every step is part of the look:
// the pose is rounded to float once, at the end of each double computation.
#include "scene/SceneMotion.h"

#include <cmath>

namespace {

const double kMillisecondsToSeconds = 0.001;
const double kBobPi = 3.141592;         // this decimal, not pi: height 9.8e-6 at time 0
const float kBobAmplitude = 15.0f;
const float kDegreesToTurns = 0.0027777778f;
const float kTrailStepFraction = 0.16666667f;

}  // namespace

void AdvanceMotion(SceneMotion& motion, std::uint32_t uNowMs, double dStartTime,
                   float fOscillations, float fRevolutions) {
    motion.m_fPrevAngle = motion.m_fAngle;
    motion.m_fPrevHeight = motion.m_fHeight;
    motion.m_dElapsed = uNowMs * kMillisecondsToSeconds - dStartTime;
    motion.m_fAngle = static_cast<float>(motion.m_dElapsed * fRevolutions * 360.0);
    // The added 1 starts the bob half a period in: at the middle, going down.
    const double dPhase = ((fOscillations * 2.0f) * motion.m_dElapsed + 1.0) * kBobPi;
    motion.m_fHeight = static_cast<float>(std::sin(dPhase) * kBobAmplitude);
}

void ComputeTrailSteps(SceneMotion& motion) {
    motion.m_fAngleStep = (motion.m_fPrevAngle - motion.m_fAngle) * kTrailStepFraction;
    motion.m_fHeightStep = (motion.m_fPrevHeight - motion.m_fHeight) * kTrailStepFraction;
}

double TextureShift(float fAngle) {
    return std::fmod(fAngle * kDegreesToTurns, 1.0);
}
