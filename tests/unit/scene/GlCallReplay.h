// Replays the model-view calls recorded by the fake GL into a matrix, so tests
// can say where a drawn model stands in the scene.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace scenetest {

using Matrix = std::array<double, 16>;  // column-major, as OpenGL keeps it

// The model-view matrix in force at each glPushMatrix that begins a model draw
// (the first surface of each Md3Model::Draw; nSurfacesPerDraw surfaces each).
std::vector<Matrix> ModelViewAtDraws(const std::vector<std::string>& calls, int nSurfacesPerDraw);

// Where the model's point (x, y, z) lands in the scene under matrix m.
std::array<double, 3> Transform(const Matrix& m, double x, double y, double z);

// The spin, in degrees, that the matrix gives the model about its up axis,
// read from where the model's x axis points in the scene.
double SpinDegrees(const Matrix& m);

// The calls with each glPushMatrix ... glPopMatrix block (one surface drawn)
// replaced by the single entry "surface".
std::vector<std::string> CollapseSurfaces(const std::vector<std::string>& calls);

}  // namespace scenetest
