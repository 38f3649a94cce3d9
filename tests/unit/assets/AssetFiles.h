// Test files for the asset loaders: bytes built in memory, written to a
// private temporary directory that goes away with the fixture.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assets/Md3Format.h"

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Writes bytes to name inside the directory and returns the full path.
    std::string Write(const std::string& name, const Bytes& bytes) const;
    std::string Path(const std::string& name) const { return m_strDir + "/" + name; }

private:
    std::string m_strDir;
};

Bytes ReadWholeFile(const std::string& path);

template <typename T>
void Append(Bytes& bytes, const T& record) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    bytes.insert(bytes.end(), p, p + sizeof record);
}

// One surface of a test model; counts default to the records given.
struct TestSurface {
    std::vector<Md3Triangle> triangles;
    std::vector<Md3Vertex> vertices;  // frames × vertices per frame
    int frames = 1;
    int shaders = 1;
    const char* ident = "IDP3";
    // Overrides for the header's counts (kKeep leaves the natural value).
    static const int kKeep = -0x7fffffff;
    int numVerts = kKeep, numTriangles = kKeep, numFrames = kKeep, numShaders = kKeep;
};

struct TestModel {
    std::vector<TestSurface> surfaces;
    const char* ident = "IDP3";
    int frames = 1;
    int tags = 0;
    int numSurfaces = TestSurface::kKeep;
};

// The model in the sequential layout, with offsets as the layout gives them.
Bytes BuildMd3(const TestModel& model);

Md3Vertex Vertex(int x, int y, int z, int n0 = 0, int n1 = 0);

// The generated assets in the source tree's res/.
std::string ResPath(const char* name);
