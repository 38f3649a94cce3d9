// Real pixels of the scene, drawn by Mesa off-screen from the committed model
// and skin through the real loaders: what a viewer of the saver would see.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "scene/Scene.h"
#include "support/FakeSceneClock.h"
#include "support/FakeTempDirectory.h"
#include "support/OffscreenGL.h"

namespace {

const int kSide = 256;  // square view: aspect 1, so x and y scale alike
const double kPi = 3.14159265358979323846;

struct Box {
    int left = kSide, bottom = kSide, right = -1, top = -1;  // inclusive, rows from the bottom
    bool Empty() const { return right < left; }
};

class Picture {
public:
    explicit Picture(std::vector<std::uint8_t> pixels) : m_pixels(std::move(pixels)) {}
    const std::uint8_t* At(int x, int y) const { return &m_pixels[(std::size_t(y) * kSide + x) * 4]; }
    bool Lit(int x, int y) const { const auto* p = At(x, y); return p[0] || p[1] || p[2]; }
    bool SameColour(const Picture& other, int x, int y) const {
        return std::equal(At(x, y), At(x, y) + 3, other.At(x, y));
    }
    Box LitBox() const {
        Box box;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (Lit(x, y)) {
                    box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                    box.bottom = std::min(box.bottom, y), box.top = std::max(box.top, y);
                }
        return box;
    }
    int CountLit() const { return Count([&](int x, int y) { return Lit(x, y); }); }
    int CountDiffering(const Picture& other) const {
        return Count([&](int x, int y) { return !SameColour(other, x, y); });
    }
    template <typename Pred> int Count(Pred pred) const {
        int n = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) n += pred(x, y) ? 1 : 0;
        return n;
    }
    void Save(const char* pszName) const {
        if (const char* pszDir = std::getenv("FERRO_SCENE_SNAPSHOTS"))
            offscreen::WritePpm(std::string(pszDir) + "/" + pszName + ".ppm", m_pixels, kSide, kSide);
    }

private:
    std::vector<std::uint8_t> m_pixels;
};

class ScenePixels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_gl.IsCurrent());
        fakescene::SetTempDirectory(m_scratch.Path());
        InitScene();
        ResizeScene(kSide, kSide);
        ASSERT_TRUE(g_pSceneModel);
        ASSERT_GT(g_pSceneModel->m_Header.numSurfaces, 0) << "the committed model did not load";
    }
    void TearDown() override {
        ReleaseScene();
        fakescene::SetTempDirectory("");
        g_Motion = SceneMotion{};
    }
    // The frame at uNowMs after the one at uPrevMs, for a scene started at 0.
    Picture Render(std::uint32_t uPrevMs, std::uint32_t uNowMs, float fOps, float fRps, int bBlur) {
        g_Motion = SceneMotion{};
        fakescene::SetClock(uPrevMs);
        UpdateMotion(0.0, fOps, fRps);
        fakescene::SetClock(uNowMs);
        UpdateMotion(0.0, fOps, fRps);
        RenderScene(bBlur);
        return Picture(m_gl.Pixels());
    }

    offscreen::OffscreenGL m_gl{kSide, kSide};
    fakescene::ScratchDirectory m_scratch;
};

// Where the camera should put the model's vertices at a pose: the window box
// of every vertex of frame 0, worked out here from the scene's geometry.
Box ExpectedBox(const Md3Model& model, double dAngle, double dHeight) {
    const double dScale = 2.15 * 0.015;
    const double c = std::cos(dAngle * kPi / 180.0), s = std::sin(dAngle * kPi / 180.0);
    Box box;
    for (int i = 0; i < model.m_Header.numSurfaces; ++i) {
        const Md3Surface& surface = *model.m_apSurfaces[i];
        for (int v = 0; v < surface.m_Header.numVerts; ++v) {
            const auto& xyz = surface.m_pVertices[v].xyz;
            const double x = xyz[0] * dScale, y = xyz[1] * dScale, z = xyz[2] * dScale;
            const double x1 = x * c - y * s, y1 = x * s + y * c;  // the spin
            const double x2 = -y1, y2 = x1;                       // the fixed quarter turn
            // Upright: the model's z is up, its y points away from the camera.
            const double ex = x2, ey = z - 20.0 + dHeight, ez = -y2 - 80.0;
            const double wx = (ex / -ez + 1.0) * 0.5 * kSide, wy = (ey / -ez + 1.0) * 0.5 * kSide;
            box.left = std::min(box.left, int(std::floor(wx)));
            box.right = std::max(box.right, int(std::floor(wx)));
            box.bottom = std::min(box.bottom, int(std::floor(wy)));
            box.top = std::max(box.top, int(std::floor(wy)));
        }
    }
    return box;
}

// Parts of the model beyond the view are clipped: compare within the view.
void ExpectBoxNear(const Box& actual, const Box& expected, int nSlack) {
    const auto inView = [](int n) { return std::min(std::max(n, 0), kSide - 1); };
    EXPECT_NEAR(actual.left, inView(expected.left), nSlack);
    EXPECT_NEAR(actual.right, inView(expected.right), nSlack);
    EXPECT_NEAR(actual.bottom, inView(expected.bottom), nSlack);
    EXPECT_NEAR(actual.top, inView(expected.top), nSlack);
}

TEST_F(ScenePixels, ModelStandsBelowTheCentreOnBlack) {
    const Picture picture = Render(0, 0, 0.0f, 0.0f, 0);
    picture.Save("scene-pose-0");
    // Black background: the border of the view is empty.
    for (int i = 0; i < kSide; ++i) {
        EXPECT_FALSE(picture.Lit(i, kSide - 1)) << "top row, x " << i;
        EXPECT_FALSE(picture.Lit(0, i)) << "left column, y " << i;
        EXPECT_FALSE(picture.Lit(kSide - 1, i)) << "right column, y " << i;
    }
    const Box box = picture.LitBox();
    ASSERT_FALSE(box.Empty());
    // Centred across, standing on a pivot a quarter of the half-height below the centre.
    EXPECT_NEAR((box.left + box.right) / 2.0, kSide / 2.0, kSide * 0.1);
    const int nPivotRow = kSide * 3 / 8;
    EXPECT_LT(box.bottom, nPivotRow);
    EXPECT_GT(box.top, nPivotRow);
    EXPECT_LT(box.bottom, kSide / 2);
    ExpectBoxNear(box, ExpectedBox(*g_pSceneModel, 0.0, 0.0), 2);
}

TEST_F(ScenePixels, BobAndSpinMoveTheModelWhereTheCameraPutsThem) {
    // 1 oscillation a second: lowest at 0.25 s, highest at 0.75 s.
    const Picture low = Render(0, 250, 1.0f, 0.0f, 0);
    const Picture high = Render(0, 750, 1.0f, 0.0f, 0);
    low.Save("scene-low");
    high.Save("scene-high");
    ExpectBoxNear(low.LitBox(), ExpectedBox(*g_pSceneModel, 0.0, -15.0), 2);
    ExpectBoxNear(high.LitBox(), ExpectedBox(*g_pSceneModel, 0.0, 15.0), 2);
    EXPECT_GT(high.LitBox().bottom, low.LitBox().bottom + 20);

    // A quarter turn: 0.25 revolutions a second for 1 s.
    const Picture front = Render(0, 0, 0.0f, 0.25f, 0);
    const Picture turned = Render(0, 1000, 0.0f, 0.25f, 0);
    turned.Save("scene-turned-90");
    EXPECT_GT(turned.CountDiffering(front), front.CountLit() / 4);
    ExpectBoxNear(turned.LitBox(), ExpectedBox(*g_pSceneModel, 90.0, 9.8e-6), 2);
}

TEST_F(ScenePixels, SkinTexturesTheModel) {
    const Picture skinned = Render(0, 400, 0.0f, 0.3f, 0);
    std::set<std::array<std::uint8_t, 3>> colours;
    int nWhite = 0, nLit = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (skinned.Lit(x, y)) {
                const auto* p = skinned.At(x, y);
                colours.insert({p[0], p[1], p[2]});
                nWhite += (p[0] == 255 && p[1] == 255 && p[2] == 255) ? 1 : 0;
                ++nLit;
            }
    EXPECT_GT(nLit, 1000);
    EXPECT_GT(colours.size(), 64u);
    EXPECT_LT(nWhite, nLit / 20);

    // Without the skin's image the same frame is flat white.
    glDeleteTextures(1, &g_uSkinTexture);
    const Picture bare = Render(0, 400, 0.0f, 0.3f, 0);
    bare.Save("scene-no-skin");
    EXPECT_EQ(bare.CountLit(), nLit);
    EXPECT_EQ(bare.Count([&](int x, int y) {
        const auto* p = bare.At(x, y);
        return bare.Lit(x, y) && !(p[0] == 255 && p[1] == 255 && p[2] == 255);
    }), 0);
}

TEST_F(ScenePixels, TrailShowsBesideTheModelOnlyWithBlurOn) {
    // From 0 to 0.1 s at 1 oscillation and 0.5 revolutions a second: the model
    // drops about 8.8 units and turns 18 degrees.
    const Picture blurred = Render(0, 100, 1.0f, 0.5f, 1);
    const Picture sharp = Render(0, 100, 1.0f, 0.5f, 0);
    const Picture sharpFromElsewhere = Render(60, 100, 1.0f, 0.5f, 0);
    blurred.Save("scene-trail-on");
    sharp.Save("scene-trail-off");
    // Blur off: the previous pose leaves no trace.
    EXPECT_EQ(sharp.CountDiffering(sharpFromElsewhere), 0);
    const int nTrail = blurred.Count([&](int x, int y) { return blurred.Lit(x, y) && !sharp.Lit(x, y); });
    EXPECT_GT(nTrail, 200);
    // Translucent: at most five 20 % layers, never the skin at full strength.
    const int nTooBright = blurred.Count([&](int x, int y) {
        const auto* p = blurred.At(x, y);
        return !sharp.Lit(x, y) && std::max({p[0], p[1], p[2]}) > 0.68 * 255 + 2;
    });
    EXPECT_EQ(nTooBright, 0);
    // The trail follows the move: the model went down, the copies stand above it.
    EXPECT_GT(blurred.LitBox().top, sharp.LitBox().top);
}

TEST_F(ScenePixels, StillModelsTrailLeavesThePictureUnchanged) {
    const Picture blurred = Render(0, 2000, 0.0f, 0.0f, 1);
    const Picture sharp = Render(0, 2000, 0.0f, 0.0f, 0);
    EXPECT_GT(sharp.CountLit(), 1000);
    EXPECT_EQ(blurred.CountDiffering(sharp), 0);
}

TEST_F(ScenePixels, ColourLeftByTheTrailDoesNotDimTheNextModel) {
    Render(0, 100, 1.0f, 0.5f, 1);
    GLfloat afColour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, afColour);
    EXPECT_EQ(afColour[0], 1.0f);
    EXPECT_EQ(afColour[3], 0.2f);
    const Picture afterTrail = Render(0, 300, 1.0f, 0.5f, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const Picture fresh = Render(0, 300, 1.0f, 0.5f, 0);
    EXPECT_GT(fresh.CountLit(), 1000);
    EXPECT_EQ(afterTrail.CountDiffering(fresh), 0);
}

}  // namespace
