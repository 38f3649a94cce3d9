// The saver's picture: five plain functions over the scene's module-wide state,
// called by the scene window (InitScene, ResizeScene and RenderScene with its
// OpenGL context current).
#pragma once

#include <cstdint>
#include <memory>

#include "scene/SceneMotion.h"

class Md3Model;
class TgaTexture;

// One of each per process; the one scene window alive uses them.
extern std::unique_ptr<Md3Model> g_pSceneModel;  // created by InitScene, freed by ReleaseScene
extern TgaTexture g_SceneSkin;                   // the skin's image record
extern std::uint32_t g_uSkinTexture;             // the skin's texture name in the window's context
extern SceneMotion g_Motion;

void InitScene();
void ResizeScene(int nWidth, int nHeight);
void UpdateMotion(double dStartTime, float fOscillations, float fRevolutions);
void RenderScene(int bMotionBlur);
void ReleaseScene();
