// The scene's module-wide state and its set-up, projection, motion and release.
#include "scene/Scene.h"

#include <string>
#include <type_traits>

#include "assets/Md3Model.h"
#include "assets/OpenGL.h"
#include "assets/TgaTexture.h"
#include "scene/SceneClock.h"
#include "scene/TempDirectory.h"
#include "scene/TempFilePath.h"

#include <GL/glu.h>

static_assert(std::is_same<std::uint32_t, GLuint>::value, "texture names are 32-bit unsigned");

std::unique_ptr<Md3Model> g_pSceneModel;
TgaTexture g_SceneSkin;
std::uint32_t g_uSkinTexture;
SceneMotion g_Motion;

namespace {

const char kModelResource[] = "#144";
const char kModelFile[] = "TarsolinResMD3.MD3";
const char kSkinResource[] = "#143";
const char kSkinFile[] = "TarsolinResTGA.TGA";

const double kFieldOfView = 90.0;
const double kNearPlane = 1.0;
const double kFarPlane = 9999.900390625;  // the float nearest 9999.9

void SetUpRenderState() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DITHER);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
}

}  // namespace

// A file is loaded only when this start has written it whole: what a failed
// write leaves under that name (an older file, another program's, a part) is
// never drawn. Without it, or without a usable temporary directory, the scene
// goes on without that asset: the model stays empty and draws nothing, the
// skin's texture name keeps no image.
void InitScene() {
    SetUpRenderState();
    const std::string strTempDirectory = ReadTempDirectory();
    char szPath[kTempFilePathChars];

    g_pSceneModel = std::make_unique<Md3Model>();
    if (BuildTempFilePath(szPath, strTempDirectory, kModelFile) &&
        g_pSceneModel->ExtractResourceToTemp(kModelResource, kModelFile) == 1)
        g_pSceneModel->Load(szPath);

    glGenTextures(1, &g_uSkinTexture);
    if (BuildTempFilePath(szPath, strTempDirectory, kSkinFile) &&
        g_SceneSkin.ExtractResourceToTemp(kSkinResource, kSkinFile) == 1)
        // Loads, uploads into the new name with GL_MODULATE, frees the pixels.
        g_SceneSkin.LoadAndUpload(szPath, g_uSkinTexture, 0, 0);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void ResizeScene(int nWidth, int nHeight) {
    if (nHeight == 0) nHeight = 1;  // a minimised window reports 0 x 0
    glViewport(0, 0, nWidth, nHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(nWidth) / static_cast<double>(nHeight),
                   kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void UpdateMotion(double dStartTime, float fOscillations, float fRevolutions) {
    AdvanceMotion(g_Motion, ReadSceneClock(), dStartTime, fOscillations, fRevolutions);
}

// The skin's texture goes with the window's context, and the skin record keeps
// no pixels: only the model is freed here.
void ReleaseScene() {
    g_pSceneModel.reset();
}
