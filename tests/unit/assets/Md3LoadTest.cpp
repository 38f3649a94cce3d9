// Md3Model::Load: the sequential layout, refusals of damaged files, and the
// safety of a model after any failed load.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "support/FakeGL.h"
#include "unit/assets/AssetFiles.h"

namespace {

TestSurface Quad() {
    TestSurface s;
    s.vertices = {Vertex(0, 0, 0), Vertex(10, 0, 0), Vertex(10, 10, 0), Vertex(0, 10, 0)};
    s.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    return s;
}

TestModel TwoQuads() {
    TestModel m;
    m.surfaces = {Quad(), Quad()};
    return m;
}

// After a failed load the model draws nothing and can still be destroyed.
void ExpectEmptyAndSafe(Md3Model& model) {
    fakegl::Reset();
    model.Draw(0);
    EXPECT_TRUE(fakegl::Calls().empty());
    for (Md3Surface* pSurface : model.m_apSurfaces) EXPECT_EQ(pSurface, nullptr);
    EXPECT_EQ(model.m_pFile, nullptr);
}

class Md3Load : public ::testing::Test {
protected:
    int LoadBytes(const Bytes& bytes) { return m_Model.Load(m_Dir.Write("model.md3", bytes).c_str()); }
    TempDir m_Dir;
    Md3Model m_Model;
};

TEST_F(Md3Load, ReadsWellFormedModel) {
    TestModel m = TwoQuads();
    m.surfaces[1].vertices[2] = Vertex(-7, 8, 9, 40, 200);
    ASSERT_EQ(LoadBytes(BuildMd3(m)), 1);
    EXPECT_EQ(m_Model.m_Header.numSurfaces, 2);
    ASSERT_NE(m_Model.m_apSurfaces[1], nullptr);
    EXPECT_EQ(m_Model.m_apSurfaces[2], nullptr);
    const Md3Surface& second = *m_Model.m_apSurfaces[1];
    EXPECT_EQ(second.m_Header.numVerts, 4);
    EXPECT_EQ(second.m_pTriangles[1].indexes[2], 3);
    EXPECT_EQ(second.m_pVertices[2].xyz[0], -7);
    EXPECT_EQ(second.m_pVertices[2].normal[1], 200);
    EXPECT_EQ(m_Model.m_pFile, nullptr);
}

TEST_F(Md3Load, MissingFileFails) {
    EXPECT_EQ(m_Model.Load(m_Dir.Path("absent.md3").c_str()), 0);
    ExpectEmptyAndSafe(m_Model);
}

TEST_F(Md3Load, RefusesWrongIdentInAnyByte) {
    for (int nByte = 0; nByte < 4; ++nByte) {
        char headerIdent[5] = "IDP3", surfaceIdent[5] = "IDP3";
        headerIdent[nByte] ^= 0x20;
        surfaceIdent[nByte] = '?';
        TestModel badHeader = TwoQuads();
        badHeader.ident = headerIdent;
        EXPECT_EQ(LoadBytes(BuildMd3(badHeader)), 0) << "header byte " << nByte;
        ExpectEmptyAndSafe(m_Model);
        TestModel badSecondSurface = TwoQuads();
        badSecondSurface.surfaces[1].ident = surfaceIdent;
        EXPECT_EQ(LoadBytes(BuildMd3(badSecondSurface)), 0) << "surface byte " << nByte;
        ExpectEmptyAndSafe(m_Model);
    }
}

TEST_F(Md3Load, ZeroOrNegativeSurfaceCountLoadsAndDrawsNothing) {
    for (int nCount : {0, -5}) {
        TestModel m;
        m.numSurfaces = nCount;
        EXPECT_EQ(LoadBytes(BuildMd3(m)), 1);
        ExpectEmptyAndSafe(m_Model);
    }
}

TEST_F(Md3Load, SurfaceCountAboveTwentyRefused) {
    TestModel twenty;
    twenty.surfaces.assign(20, Quad());
    EXPECT_EQ(LoadBytes(BuildMd3(twenty)), 1);
    EXPECT_NE(m_Model.m_apSurfaces[19], nullptr);
    TestModel many;
    many.surfaces.assign(21, Quad());
    EXPECT_EQ(LoadBytes(BuildMd3(many)), 0);
    ExpectEmptyAndSafe(m_Model);
}

TEST_F(Md3Load, FileCutInsideSurfaceBlocksLoadsWithZeros) {
    Bytes bytes = BuildMd3(TwoQuads());
    bytes.resize(bytes.size() - 8);  // the second surface's last vertex is missing
    ASSERT_EQ(LoadBytes(bytes), 1);
    const Md3Vertex& last = m_Model.m_apSurfaces[1]->m_pVertices[3];
    EXPECT_EQ(last.xyz[0], 0);
    EXPECT_EQ(last.xyz[1], 0);
    EXPECT_EQ(m_Model.m_apSurfaces[1]->m_pVertices[2].xyz[0], 10);
}

TEST_F(Md3Load, FileCutBeforeSurfaceHeaderFails) {
    TestModel m = TwoQuads();
    Bytes whole = BuildMd3(m);
    m.surfaces.pop_back();
    Bytes firstOnly = BuildMd3(m);
    Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(firstOnly.size()));
    EXPECT_EQ(LoadBytes(bytes), 0);
    ExpectEmptyAndSafe(m_Model);
    bytes.resize(bytes.size() + 50);  // half a surface header, zeros
    EXPECT_EQ(LoadBytes(bytes), 0);
}

TEST_F(Md3Load, AbsurdCountsRefusedBeforeAllocating) {
    struct Case {
        const char* what;
        int frames, verts, triangles, shaders;
    } cases[] = {
        {"triangles", 1, 4, 0x7fffffff, 1},
        {"shaders", 1, 4, 2, 0x7fffffff},
        {"vertices", 1, 0x7fffffff, 2, 1},
        {"frames x vertices overflows", 0x7fffffff, 0x7fffffff, 2, 1},
        {"frames x vertices beyond the file", 100000, 4, 2, 1},
    };
    for (const Case& c : cases) {
        TestModel m = TwoQuads();
        TestSurface& s = m.surfaces[1];
        s.numFrames = c.frames;
        s.numVerts = c.verts;
        s.numTriangles = c.triangles;
        s.numShaders = c.shaders;
        EXPECT_EQ(LoadBytes(BuildMd3(m)), 0) << c.what;
        ExpectEmptyAndSafe(m_Model);
    }
}

TEST_F(Md3Load, AbsurdFrameAndTagCountsRefused) {
    for (auto counts : {std::pair<int, int>{0x7fffffff, 0}, {1, 0x7fffffff}, {0x10000, 0x10000}}) {
        Bytes bytes = BuildMd3(TwoQuads());
        std::memcpy(bytes.data() + 76, &counts.first, 4);
        std::memcpy(bytes.data() + 80, &counts.second, 4);
        EXPECT_EQ(LoadBytes(bytes), 0) << counts.first << " frames, " << counts.second << " tags";
        ExpectEmptyAndSafe(m_Model);
    }
}

TEST_F(Md3Load, NegativeCountsMeanNoRecords) {
    TestModel m = TwoQuads();
    m.surfaces[1].numShaders = -3;
    m.surfaces[1].shaders = 0;
    ASSERT_EQ(LoadBytes(BuildMd3(m)), 1);
    EXPECT_EQ(m_Model.m_apSurfaces[1]->m_pShaders, nullptr);
    EXPECT_NE(m_Model.m_apSurfaces[1]->m_pVertices, nullptr);
}

// Found by fuzzing: many frames over a negative vertex count once multiplied
// the two counts before looking at their signs.
TEST_F(Md3Load, ManyFramesOverNegativeVertexCountReadNoVertices) {
    TestModel m;
    m.surfaces = {Quad()};
    m.surfaces[0].numFrames = 7316;
    m.surfaces[0].numVerts = -1061158912;
    ASSERT_EQ(LoadBytes(BuildMd3(m)), 1);
    EXPECT_EQ(m_Model.m_apSurfaces[0]->m_pVertices, nullptr);
    fakegl::Reset();
    m_Model.m_apSurfaces[0]->Draw(0);
    ASSERT_EQ(fakegl::Calls().size(), 3u);  // push, scale, pop: nothing to draw
    EXPECT_EQ(fakegl::Calls()[0], "glPushMatrix()");
    EXPECT_EQ(fakegl::Calls()[2], "glPopMatrix()");
}

TEST_F(Md3Load, SecondLoadReplacesTheFirst) {
    TestModel m = TwoQuads();
    ASSERT_EQ(LoadBytes(BuildMd3(m)), 1);
    m.surfaces.pop_back();
    ASSERT_EQ(LoadBytes(BuildMd3(m)), 1);  // the leak checker sees the first model's arrays
    EXPECT_EQ(m_Model.m_apSurfaces[1], nullptr);
}

// The embedded model: the sequential layout, in the size the scene expects.
TEST(Md3EmbeddedModel, LoadsInTheSequentialLayoutAndFitsTheScene) {
    Md3Model model;
    ASSERT_EQ(model.Load(ResPath("ferrovane.md3").c_str()), 1);
    Bytes file = ReadWholeFile(ResPath("ferrovane.md3"));
    const Md3Header& h = model.m_Header;
    EXPECT_EQ(h.numFrames, 1);
    EXPECT_EQ(h.numTags, 0);
    EXPECT_EQ(h.numSurfaces, 2);
    EXPECT_EQ(h.ofsFrames, 108);
    EXPECT_EQ(h.ofsSurfaces, 164);
    EXPECT_EQ(h.ofsEnd, static_cast<int>(file.size()));
    int nOffset = h.ofsSurfaces, nMinZ = 0, nMaxZ = 0;
    double dMaxRadius = 0;
    for (int i = 0; i < h.numSurfaces; ++i) {
        const Md3Surface& s = *model.m_apSurfaces[i];
        const Md3SurfaceHeader& sh = s.m_Header;
        EXPECT_EQ(sh.ofsShaders, 108);
        EXPECT_EQ(sh.ofsTriangles, 108 + 68 * sh.numShaders);
        EXPECT_EQ(sh.ofsTexCoords, sh.ofsTriangles + 12 * sh.numTriangles);
        EXPECT_EQ(sh.ofsVerts, sh.ofsTexCoords + 8 * sh.numVerts);
        EXPECT_EQ(sh.ofsEnd, sh.ofsVerts + 8 * sh.numVerts * sh.numFrames);
        nOffset += sh.ofsEnd;
        for (int t = 0; t < sh.numTriangles; ++t)
            for (int index : s.m_pTriangles[t].indexes) ASSERT_TRUE(index >= 0 && index < sh.numVerts);
        for (int v = 0; v < sh.numVerts; ++v) {
            const Md3Vertex& vertex = s.m_pVertices[v];
            nMinZ = std::min<int>(nMinZ, vertex.xyz[2]);
            nMaxZ = std::max<int>(nMaxZ, vertex.xyz[2]);
            dMaxRadius = std::max(dMaxRadius, std::hypot(vertex.xyz[0], vertex.xyz[1]));
            EXPECT_LE(vertex.normal[0], 128) << "angle from +z is at most half a turn";
        }
    }
    EXPECT_EQ(nOffset, h.ofsEnd);
    EXPECT_EQ(model.m_apSurfaces[1]->m_Header.numVerts, 8);
    EXPECT_EQ(model.m_apSurfaces[1]->m_Header.numTriangles, 12);
    // 22 units below the pivot, 63 above, 38 from the axis at the scene's 0.03225.
    EXPECT_NEAR(nMinZ * 0.03225, -22, 2);
    EXPECT_NEAR(nMaxZ * 0.03225, 63, 2);
    EXPECT_NEAR(dMaxRadius * 0.03225, 38, 2);
}

}  // namespace
