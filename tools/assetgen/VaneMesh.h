// The weather vane's geometry: triangle meshes in raw model units (z up),
// wound counter-clockwise seen from outside.
#pragma once

#include <array>
#include <vector>

struct Vec3 {
    double x, y, z;
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<std::array<int, 3>> triangles;
};

// Surface 1: the turned post with its base and finial, and the arrow.
Mesh BuildVaneBody();
// Surface 2: the cube counterweight on the arrow.
Mesh BuildCounterweight();

// Unit normal at each vertex: the area-weighted mean of its faces' normals.
std::vector<Vec3> VertexNormals(const Mesh& mesh);
