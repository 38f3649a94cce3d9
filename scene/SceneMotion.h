// The animation state of the scene: the pose follows from the clock and the two
// rates at every frame, never accumulated frame by frame.
#pragma once

#include <cstdint>

struct SceneMotion {
    double m_dStartTime;  // seconds, when the scene window was created
    double m_dElapsed;    // seconds from the start to the last update
    float m_fAngle;       // spin about the model's up axis, degrees, never wrapped
    float m_fHeight;      // bob offset, -15 to 15 scene units
    float m_fPrevAngle;   // m_fAngle before the last update
    float m_fPrevHeight;  // m_fHeight before the last update
    float m_fAngleStep;   // turn of each trail copy relative to the one before
    float m_fHeightStep;  // move of each trail copy along the model's up axis
};

// Moves the pose to what the millisecond count uNowMs gives for a scene started
// at dStartTime seconds, keeping the old pose as the previous one.
void AdvanceMotion(SceneMotion& motion, std::uint32_t uNowMs, double dStartTime,
                   float fOscillations, float fRevolutions);

// Step of each motion-blur copy from the current pose back towards the previous.
void ComputeTrailSteps(SceneMotion& motion);

// Shift of the skin along s and t for a spin angle: one whole texture period per
// revolution, kept within one period however large the angle grows.
double TextureShift(float fAngle);
