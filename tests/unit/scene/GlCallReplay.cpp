#include "GlCallReplay.h"

#include <cmath>
#include <cstdio>

namespace scenetest {
namespace {

const double kPi = 3.14159265358979323846;

Matrix Identity() {
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}

Matrix Rotation(double dDegrees, double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    x /= len, y /= len, z /= len;
    const double c = std::cos(dDegrees * kPi / 180.0), s = std::sin(dDegrees * kPi / 180.0);
    Matrix m = Identity();
    m[0] = x * x * (1 - c) + c;     m[4] = x * y * (1 - c) - z * s; m[8] = x * z * (1 - c) + y * s;
    m[1] = y * x * (1 - c) + z * s; m[5] = y * y * (1 - c) + c;     m[9] = y * z * (1 - c) - x * s;
    m[2] = x * z * (1 - c) - y * s; m[6] = y * z * (1 - c) + x * s; m[10] = z * z * (1 - c) + c;
    return m;
}

}  // namespace

std::vector<Matrix> ModelViewAtDraws(const std::vector<std::string>& calls, int nSurfacesPerDraw) {
    std::vector<Matrix> draws;
    std::vector<Matrix> stack{Identity()};
    bool bModelView = true;
    int nSurface = 0;
    double a = 0, b = 0, c = 0, d = 0;
    for (const std::string& call : calls) {
        if (call == "glMatrixMode(0x1700)") bModelView = true;
        else if (call.rfind("glMatrixMode(", 0) == 0) bModelView = false;
        if (!bModelView) continue;
        if (call == "glLoadIdentity()") {
            stack.back() = Identity();
        } else if (call == "glPushMatrix()") {
            if (nSurface++ % nSurfacesPerDraw == 0) draws.push_back(stack.back());
            stack.push_back(stack.back());
        } else if (call == "glPopMatrix()" && stack.size() > 1) {
            stack.pop_back();
        } else if (std::sscanf(call.c_str(), "glTranslatef(%lf, %lf, %lf)", &a, &b, &c) == 3) {
            Matrix t = Identity();
            t[12] = a, t[13] = b, t[14] = c;
            stack.back() = Multiply(stack.back(), t);
        } else if (std::sscanf(call.c_str(), "glScalef(%lf, %lf, %lf)", &a, &b, &c) == 3) {
            Matrix s = Identity();
            s[0] = a, s[5] = b, s[10] = c;
            stack.back() = Multiply(stack.back(), s);
        } else if (std::sscanf(call.c_str(), "glRotatef(%lf, %lf, %lf, %lf)", &a, &b, &c, &d) == 4) {
            stack.back() = Multiply(stack.back(), Rotation(a, b, c, d));
        }
    }
    return draws;
}

std::array<double, 3> Transform(const Matrix& m, double x, double y, double z) {
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

double SpinDegrees(const Matrix& m) {
    // The upright model's x axis at spin a points along (-sin a, 0, -cos a).
    return std::atan2(-m[0], -m[2]) * 180.0 / kPi;
}

std::vector<std::string> CollapseSurfaces(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    int nDepth = 0;
    for (const std::string& call : calls) {
        if (call == "glPushMatrix()") {
            if (nDepth++ == 0) out.push_back("surface");
        } else if (call == "glPopMatrix()" && nDepth > 0) {
            --nDepth;
        } else if (nDepth == 0) {
            out.push_back(call);
        }
    }
    return out;
}

}  // namespace scenetest
