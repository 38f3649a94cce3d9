// Real pixels of the scene, drawn by Mesa off-screen from the committed model
// and skin through the real loaders: what a viewer of the saver sees.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "scene/Scene.h"
#include "support/FakeSeams.h"
#include "support/OffscreenGL.h"
#include "support/Picture.h"

const int kSide = 256;  // square: aspect 1, so x and y scale alike

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
        return Picture{kSide, m_gl.Pixels()};
    }
    OffscreenGL m_gl{kSide, kSide};
};

// Where the camera puts the model's vertices, from the scene's geometry: the
// model upright (its z up), turned a quarter and then by the spin about that
// axis, scaled 2.15 x 0.015, its pivot 20 below the centre and 80 away, seen
// through 90 degrees; what falls outside the view is clipped. The box given
// grows to hold them.
Box ExpectedBox(double dAngle, double dHeight, Box box = {}) {
    const double dScale = 2.15 * 0.015, c = std::cos(dAngle * M_PI / 180), s = std::sin(dAngle * M_PI / 180);
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
    // The projection follows the window's shape, built afresh at every size: at
    // 4:3 and 16:9 (its right cut off) of 192 rows the model is three quarters
    // as wide and as high as at 1:1 of 256; a minimised window draws nothing.
    const std::pair<int, int> kSizes[] = {{256, 192}, {0, 0}, {341, 192}, {kSide, kSide}};
    Box boxes[4];
    for (int i : {0, 1, 2, 3}) ResizeScene(kSizes[i].first, kSizes[i].second), boxes[i] = Render(0, 0, 0, 0, 0).LitBox();
    for (int i : {0, 2}) {
        EXPECT_NEAR(boxes[i].right - boxes[i].left, (boxes[3].right - boxes[3].left) * 0.75, 3) << kSizes[i].first << " wide";
        EXPECT_NEAR(boxes[i].top - boxes[i].bottom, (boxes[3].top - boxes[3].bottom) * 0.75, 3) << kSizes[i].first << " wide";
    }
    EXPECT_LT(boxes[1].right, 0) << "nothing drawn while minimised";
    for (auto side : {&Box::left, &Box::bottom, &Box::right, &Box::top}) EXPECT_NEAR(boxes[3].*side, ExpectedBox(0, 0).*side, 2) << "1:1";
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

// Only Motion Blur 1 draws the trail. Copy k turns k/6 of the way back to the
// last frame's angle and moves 2.15 k/6 of the last change of height back, in
// the model's scaled units; the trail spans the six poses. Alone over black, a
// copy is 20 % of the model drawn opaque where it stands.
TEST_F(ScenePixels, TrailCopiesStepBackToTheLastPoseAtOneFifthStrength) {
    const struct { std::uint32_t uMs; float fOps, fRps; } kMoves[] = {{200, 1, 0}, {200, 0, 0.5f}, {100, 1, 0.5f}};
    for (const auto& move : kMoves) {
        const Picture blurred = Render(0, move.uMs, move.fOps, move.fRps, 1);
        const double dAngle = g_Motion.m_fAngle, dHeight = g_Motion.m_fHeight, dBack = (g_Motion.m_fPrevHeight - dHeight) * 2.15 / 6;
        Box expected;
        for (int k = 0; k <= 5; ++k) expected = ExpectedBox(dAngle * (6 - k) / 6, dHeight + k * dBack, expected);
        for (auto side : {&Box::left, &Box::bottom, &Box::right, &Box::top}) EXPECT_NEAR(blurred.LitBox().*side, expected.*side, 2) << move.uMs << " ms";
        if (move.fRps != 0) continue;
        // Rows above the fourth copy, which only the fifth reaches, against the model drawn opaque there.
        const int nAbove = ExpectedBox(0, dHeight + 4 * dBack).top + 2;
        g_Motion.m_fPrevHeight = g_Motion.m_fHeight = float(dHeight + 5 * dBack);
        RenderScene(0);
        const Picture alone{kSide, m_gl.Pixels()};
        const auto there = [&](int i) { return i / kSide > nAbove && alone.Lit(i); };
        EXPECT_GT(alone.Count(there), 50);
        EXPECT_EQ(alone.Count([&](int i) { return there(i) && std::abs(blurred.Brightest(i) - alone.Brightest(i) * 0.2) > 1; }), 0);
    }
    const Picture sharp = Render(0, 100, 1.0f, 0.5f, 0);
    EXPECT_EQ(Render(0, 100, 1.0f, 0.5f, 2).Differing(sharp), 0) << "only 1 draws the trail";
    EXPECT_EQ(Render(60, 100, 1.0f, 0.5f, 0).Differing(sharp), 0) << "no trace of the last pose";
    EXPECT_EQ(Render(0, 2000, 0, 0, 1).Differing(Render(0, 2000, 0, 0, 0)), 0) << "still: the copies hide behind";
    // The colour the trail leaves set does not dim the next frame's model.
    Render(0, 100, 1.0f, 0.5f, 1);
    const Picture afterTrail = Render(0, 300, 1.0f, 0.5f, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Render(0, 300, 1.0f, 0.5f, 0).Differing(afterTrail), 0);
}

// Each vertex's skin coordinates are its packed normal's two bytes read as
// signed (200 is -0.21875, 72 is 0.28125), both slid by one period per
// revolution. On a skin of 16 x 16 texels that does not repeat, red counting
// the columns and green the rows, the model takes one texel: the first of its
// row or column where a coordinate is below 0.
TEST_F(ScenePixels, SkinFromTheSignedNormalBytesSlidingWithTheSpin) {
    std::uint8_t grid[16 * 16 * 3];  // blue lights every texel
    for (int i = 0; i < 256; ++i) grid[i * 3] = std::uint8_t(i % 16 * 16), grid[i * 3 + 1] = std::uint8_t(i / 16 * 16), grid[i * 3 + 2] = 255;
    glBindTexture(GL_TEXTURE_2D, g_uSkinTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 16, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, grid);
    for (GLenum eWrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) glTexParameteri(GL_TEXTURE_2D, eWrap, GL_CLAMP_TO_EDGE);
    for (GLenum eFilter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) glTexParameteri(GL_TEXTURE_2D, eFilter, GL_NEAREST);
    const struct { std::uint8_t s, t; std::uint32_t uMs; int nRed, nGreen; } kRows[] = {  // 0, 45 and 180 degrees
        {72, 200, 0, 64, 0}, {72, 72, 1000, 96, 96}, {200, 72, 4000, 64, 192}};
    for (const auto& row : kRows) {
        for (int i = 0; i < g_pSceneModel->m_Header.numSurfaces; ++i)
            for (int v = 0; v < g_pSceneModel->m_apSurfaces[i]->m_Header.numVerts; ++v)  // one frame
                std::memcpy(g_pSceneModel->m_apSurfaces[i]->m_pVertices[v].normal, &row, 2);
        const Picture picture = Render(0, row.uMs, 0, 0.125f, 0);
        EXPECT_GT(picture.Count([&](int i) { return picture.Lit(i); }), 1000);
        EXPECT_EQ(picture.Count([&](int i) { return picture.Lit(i) && (picture.At(i)[0] != row.nRed || picture.At(i)[1] != row.nGreen); }), 0)
            << "normal bytes " << int(row.s) << ", " << int(row.t) << " at " << row.uMs << " ms";
    }
}
