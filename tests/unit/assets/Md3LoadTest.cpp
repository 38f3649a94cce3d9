// Md3Model::Load at its boundaries: idents, the 20 surface slots, files cut
// short, and the 64 MiB that one model may allocate in all (what lies between
// is the MD3 fuzzer's).
#include <gtest/gtest.h>

#include <cstring>

#include "assets/Md3Model.h"
#include "assets/Md3Surface.h"
#include "support/FakeSeams.h"

using Bytes = std::vector<std::uint8_t>;

// A quad as a surface is stored: header, one shader, two triangles, four
// texture coordinates and four vertices, 264 bytes.
struct QuadSurface {
    Md3SurfaceHeader header{{'I', 'D', 'P', '3'}, "quad", 0, 1, 1, 4, 2, 176, 108, 200, 232, 264};
    Md3Shader shader{"chrome", 0};
    Md3Triangle triangles[2] = {{{0, 1, 2}}, {{0, 2, 3}}};
    Md3TexCoord texCoords[4] = {};
    Md3Vertex vertices[4] = {{{0, 10, 7}, {1, 2}}, {{10, 10, 7}, {1, 2}}, {{10, 10, 7}, {1, 2}}, {{0, 10, 7}, {1, 2}}};
};

// An MD3 file in the sequential layout: one frame, no tags, nSurfaces quads from offset 164.
Bytes QuadsFile(int nSurfaces) {
    const struct { Md3Header header; Md3Frame frame; QuadSurface aSurfaces[21]; } file = {
        {{'I', 'D', 'P', '3'}, 15, "model", 0, 1, 0, nSurfaces, 0, 108, 164, 164, 164 + 264 * nSurfaces}, {}, {}};
    static_assert(sizeof file == 164 + 264 * 21, "stored without padding");
    return Bytes(reinterpret_cast<const std::uint8_t*>(&file), reinterpret_cast<const std::uint8_t*>(&file.aSurfaces[nSurfaces]));
}

TEST(Md3Load, BoundariesOfTheFileAndOfTheAllocation) {
    const std::int32_t kIdent = 0x33504449;                    // "IDP3"
    const std::size_t kSurface1 = 164, kSurface2 = 164 + 264;  // and in a surface's header:
    const std::size_t kFrames = 72, kShaders = 76, kVerts = 80, kTriangles = 84;
    const struct {
        const char* what;
        int nSurfaces;
        std::vector<std::pair<std::size_t, std::int32_t>> patches;  // int32s written over the file
        std::size_t nCut;                                           // bytes taken off its end
        int nResult;
    } kCases[] = {
        {"two quads", 2, {}, 0, 1},
        {"model ident, first byte", 2, {{0, kIdent ^ 0x20}}, 0, 0},
        {"model ident, last byte", 2, {{0, kIdent ^ 0x20000000}}, 0, 0},
        {"second surface's ident", 2, {{kSurface2, kIdent ^ 0x20}}, 0, 0},
        {"no surfaces", 0, {}, 0, 1},
        {"negative surface count", 1, {{84, -5}}, 0, 1},
        {"20 surfaces", 20, {}, 0, 1},
        {"21 surfaces", 21, {}, 0, 0},
        {"cut before the second surface", 2, {}, 264, 0},
        {"negative shader count: none read", 1, {{kSurface1 + kShaders, -3}}, 0, 1},
        {"64 MiB in all, cut short", 1, {{kSurface1 + kVerts, 4194294}, {kSurface1 + kTriangles, 3}}, 0, 1},
        {"12 bytes beyond 64 MiB", 1, {{kSurface1 + kVerts, 4194294}, {kSurface1 + kTriangles, 4}}, 0, 0},
        {"2^31-1 triangles", 2, {{kSurface1 + kTriangles, 0x7fffffff}}, 0, 0},
        {"frames x vertices overflows", 2, {{kSurface1 + kFrames, 0x7fffffff}, {kSurface1 + kVerts, 0x7fffffff}}, 0, 0},
        {"2^31-1 model frames", 2, {{76, 0x7fffffff}}, 0, 0},
        {"tags x frames beyond 64 MiB", 2, {{76, 0x10000}, {80, 0x10000}}, 0, 0},
    };
    for (const auto& c : kCases) {
        Bytes bytes = QuadsFile(c.nSurfaces);
        for (const auto& patch : c.patches) std::memcpy(&bytes[patch.first], &patch.second, 4);
        bytes.resize(bytes.size() - c.nCut);
        Md3Model model;
        EXPECT_EQ(model.Load(fakescene::WriteTestFile("model.md3", bytes).c_str()), c.nResult) << c.what;
        EXPECT_EQ(model.m_pFile, nullptr) << c.what;
        if (c.nResult == 0) EXPECT_EQ(model.m_apSurfaces[0], nullptr) << c.what << ": a failed load draws nothing";
    }
    EXPECT_EQ(Md3Model().Load("/absent/model.md3"), 0);
}

TEST(Md3Load, CutFileKeepsWhatItHoldsAndZeros) {
    Bytes bytes = QuadsFile(1);
    bytes.resize(bytes.size() - 4);  // the last vertex's z and normal
    Md3Model model;
    ASSERT_EQ(model.Load(fakescene::WriteTestFile("model.md3", bytes).c_str()), 1);
    const Md3Vertex& last = model.m_apSurfaces[0]->m_pVertices[3];
    EXPECT_EQ(last.xyz[1], 10);
    EXPECT_EQ(last.xyz[2] | last.normal[0] | last.normal[1], 0);
}
