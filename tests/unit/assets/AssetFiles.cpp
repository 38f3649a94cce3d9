#include "unit/assets/AssetFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ferro-assets-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strDir = buffer.data();
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(m_strDir, error);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const {
    std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

Bytes ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Md3Vertex Vertex(int x, int y, int z, int n0, int n1) {
    Md3Vertex v;
    v.xyz[0] = static_cast<std::int16_t>(x);
    v.xyz[1] = static_cast<std::int16_t>(y);
    v.xyz[2] = static_cast<std::int16_t>(z);
    v.normal[0] = static_cast<std::uint8_t>(n0);
    v.normal[1] = static_cast<std::uint8_t>(n1);
    return v;
}

namespace {

int Pick(int override, int natural) { return override == TestSurface::kKeep ? natural : override; }

Bytes BuildSurface(const TestSurface& s) {
    int nFrames = Pick(s.numFrames, s.frames);
    int nVerts = Pick(s.numVerts, s.frames > 0 ? static_cast<int>(s.vertices.size()) / s.frames : 0);
    int nTris = Pick(s.numTriangles, static_cast<int>(s.triangles.size()));
    int nShaders = Pick(s.numShaders, s.shaders);
    Md3SurfaceHeader h = {};
    std::memcpy(h.ident, s.ident, 4);
    std::snprintf(h.name, sizeof h.name, "surface");
    h.numFrames = nFrames;
    h.numShaders = nShaders;
    h.numVerts = nVerts;
    h.numTriangles = nTris;
    h.ofsShaders = 108;
    h.ofsTriangles = 108 + 68 * s.shaders;
    h.ofsTexCoords = h.ofsTriangles + 12 * static_cast<int>(s.triangles.size());
    h.ofsVerts = h.ofsTexCoords + 8 * static_cast<int>(s.vertices.size()) / (s.frames > 0 ? s.frames : 1);
    h.ofsEnd = h.ofsVerts + 8 * static_cast<int>(s.vertices.size());
    Bytes bytes;
    Append(bytes, h);
    for (int i = 0; i < s.shaders; ++i) Append(bytes, Md3Shader{"chrome", i});
    for (const Md3Triangle& t : s.triangles) Append(bytes, t);
    for (std::size_t i = 0; s.frames > 0 && i < s.vertices.size() / s.frames; ++i) Append(bytes, Md3TexCoord{{0.25f, 0.5f}});
    for (const Md3Vertex& v : s.vertices) Append(bytes, v);
    return bytes;
}

}  // namespace

Bytes BuildMd3(const TestModel& model) {
    Md3Header h = {};
    std::memcpy(h.ident, model.ident, 4);
    h.version = 15;
    h.numFrames = model.frames;
    h.numTags = model.tags;
    h.numSurfaces = Pick(model.numSurfaces, static_cast<int>(model.surfaces.size()));
    h.ofsFrames = 108;
    h.ofsTags = 108 + 56 * model.frames;
    h.ofsSurfaces = h.ofsTags + 112 * model.tags * model.frames;
    Bytes bytes;
    Append(bytes, h);
    for (int i = 0; i < model.frames; ++i) Append(bytes, Md3Frame{});
    for (int i = 0; i < model.tags * model.frames; ++i) Append(bytes, Md3Tag{});
    for (const TestSurface& s : model.surfaces) {
        Bytes surface = BuildSurface(s);
        bytes.insert(bytes.end(), surface.begin(), surface.end());
    }
    std::int32_t end = static_cast<std::int32_t>(bytes.size());
    std::memcpy(bytes.data() + 104, &end, 4);
    return bytes;
}

std::string ResPath(const char* name) { return std::string(FERRO_RES_DIR) + "/" + name; }
