// Writes meshes as a one-frame MD3 model in the sequential layout the loader
// reads, with every stored offset equal to where the block really starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "VaneMesh.h"

struct Md3SurfaceSource {
    std::string name;
    Mesh mesh;
};

std::vector<std::uint8_t> WriteMd3(const std::string& modelName, const std::vector<Md3SurfaceSource>& surfaces);
