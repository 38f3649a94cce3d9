#include "Md3Writer.h"

#include <algorithm>
#include <cmath>

#include "ByteWriter.h"

namespace {

const double kPi = 3.14159265358979323846;
const int kHeaderSize = 108, kFrameSize = 56, kSurfaceHeaderSize = 108, kShaderSize = 68;
const int kTriangleSize = 12, kTexCoordSize = 8, kVertexSize = 8;
const float kModelScale = 0.015f;  // the drawer's scale, for the frame bounds

int SurfaceSize(const Mesh& mesh) {
    int nVerts = static_cast<int>(mesh.positions.size());
    return kSurfaceHeaderSize + kShaderSize + kTriangleSize * static_cast<int>(mesh.triangles.size()) +
           kTexCoordSize * nVerts + kVertexSize * nVerts;
}

// Packed normal: angle from +z, then azimuth, each 0..255 for a full turn.
unsigned Angle256(double radians) {
    long value = std::lround(radians * 255.0 / (2 * kPi));
    return static_cast<unsigned>(value) & 0xff;
}

void WriteFrame(ByteWriter& out, const std::vector<Md3SurfaceSource>& surfaces) {
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    double radius = 0;
    for (const auto& surface : surfaces)
        for (const Vec3& p : surface.mesh.positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            radius = std::max(radius, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
        }
    for (double v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}) out.F32(static_cast<float>(v) * kModelScale);
    for (int i = 0; i < 3; ++i) out.F32(0);
    out.F32(static_cast<float>(radius) * kModelScale);
    out.Name("frame0", 16);
}

void WriteSurface(ByteWriter& out, const Md3SurfaceSource& surface) {
    const Mesh& mesh = surface.mesh;
    int nVerts = static_cast<int>(mesh.positions.size());
    int nTris = static_cast<int>(mesh.triangles.size());
    int ofsTriangles = kSurfaceHeaderSize + kShaderSize;
    int ofsTexCoords = ofsTriangles + kTriangleSize * nTris;
    int ofsVerts = ofsTexCoords + kTexCoordSize * nVerts;
    out.Name("IDP3", 4);
    out.Name(surface.name, 64);
    for (int v : {0, 1, 1, nVerts, nTris, ofsTriangles, kSurfaceHeaderSize, ofsTexCoords, ofsVerts, SurfaceSize(mesh)})
        out.I32(v);
    out.Name("textures/ferrovane/chrome", 64);
    out.I32(0);
    // The drawer sends each triangle's corners last to first; stored reversed,
    // they reach it counter-clockwise seen from outside.
    for (const auto& tri : mesh.triangles) {
        out.I32(tri[2]);
        out.I32(tri[1]);
        out.I32(tri[0]);
    }
    for (const Vec3& p : mesh.positions) {  // a cylindrical projection, for other viewers
        out.F32(static_cast<float>((std::atan2(p.y, p.x) + kPi) / (2 * kPi)));
        out.F32(static_cast<float>(1.0 - (p.z + 680.0) / 2630.0));
    }
    std::vector<Vec3> normals = VertexNormals(mesh);
    for (int i = 0; i < nVerts; ++i) {
        const Vec3& p = mesh.positions[i];
        const Vec3& n = normals[i];
        out.I16(static_cast<int>(std::lround(p.x)));
        out.I16(static_cast<int>(std::lround(p.y)));
        out.I16(static_cast<int>(std::lround(p.z)));
        out.U8(Angle256(std::acos(std::max(-1.0, std::min(1.0, n.z)))));
        out.U8(Angle256(std::atan2(n.y, n.x)));
    }
}

}  // namespace

std::vector<std::uint8_t> WriteMd3(const std::string& modelName, const std::vector<Md3SurfaceSource>& surfaces) {
    int ofsSurfaces = kHeaderSize + kFrameSize;
    int ofsEnd = ofsSurfaces;
    for (const auto& surface : surfaces) ofsEnd += SurfaceSize(surface.mesh);
    ByteWriter out;
    out.Name("IDP3", 4);
    out.I32(15);
    out.Name(modelName, 64);
    for (int v : {0, 1, 0, static_cast<int>(surfaces.size()), 0, kHeaderSize, ofsSurfaces, ofsSurfaces, ofsEnd})
        out.I32(v);
    WriteFrame(out, surfaces);
    for (const auto& surface : surfaces) WriteSurface(out, surface);
    return out.Bytes();
}
