// Md3Model::Draw: the exact immediate-mode calls, frame choice, and the
// guards that keep the drawer inside its vertex array.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "support/FakeGL.h"
#include "unit/assets/AssetFiles.h"

namespace {

using Calls = std::vector<std::string>;

const char* const kPush = "glPushMatrix()";
const char* const kScale = "glScalef(0.0149999997, 0.0149999997, 0.0149999997)";
const char* const kPop = "glPopMatrix()";

class Md3Draw : public ::testing::Test {
protected:
    void Load(const TestModel& model) {
        ASSERT_EQ(m_Model.Load(m_Dir.Write("model.md3", BuildMd3(model)).c_str()), 1);
        fakegl::Reset();
    }
    std::size_t Count(const std::string& call) const {
        std::size_t n = 0;
        for (const std::string& c : fakegl::Calls()) n += c == call;
        return n;
    }
    TempDir m_Dir;
    Md3Model m_Model;
};

TestSurface TenVertices() {
    TestSurface s;
    for (int i = 0; i < 10; ++i) s.vertices.push_back(Vertex(i, 2 * i, 3 * i, i, 255 - i));
    return s;
}

TEST_F(Md3Draw, SendsCornersReversedWithNormalByteTexCoords) {
    TestModel m;
    m.surfaces = {TenVertices()};
    m.surfaces[0].vertices[2] = Vertex(100, -64, 3, 17, 245);
    m.surfaces[0].triangles = {{{4, 9, 2}}};
    Load(m);
    m_Model.Draw(0);
    const Calls expected = {
        kPush, kScale, "glBegin(0x0004)",
        "glTexCoord2f(0.06640625, -0.04296875)", "glVertex3f(100, -64, 3)",
        "glTexCoord2f(0.03515625, -0.0390625)", "glVertex3f(9, 18, 27)",
        "glTexCoord2f(0.015625, -0.01953125)", "glVertex3f(4, 8, 12)",
        "glEnd()", kPop,
    };
    EXPECT_EQ(fakegl::Calls(), expected);
}

TEST_F(Md3Draw, NormalBytesAreSigned) {
    TestModel m;
    m.surfaces = {TenVertices()};
    m.surfaces[0].vertices[0] = Vertex(0, 0, 0, 200, 128);
    m.surfaces[0].vertices[1] = Vertex(0, 0, 0, 127, 0);
    m.surfaces[0].triangles = {{{0, 1, 1}}};
    Load(m);
    m_Model.Draw(0);
    EXPECT_EQ(Count("glTexCoord2f(-0.21875, -0.5)"), 1u);
    EXPECT_EQ(Count("glTexCoord2f(0.49609375, 0)"), 2u);
}

TEST_F(Md3Draw, FrameOutOfRangeDrawsFrameZero) {
    TestSurface s;
    s.frames = 2;
    s.vertices = {Vertex(1, 1, 1), Vertex(2, 2, 2), Vertex(3, 3, 3), Vertex(-1, -1, -1), Vertex(-2, -2, -2),
                  Vertex(-3, -3, -3)};
    s.triangles = {{{0, 1, 2}}};
    TestModel m;
    m.frames = 2;
    m.surfaces = {s};
    Load(m);
    m_Model.Draw(1);
    EXPECT_EQ(Count("glVertex3f(-3, -3, -3)"), 1u) << "frame 1 is in range";
    EXPECT_EQ(m_Model.m_nCurrentFrame, 1);
    for (int nFrame : {7, 2, -1}) {
        fakegl::Reset();
        m_Model.Draw(nFrame);
        EXPECT_EQ(Count("glVertex3f(3, 3, 3)"), 1u) << "frame " << nFrame;
        EXPECT_EQ(Count("glVertex3f(-3, -3, -3)"), 0u) << "frame " << nFrame;
        EXPECT_EQ(m_Model.m_nCurrentFrame, nFrame);
    }
}

TEST_F(Md3Draw, SurfaceWithoutTrianglesOnlyScales) {
    TestModel m;
    m.surfaces = {TenVertices()};
    Load(m);
    m_Model.Draw(0);
    EXPECT_EQ(fakegl::Calls(), (Calls{kPush, kScale, kPop}));
}

TEST_F(Md3Draw, TrianglesWithoutVerticesDrawNothing) {
    for (int nFrames : {0, 1}) {
        TestSurface s;
        s.frames = nFrames;
        s.triangles = {{{0, 1, 2}}, {{0, 0, 0}}};
        s.numVerts = 0;
        TestModel m;
        m.surfaces = {s};
        Load(m);
        m_Model.Draw(0);
        EXPECT_EQ(fakegl::Calls(), (Calls{kPush, kScale, kPop})) << nFrames << " frames";
    }
}

TEST_F(Md3Draw, TrianglesWithIndicesOutsideTheFrameAreSkipped) {
    TestModel m;
    m.surfaces = {TenVertices()};
    m.surfaces[0].triangles = {{{0, 10, 1}}, {{-1, 2, 3}}, {{0x7fffffff, 1, 2}}, {{3, 2, 1}}};
    Load(m);
    m_Model.Draw(0);
    EXPECT_EQ(Count("glBegin(0x0004)"), 1u);
    EXPECT_EQ(fakegl::Calls()[4], "glVertex3f(1, 2, 3)");
}

TEST_F(Md3Draw, MoreThan32767TrianglesAllDrawnOnce) {
    TestSurface s = TenVertices();
    s.triangles.assign(40000, Md3Triangle{{0, 1, 2}});
    TestModel m;
    m.surfaces = {s};
    Load(m);
    m_Model.Draw(0);
    EXPECT_EQ(Count("glBegin(0x0004)"), 40000u);
    EXPECT_EQ(fakegl::Calls().back(), kPop);
}

TEST_F(Md3Draw, EverySurfaceInItsOwnScaledMatrix) {
    TestModel m;
    m.surfaces = {TenVertices(), TenVertices(), TenVertices()};
    Load(m);
    m_Model.Draw(0);
    EXPECT_EQ(fakegl::Calls(), (Calls{kPush, kScale, kPop, kPush, kScale, kPop, kPush, kScale, kPop}));
}

// Seen in the order the drawer sends them, the embedded model's triangles turn
// counter-clockwise on the side their packed normals face: the outside.
TEST(Md3EmbeddedWinding, FrontFacesPointOutward) {
    Md3Model model;
    ASSERT_EQ(model.Load(ResPath("ferrovane.md3").c_str()), 1);
    const double kTurn = 2 * 3.14159265358979323846 / 255.0;
    for (int i = 0; i < model.m_Header.numSurfaces; ++i) {
        const Md3Surface& s = *model.m_apSurfaces[i];
        for (int t = 0; t < s.m_Header.numTriangles; ++t) {
            const int* idx = s.m_pTriangles[t].indexes;
            const Md3Vertex& a = s.m_pVertices[idx[2]];  // the drawer's order
            const Md3Vertex& b = s.m_pVertices[idx[1]];
            const Md3Vertex& c = s.m_pVertices[idx[0]];
            double u[3], v[3], n[3] = {0, 0, 0};
            for (int k = 0; k < 3; ++k) {
                u[k] = b.xyz[k] - a.xyz[k];
                v[k] = c.xyz[k] - a.xyz[k];
            }
            double face[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
            for (const Md3Vertex* p : {&a, &b, &c}) {
                double lat = p->normal[0] * kTurn, lng = p->normal[1] * kTurn;
                n[0] += std::sin(lat) * std::cos(lng);
                n[1] += std::sin(lat) * std::sin(lng);
                n[2] += std::cos(lat);
            }
            EXPECT_GT(face[0] * n[0] + face[1] * n[1] + face[2] * n[2], 0) << "surface " << i << " triangle " << t;
        }
    }
}

}  // namespace
