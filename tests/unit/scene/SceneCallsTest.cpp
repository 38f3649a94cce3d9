// The OpenGL calls of the scene, in order and with their arguments, recorded by
// the fake GL: set-up, projection and one frame with and without the trail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "GlCallReplay.h"
#include "assets/Md3Model.h"
#include "scene/Scene.h"
#include "support/FakeAssetExtraction.h"
#include "support/FakeGL.h"
#include "support/FakeTempDirectory.h"

namespace {

using fakegl::FormatCall;
using fakegl::FormatReal;
using Calls = std::vector<std::string>;

const char kModelFile[] = "TarsolinResMD3.MD3";
const char kSkinFile[] = "TarsolinResTGA.TGA";
const int kEmbeddedSurfaces = 2;

const Calls kRenderState = {
    "glEnable(0x0DE1)", "glEnable(0x0BD0)", "glEnable(0x0B71)", "glEnable(0x0B44)",
    "glFrontFace(0x0901)", "glShadeModel(0x1D01)", "glPolygonMode(0x0408, 0x1B02)",
    "glBlendFunc(0x0302, 0x0303)", "glEnable(0x0BE2)",
};

const Calls kSkinUpload = fakegl::TextureUploadCalls(1, "0x1907", 64, 64, 12288);

Calls Concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Calls ModelDraw() { return Calls(kEmbeddedSurfaces, "surface"); }

class SceneCalls : public ::testing::Test {
protected:
    void SetUp() override {
        fakescene::SetTempDirectory(m_scratch.Path());
        fakescene::ResetExtractions();
        fakegl::Reset();
        g_Motion = SceneMotion{};
    }
    void TearDown() override {
        ReleaseScene();
        fakescene::SetTempDirectory("");
        g_Motion = SceneMotion{};
    }
    // InitScene with the calls it made forgotten.
    void InitQuietly() {
        InitScene();
        fakegl::Reset();
    }
    void SetPose(float fPrevAngle, float fAngle, float fPrevHeight, float fHeight) {
        g_Motion.m_fPrevAngle = fPrevAngle;
        g_Motion.m_fAngle = fAngle;
        g_Motion.m_fPrevHeight = fPrevHeight;
        g_Motion.m_fHeight = fHeight;
    }

    fakescene::ScratchDirectory m_scratch;
};

TEST_F(SceneCalls, InitSceneSetsStateExtractsAndLoadsInOrder) {
    InitScene();
    EXPECT_EQ(fakegl::Calls(), Concat({kRenderState, {"glGenTextures(1, {1})"}, kSkinUpload,
                                       {"glClearColor(0, 0, 0, 1)"}}));
    EXPECT_EQ(fakescene::Extractions(),
              Calls({"Md3Model::ExtractResourceToTemp(#144, TarsolinResMD3.MD3)",
                     "TgaTexture::ExtractResourceToTemp(#143, TarsolinResTGA.TGA)"}));
    EXPECT_EQ(g_uSkinTexture, 1u);
    ASSERT_TRUE(g_pSceneModel);
    EXPECT_EQ(g_pSceneModel->m_Header.numSurfaces, kEmbeddedSurfaces);
    EXPECT_TRUE(std::filesystem::exists(m_scratch.Path() + kModelFile));
    EXPECT_TRUE(std::filesystem::exists(m_scratch.Path() + kSkinFile));

    ReleaseScene();
    EXPECT_FALSE(g_pSceneModel);
    ReleaseScene();  // nothing left to release
    EXPECT_FALSE(g_pSceneModel);
}

TEST_F(SceneCalls, ResizeSetsViewportAndProjectionWithoutDividingByZero) {
    struct Case { int nWidth, nHeight; const char* pszViewport; double dAspect; };
    const Case cases[] = {
        {640, 0, "glViewport(0, 0, 640, 1)", 640.0},
        {0, 0, "glViewport(0, 0, 0, 1)", 0.0},
        {800, 600, "glViewport(0, 0, 800, 600)", 800.0 / 600.0},
    };
    for (const Case& c : cases) {
        fakegl::Reset();
        ResizeScene(c.nWidth, c.nHeight);
        EXPECT_EQ(fakegl::Calls(),
                  Calls({c.pszViewport, "glMatrixMode(0x1701)", "glLoadIdentity()",
                         FormatCall("gluPerspective", {FormatReal(90.0), FormatReal(c.dAspect),
                                                       FormatReal(1.0), FormatReal(9999.900390625)}),
                         "glMatrixMode(0x1700)", "glLoadIdentity()"}))
            << c.nWidth << " x " << c.nHeight;
    }
}

// A frame at 540 degrees (texture shift 0.5), height -7.5, coming from 546
// degrees and height 3: steps of 1 degree and 1.75 model units.
Calls FrameStart() {
    return {"glEnable(0x0BD0)", "glClear(0x4100)",
            "glMatrixMode(0x1702)", "glLoadIdentity()",
            "glTranslatef(1, 1, 0)", "glTranslatef(-0.5, -0.5, 0)",
            "glMatrixMode(0x1700)", "glLoadIdentity()",
            "glTranslatef(0, -20, -80)", "glTranslatef(0, -7.5, 0)",
            "glRotatef(-90, 1, 0, 0)", "glRotatef(90, 0, 0, 1)", "glRotatef(540, 0, 0, 1)",
            FormatCall("glScalef", {FormatReal(2.15f), FormatReal(2.15f), FormatReal(2.15f)}),
            "glBindTexture(0x0DE1, 1)", "glDisable(0x0BE2)"};
}

const Calls kFrameEnd = {"glFlush()", "glDisable(0x0BD0)"};

TEST_F(SceneCalls, FrameWithTrailDrawsFiveTranslucentCopies) {
    InitQuietly();
    SetPose(546.0f, 540.0f, 3.0f, -7.5f);
    RenderScene(1);
    Calls expected = Concat({FrameStart(), ModelDraw(), {"glEnable(0x0BE2)"}});
    for (int k = 0; k < 5; ++k) {
        expected = Concat({expected, {"glTranslatef(0, 0, 1.75)", "glRotatef(1, 0, 0, 1)",
                                      FormatCall("glColor4f", {"1", "1", "1", FormatReal(0.2f)})},
                           ModelDraw()});
    }
    expected = Concat({expected, kFrameEnd});
    EXPECT_EQ(scenetest::CollapseSurfaces(fakegl::Calls()), expected);
    EXPECT_EQ(g_Motion.m_fAngleStep, 1.0f);
    EXPECT_EQ(g_Motion.m_fHeightStep, 1.75f);

    // The next frame neither resets the colour nor keeps a matrix: both are
    // rebuilt from identity.
    fakegl::Reset();
    RenderScene(0);
    EXPECT_EQ(scenetest::CollapseSurfaces(fakegl::Calls()),
              Concat({FrameStart(), ModelDraw(), {"glEnable(0x0BE2)"}, kFrameEnd}));
}

TEST_F(SceneCalls, OnlyBlurOneDrawsTheTrailButStepsAreAlwaysKept) {
    InitQuietly();
    for (int bMotionBlur : {0, 2, -1}) {
        fakegl::Reset();
        SetPose(546.0f, 540.0f, 3.0f, -7.5f);
        g_Motion.m_fAngleStep = g_Motion.m_fHeightStep = 99.0f;
        RenderScene(bMotionBlur);
        EXPECT_EQ(scenetest::CollapseSurfaces(fakegl::Calls()),
                  Concat({FrameStart(), ModelDraw(), {"glEnable(0x0BE2)"}, kFrameEnd}))
            << "motion blur " << bMotionBlur;
        EXPECT_EQ(g_Motion.m_fAngleStep, 1.0f);
        EXPECT_EQ(g_Motion.m_fHeightStep, 1.75f);
    }
}

TEST_F(SceneCalls, TrailCopiesStepBackTowardsThePreviousPose) {
    InitQuietly();
    SetPose(10.0f, 16.0f, 3.0f, 0.0f);
    RenderScene(1);
    const std::vector<scenetest::Matrix> draws =
        scenetest::ModelViewAtDraws(fakegl::Calls(), kEmbeddedSurfaces);
    ASSERT_EQ(draws.size(), 6u);
    const auto pivot = scenetest::Transform(draws[0], 0, 0, 0);
    EXPECT_NEAR(pivot[0], 0.0, 1e-9);
    EXPECT_NEAR(pivot[1], -20.0, 1e-9);
    EXPECT_NEAR(pivot[2], -80.0, 1e-9);
    EXPECT_NEAR(scenetest::SpinDegrees(draws[0]), 16.0, 1e-4);
    // The model's z axis is the scene's up axis.
    const auto up = scenetest::Transform(draws[0], 0, 0, 1);
    EXPECT_NEAR(up[1] - pivot[1], 2.15, 1e-6);

    const double adSpins[] = {15, 14, 13, 12, 11};
    const double adAbove[] = {1.075, 2.15, 3.225, 4.3, 5.375};
    for (int k = 1; k <= 5; ++k) {
        const auto origin = scenetest::Transform(draws[k], 0, 0, 0);
        EXPECT_NEAR(scenetest::SpinDegrees(draws[k]), adSpins[k - 1], 1e-4) << "copy " << k;
        EXPECT_NEAR(origin[1] - pivot[1], adAbove[k - 1], 1e-5) << "copy " << k;
        EXPECT_NEAR(origin[0], 0.0, 1e-5) << "copy " << k;
        EXPECT_NEAR(origin[2], -80.0, 1e-5) << "copy " << k;
    }
}

TEST_F(SceneCalls, RenderWithoutAModelDrawsNothingButTheFrame) {
    // Before InitScene or after ReleaseScene a stray paint must not crash.
    ReleaseScene();
    RenderScene(1);
    const Calls calls = fakegl::Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "glPushMatrix()"), 0);
    EXPECT_EQ(calls.back(), "glDisable(0x0BD0)");
}

// The scene builds its file paths in 260 characters. A directory that leaves no
// room for the file name, or none at all, must not lead to a truncated path or
// a write past the buffer: the scene goes on without its assets.
class SceneTempPaths : public SceneCalls {
protected:
    // A real directory whose path, with its trailing '/', is nLength characters.
    std::string DirectoryOfLength(std::size_t nLength) {
        const std::size_t nName = nLength - m_scratch.Path().size() - 1;
        const std::string strPath = m_scratch.Path() + std::string(nName, 'd') + "/";
        std::filesystem::create_directory(strPath);
        return strPath;
    }
    bool UploadedSkin() const {
        for (const std::string& call : fakegl::Calls())
            if (call.rfind("glTexImage2D(", 0) == 0) return true;
        return false;
    }
    std::size_t SurfacesDrawn() {
        fakegl::Reset();
        RenderScene(0);
        const Calls calls = fakegl::Calls();
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), "glPushMatrix()"));
    }
};

TEST_F(SceneTempPaths, PathOfExactly259CharactersIsUsed) {
    const std::string strDirectory = DirectoryOfLength(259 - 18);
    ASSERT_EQ((strDirectory + kModelFile).size(), 259u);
    fakescene::SetTempDirectory(strDirectory);
    InitScene();
    EXPECT_TRUE(UploadedSkin());
    EXPECT_EQ(fakescene::Extractions().size(), 2u);
    EXPECT_EQ(SurfacesDrawn(), 2u);
}

TEST_F(SceneTempPaths, LongerPathLeavesTheSceneWithoutAssets) {
    for (std::size_t nLength : {259u - 17u, 300u, 4000u}) {
        fakegl::Reset();
        fakescene::ResetExtractions();
        std::string strDirectory(nLength - 1, 'x');
        strDirectory += '/';
        if (nLength == 259u - 17u) strDirectory = DirectoryOfLength(nLength);
        fakescene::SetTempDirectory(strDirectory);
        InitScene();
        EXPECT_FALSE(UploadedSkin()) << nLength;
        EXPECT_TRUE(fakescene::Extractions().empty()) << nLength;
        EXPECT_EQ(fakegl::Calls().back(), "glClearColor(0, 0, 0, 1)");
        ASSERT_TRUE(g_pSceneModel);
        EXPECT_EQ(SurfacesDrawn(), 0u) << nLength;
        ReleaseScene();
    }
}

TEST_F(SceneTempPaths, UnknownDirectoryLeavesTheSceneWithoutAssets) {
    fakescene::SetTempDirectory("");
    InitScene();
    EXPECT_FALSE(UploadedSkin());
    EXPECT_TRUE(fakescene::Extractions().empty());
    EXPECT_FALSE(std::filesystem::exists(kModelFile));  // nothing in the working directory
    EXPECT_EQ(SurfacesDrawn(), 0u);
}

}  // namespace
