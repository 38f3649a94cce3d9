// One frame of the scene: the model opaque, then with motion blur five
// translucent copies stepping back towards the previous frame's pose.
#include "scene/Scene.h"

#include "assets/Md3Model.h"
#include "assets/OpenGL.h"

namespace {

const float kModelX = 0.0f;
const float kModelY = -20.0f;
const float kModelZ = -80.0f;
const float kModelScale = 2.15f;
const int kTrailCopies = 5;
const float kTrailAlpha = 0.2f;

// Slides the skin diagonally with the spin: one texture period per revolution.
void LoadTextureMatrix(float fAngle) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    const double dShift = TextureShift(fAngle);
    glTranslatef(static_cast<float>(dShift + 0.5), static_cast<float>(dShift + 0.5), 0.0f);
    glTranslatef(-0.5f, -0.5f, 0.0f);
}

// Places the model: upright (its z axis up), below the centre, bobbing and spinning.
void LoadModelViewMatrix(const SceneMotion& motion) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(kModelX, kModelY, kModelZ);
    glTranslatef(0.0f, motion.m_fHeight, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(motion.m_fAngle, 0.0f, 0.0f, 1.0f);
    glScalef(kModelScale, kModelScale, kModelScale);
}

void DrawModel() {
    if (g_pSceneModel) g_pSceneModel->Draw(0);
}

// Each copy moves on from the one before, in the model's scaled units; depth
// testing hides the parts behind the model and behind earlier copies.
void DrawTrail(const SceneMotion& motion) {
    for (int nCopy = 0; nCopy < kTrailCopies; ++nCopy) {
        glTranslatef(0.0f, 0.0f, motion.m_fHeightStep);
        glRotatef(motion.m_fAngleStep, 0.0f, 0.0f, 1.0f);
        // Translucent through GL_MODULATE; left set for later frames, which draw
        // with blending off and so look the same.
        glColor4f(1.0f, 1.0f, 1.0f, kTrailAlpha);
        DrawModel();
    }
}

}  // namespace

void RenderScene(int bMotionBlur) {
    glEnable(GL_DITHER);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ComputeTrailSteps(g_Motion);
    LoadTextureMatrix(g_Motion.m_fAngle);
    LoadModelViewMatrix(g_Motion);
    glBindTexture(GL_TEXTURE_2D, g_uSkinTexture);

    glDisable(GL_BLEND);
    DrawModel();
    glEnable(GL_BLEND);

    if (bMotionBlur == 1) DrawTrail(g_Motion);

    glFlush();
    glDisable(GL_DITHER);
}
