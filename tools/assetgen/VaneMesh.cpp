#include "VaneMesh.h"

#include <cmath>
#include <utility>

namespace {

const double kPi = 3.14159265358979323846;
const int kSegments = 12;  // around the turned post

struct ProfilePoint {
    double z, r;
};

// Bottom to top; the post is closed by a pole at each end.
const ProfilePoint kProfile[] = {
    {-680, 400}, {-560, 400}, {-490, 220}, {-380, 125}, {-200, 105}, {1100, 95},
    {1180, 190}, {1310, 90}, {1620, 70}, {1710, 215}, {1870, 215}, {1935, 90},
};

int Add(Mesh& mesh, double x, double y, double z) {
    mesh.positions.push_back({x, y, z});
    return static_cast<int>(mesh.positions.size()) - 1;
}

void Tri(Mesh& mesh, int a, int b, int c) { mesh.triangles.push_back({a, b, c}); }

void Quad(Mesh& mesh, int a, int b, int c, int d) {
    Tri(mesh, a, b, c);
    Tri(mesh, a, c, d);
}

void AddLathe(Mesh& mesh) {
    const int nRings = static_cast<int>(sizeof kProfile / sizeof kProfile[0]);
    int nBottom = Add(mesh, 0, 0, kProfile[0].z);
    int nFirst = static_cast<int>(mesh.positions.size());
    for (const ProfilePoint& point : kProfile)
        for (int i = 0; i < kSegments; ++i) {
            double a = 2 * kPi * i / kSegments;
            Add(mesh, point.r * std::cos(a), point.r * std::sin(a), point.z);
        }
    int nTop = Add(mesh, 0, 0, 1950);
    auto at = [&](int ring, int i) { return nFirst + ring * kSegments + (i % kSegments); };
    for (int i = 0; i < kSegments; ++i) {
        Tri(mesh, nBottom, at(0, i + 1), at(0, i));
        for (int ring = 0; ring + 1 < nRings; ++ring)
            Quad(mesh, at(ring, i), at(ring, i + 1), at(ring + 1, i + 1), at(ring + 1, i));
        Tri(mesh, at(nRings - 1, i), at(nRings - 1, i + 1), nTop);
    }
}

// A convex outline in the x-z plane (counter-clockwise seen from -y),
// extruded to y = -depth .. +depth.
void AddPrism(Mesh& mesh, const std::vector<std::pair<double, double>>& outline, double depth) {
    const int n = static_cast<int>(outline.size());
    int nFront = static_cast<int>(mesh.positions.size());
    for (const auto& p : outline) Add(mesh, p.first, -depth, p.second);
    for (const auto& p : outline) Add(mesh, p.first, depth, p.second);
    for (int i = 1; i + 1 < n; ++i) {
        Tri(mesh, nFront, nFront + i, nFront + i + 1);
        Tri(mesh, nFront + n, nFront + n + i + 1, nFront + n + i);
    }
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        Quad(mesh, nFront + j, nFront + i, nFront + n + i, nFront + n + j);
    }
}

void AddArrow(Mesh& mesh) {
    AddPrism(mesh, {{-900, 1215}, {900, 1215}, {900, 1285}, {-900, 1285}}, 40);
    AddPrism(mesh, {{860, 1060}, {1180, 1250}, {860, 1440}}, 55);
    AddPrism(mesh, {{-1180, 1000}, {-780, 1200}, {-780, 1300}, {-1180, 1500}}, 35);
}

}  // namespace

Mesh BuildVaneBody() {
    Mesh mesh;
    AddLathe(mesh);
    AddArrow(mesh);
    return mesh;
}

Mesh BuildCounterweight() {
    Mesh mesh;
    AddPrism(mesh, {{520, 1160}, {700, 1160}, {700, 1340}, {520, 1340}}, 90);
    return mesh;
}

std::vector<Vec3> VertexNormals(const Mesh& mesh) {
    std::vector<Vec3> normals(mesh.positions.size(), Vec3{0, 0, 0});
    for (const auto& tri : mesh.triangles) {
        const Vec3& a = mesh.positions[tri[0]];
        const Vec3& b = mesh.positions[tri[1]];
        const Vec3& c = mesh.positions[tri[2]];
        Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
        Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        for (int corner : tri) {
            normals[corner].x += n.x;
            normals[corner].y += n.y;
            normals[corner].z += n.z;
        }
    }
    for (Vec3& n : normals) {
        double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (length > 0) n = {n.x / length, n.y / length, n.z / length};
    }
    return normals;
}
