// Real pixels of the scene, drawn by Mesa off-screen from the committed model
// and skin through the real loaders: what a viewer of the saver sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "scene/Scene.h"
#include "support/FakeSeams.h"
#include "support/OffscreenGL.h"

const int kSide = 256;  // square: aspect 1, so x and y scale alike

struct Box {
    int left = kSide, bottom = kSide, right = -1, top = -1;  // inclusive, rows from the bottom
    void Add(int x, int y) { *this = {std::min(left, x), std::min(bottom, y), std::max(right, x), std::max(top, y)}; }
};

// A frame: RGBA, bottom row first; pixel i is at x = i % kSide, y = i / kSide.
struct Picture {
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* At(int i) const { return &rgba[std::size_t(i) * 4]; }
    bool Lit(int i) const { return At(i)[0] || At(i)[1] || At(i)[2]; }
    template <typename Pred> int Count(Pred pred) const {
        int n = 0;
        for (int i = 0; i < kSide * kSide; ++i) n += pred(i) ? 1 : 0;
        return n;
    }
    int Differing(const Picture& other) const { return Count([&](int i) { return !std::equal(At(i), At(i) + 3, other.At(i)); }); }
    Box LitBox() const {
        Box box;
        Count([&](int i) { return Lit(i) && (box.Add(i % kSide, i / kSide), true); });
        return box;
    }
};

class ScenePixels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_gl.IsCurrent());
        InitScene();
        ResizeScene(kSide, kSide);
    }
    void TearDown() override { ReleaseScene(); }
    // The frame at uNowMs after one at uPrevMs, for a scene started at 0.
    Picture Render(std::uint32_t uPrevMs, std::uint32_t uNowMs, float fOps, float fRps, int bBlur) {
        for (std::uint32_t uMs : {uPrevMs, uNowMs}) {
            fakescene::SetClock(uMs);
            UpdateMotion(0.0, fOps, fRps);
        }
        RenderScene(bBlur);
        return Picture{m_gl.Pixels()};
    }
    OffscreenGL m_gl{kSide, kSide};
};

// Where the camera puts the model's vertices, from the scene's geometry: the
// model upright (its z up), turned a quarter and then by the spin about that
// axis, scaled 2.15 x 0.015, its pivot 20 below the centre and 80 away, seen
// through 90 degrees; what falls outside the view is clipped.
Box ExpectedBox(double dAngle, double dHeight) {
    const double dScale = 2.15 * 0.015, c = std::cos(dAngle * M_PI / 180), s = std::sin(dAngle * M_PI / 180);
    Box box;
    for (int i = 0; i < g_pSceneModel->m_Header.numSurfaces; ++i)
        for (int v = 0; v < g_pSceneModel->m_apSurfaces[i]->m_Header.numVerts; ++v) {
            const std::int16_t* xyz = g_pSceneModel->m_apSurfaces[i]->m_pVertices[v].xyz;
            const double x = xyz[0] * dScale, y = xyz[1] * dScale, dDepth = 80 + x * c - y * s;
            const auto toPixel = [&](double d) { return std::clamp(int(std::floor((d / dDepth + 1) * kSide / 2)), 0, kSide - 1); };
            box.Add(toPixel(-(x * s + y * c)), toPixel(xyz[2] * dScale - 20 + dHeight));
        }
    return box;
}

// Only the model is lit, where the camera puts it: so the rest is black.
TEST_F(ScenePixels, ModelBelowTheCentreBobbingAndSpinning) {
    const struct { const char* what; std::uint32_t uMs; float fOps, fRps; double dAngle, dHeight; } kPoses[] = {
        {"at rest", 0, 0, 0, 0, 0},
        {"lowest, a quarter oscillation in", 250, 1, 0, 0, -15},
        {"highest, three quarters in", 750, 1, 0, 0, 15},
        {"a quarter turn", 1000, 0, 0.25f, 90, 0},
    };
    for (const auto& pose : kPoses) {
        const Box actual = Render(0, pose.uMs, pose.fOps, pose.fRps, 0).LitBox(), expected = ExpectedBox(pose.dAngle, pose.dHeight);
        for (auto side : {&Box::left, &Box::bottom, &Box::right, &Box::top}) EXPECT_NEAR(actual.*side, expected.*side, 2) << pose.what;
    }
    // A minimised window (0 x 0) and back: the projection is built afresh.
    const Picture before = Render(0, 0, 0, 0, 0);
    ResizeScene(0, 0);
    Render(0, 0, 0, 0, 0);
    ResizeScene(kSide, kSide);
    EXPECT_EQ(Render(0, 0, 0, 0, 0).Differing(before), 0);
}

TEST_F(ScenePixels, SkinnedOutsideFaces) {
    const Picture picture = Render(0, 400, 0.0f, 0.3f, 0);
    const int nLit = picture.Count([&](int i) { return picture.Lit(i); });
    std::set<std::vector<std::uint8_t>> colours;
    picture.Count([&](int i) { return picture.Lit(i) && colours.insert({picture.At(i), picture.At(i) + 3}).second; });
    EXPECT_GT(colours.size(), 64u);
    // Drawn with both sides, the nearest faces win the depth test: the outside.
    glDisable(GL_CULL_FACE);
    EXPECT_LT(Render(0, 400, 0.0f, 0.3f, 0).Differing(picture), nLit / 100);
    // Without the skin's image the same frame is flat white.
    glDeleteTextures(1, &g_uSkinTexture);
    const Picture bare = Render(0, 400, 0.0f, 0.3f, 0);
    EXPECT_EQ(bare.Count([&](int i) { return *std::min_element(bare.At(i), bare.At(i) + 3) == 255; }), nLit);
}

TEST_F(ScenePixels, TranslucentTrailOnlyWithMotionBlurOne) {
    // From 0 to 0.1 s at 1 oscillation and 0.5 revolutions a second: the model
    // drops about 8.8 units and turns 18 degrees.
    const Picture blurred = Render(0, 100, 1.0f, 0.5f, 1), sharp = Render(0, 100, 1.0f, 0.5f, 0);
    EXPECT_EQ(Render(0, 100, 1.0f, 0.5f, 2).Differing(sharp), 0) << "only 1 draws the trail";
    EXPECT_EQ(Render(60, 100, 1.0f, 0.5f, 0).Differing(sharp), 0) << "no trace of the last pose";
    EXPECT_GT(blurred.Count([&](int i) { return blurred.Lit(i) && !sharp.Lit(i); }), 200);
    // Five 20 % layers at most: never 68 % of full strength.
    EXPECT_EQ(blurred.Count([&](int i) { return !sharp.Lit(i) && *std::max_element(blurred.At(i), blurred.At(i) + 3) > 175; }), 0);
    EXPECT_GT(blurred.LitBox().top, sharp.LitBox().top) << "the model went down: its trail stands above";
    EXPECT_EQ(Render(0, 2000, 0, 0, 1).Differing(Render(0, 2000, 0, 0, 0)), 0) << "still: the copies hide behind";
    // The colour the trail leaves set does not dim the next frame's model.
    Render(0, 100, 1.0f, 0.5f, 1);
    const Picture afterTrail = Render(0, 300, 1.0f, 0.5f, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Render(0, 300, 1.0f, 0.5f, 0).Differing(afterTrail), 0);
}
